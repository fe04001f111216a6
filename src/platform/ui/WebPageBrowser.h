#pragma once

#include "platform/ui/WebPageMarkup.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSet>
#include <QSizeF>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextObjectInterface>
#include <QUrl>

#include <memory>
#include <utility>

// The rich-text browser under a web view. It is given the page as
// WebPageMarkup writes it (no scripts, nesting within bounds, read as a
// browser reads it), one part at a time: a long page shows a link to the
// next part at its end and one to the part before at its start.
//
// Its pictures come from the installed provider, and only web addresses are
// asked for; each is shown at its own size, or narrowed to the width of its
// line, and drawn from a copy at twice that size. A picture that has not
// come, or never will, is drawn as an empty box. The browser draws them
// itself: the toolkit would read from the disk any picture it is not given,
// by the name the page wrote, so no page ever reaches a file.
//
// Emoji are set in the colour emoji font, as tall as the letters around
// them, each sequence whole: the toolkit would choose a font for each of its
// characters, and a sequence whose joined parts have pictures of their own
// in other fonts would fall apart.
//
// A picture that does not fit at the end of a line would make that line as
// high as itself, so each line holding a picture that was moved there from
// the line above is broken off explicitly; those breaks are the browser's
// own and are laid anew whenever the page, its width or one of its pictures
// changes.
class WebPageBrowser : public QTextBrowser, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    // The box shown for a picture of no known size while it has not come.
    static constexpr QSizeF kPlaceholderSize = QSizeF(16, 16);

    explicit WebPageBrowser(QWidget* parent);
    ~WebPageBrowser() override;

    void setPage(const QString& html, const QUrl& base);
    // The part of the page shown (from 0), and whether the page ends there.
    int shownPart() const { return m_part; }
    bool lastPartShown() const;
    void showPart(int part);
    // Shows the part a link to one leads to; false for any other link.
    bool followPartLink(const QString& link);
    // The size of the laid-out page, its lines and its pictures, in the
    // page's coordinates.
    QSizeF contentSize() const;
    QList<QRectF> lineFrames() const;
    QList<QRectF> pictureFrames() const;
    QList<QRectF> boxFrames() const;

    // The link just activated, as the page wrote it, when it is the one
    // that leads to the address (the address alone loses how its scheme was
    // written); else the address. Forgets the link.
    QString takeActivatedLink(const QUrl& address);

    // The keyboard on the page's links: the toolkit marks the link it is on
    // (as the selection, which Return follows). Marks the first link, or
    // the last one, as Tab or Shift+Tab into the page does; false where the
    // page has none.
    bool markLinkFromEdge(bool forward);
    bool hasLinks() const;

protected:
    // Tab and Shift+Tab go from link to link; past the last one, or before
    // the first, the keys go on round the screen from the page.
    bool focusNextPrevChild(bool next) override;
    // The link the keys are on wears the platform's focus mark.
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Where a block's layout stands in the page.
    QPointF originOf(const QTextBlock& block) const;
    QVariant loadResource(int type, const QUrl& name) override;
    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Where the page's links stand in its text, in order: each link's first
    // and last-but-one positions.
    QList<std::pair<int, int>> linkRanges() const;
    bool hasLinkBeyond(const QTextCursor& from, bool forward) const;
    // The marked link's lines, in the viewport's coordinates.
    QList<QRect> markedLinkLines() const;
    // The picture at the address the page wrote, when at hand; a web
    // address is asked of the provider once.
    QImage pictureFor(const QUrl& written);
    void pictureArrived(const QUrl& url, const QImage& picture);
    void fontEmoji();
    // Fits the pictures and lays the browser's own line breaks again.
    void tidy();
    void removeOwnBreaks();
    void fitPictures();
    bool breakBeforeMovedPictures();

    QUrl m_base;
    QString m_activated;
    // The page as it was given, and as it is shown.
    QString m_html;
    std::unique_ptr<WebPageMarkup> m_page;
    int m_part = 0;
    // Pictures by address: as they came, and the copies drawn (each with
    // the picture and size it was made from).
    QHash<QUrl, QImage> m_pictures;
    QHash<QUrl, std::pair<qint64, QImage>> m_copies;
    // Pictures asked for: those that have not come (possibly never).
    QSet<QUrl> m_asked;
    bool m_tidying = false;
    bool m_tidyAgain = false;
    int m_tidiedWidth = -1;
};
