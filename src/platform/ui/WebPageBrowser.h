#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSet>
#include <QSizeF>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>


// The rich-text browser under a web view. It reads a page as a browser
// would where the toolkit's importer does not: content after the closing
// body tag stays in the body, and text after a closing div starts a line of
// its own. Its pictures come from the installed provider; each is shown at
// its own size, or narrowed to the width of its line, and drawn from a copy
// at twice that size. A picture that does not fit at the end of a line
// would make that line as high as itself, so each line holding a picture
// that was moved there from the line above is broken off explicitly; those
// breaks are the browser's own and are laid anew whenever the page, its
// width or one of its pictures changes. A page never reads a file from the
// disk: its pictures come from the provider alone.
class WebPageBrowser : public QTextBrowser {
public:
    explicit WebPageBrowser(QWidget* parent);

    void setPage(const QString& html, const QUrl& base);
    // The size of the laid-out page, its lines and its pictures, in the
    // page's coordinates.
    QSizeF contentSize() const;
    QList<QRectF> lineFrames() const;
    QList<QRectF> pictureFrames() const;
    QList<QRectF> boxFrames() const;

    // The page as the toolkit's importer should read it to show what a
    // browser shows.
    static QString readable(const QString& html);

    // The link just activated, as the page wrote it, when it is the one
    // that leads to the address (the address alone loses how its scheme was
    // written); else the address. Forgets the link.
    QString takeActivatedLink(const QUrl& address);

protected:
    // Where a block's layout stands in the page.
    QPointF originOf(const QTextBlock& block) const;
    QVariant loadResource(int type, const QUrl& name) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pictureArrived(const QUrl& url, const QImage& picture);
    // Fits the pictures and lays the browser's own line breaks again.
    void tidy();
    void removeOwnBreaks();
    void fitPictures();
    bool breakBeforeMovedPictures();

    QUrl m_base;
    QString m_activated;
    // Pictures by address: as they came, and what the page shows of them.
    QHash<QUrl, QImage> m_pictures;
    QHash<QString, qint64> m_shown;
    // Pictures asked for and not arrived, each with its address as the page
    // wrote it (the name the document keeps its resources by).
    QHash<QUrl, QUrl> m_waiting;
    bool m_tidying = false;
    bool m_tidyAgain = false;
    int m_tidiedWidth = -1;
};
