#include "platform/ui/WebPageBrowser.h"

#include "platform/ui/Drawing.h"
#include "platform/ui/EmojiText.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/WebView.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextLayout>
#include <QTextList>
#include <QTextObjectInterface>
#include <QTextTable>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

namespace {

// Marks on the document's formats: a line break the browser laid itself,
// and the size the page gave a picture (-1 for a side it did not give).
constexpr int kOwnBreak = QTextFormat::UserProperty + 0x4d55;
constexpr int kPageSize = QTextFormat::UserProperty + 0x4d56;
// Pictures are drawn from a copy with this many pixels per point: sharp on
// a zoomed screen, and never shrunk by the painter by more than that.
constexpr qreal kPixelsPerPoint = 2.0;
// Breaks are laid until the lines stand still; one round is the rule.
constexpr int kBreakRounds = 8;
// The links between the parts of a page: this and the part's number.
const QString kPartLinkPrefix = QStringLiteral("web-page-part-");

struct Span {
    int position;
    int length;
    QTextCharFormat format;
};

QList<Span> spansWhere(const QTextDocument* document, const std::function<bool(const QTextCharFormat&)>& wanted)
{
    QList<Span> spans;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && wanted(fragment.charFormat()))
                spans.append({fragment.position(), fragment.length(), fragment.charFormat()});
        }
    }
    return spans;
}

// The address a picture's name stands for, read as the toolkit reads it.
QUrl pictureName(const QTextImageFormat& format)
{
    return QUrl::fromEncoded(format.name().toUtf8());
}

void layOut(QTextDocument* document)
{
    (void)document->documentLayout()->documentSize();
}

// The picture's own size, or the page's where it gave one (a single side
// keeps the picture's proportions), never wider than the room.
QSizeF shownSize(const QSizeF& given, const QImage& picture, qreal room)
{
    const QSizeF natural = picture.isNull() ? QSizeF() : QSizeF(picture.size()) / picture.devicePixelRatio();
    qreal width = given.width();
    qreal height = given.height();
    if (width <= 0 || height <= 0) {
        if (natural.isEmpty())
            return QSizeF();
        if (width <= 0 && height <= 0) {
            width = natural.width();
            height = natural.height();
        } else if (width <= 0) {
            width = height * natural.width() / natural.height();
        } else {
            height = width * natural.height() / natural.width();
        }
    }
    if (room >= 1 && width > room) {
        height = height * room / width;
        width = room;
    }
    return QSizeF(qMax<qreal>(1, std::floor(width)), qMax<qreal>(1, qRound(height)));
}

// The width a block's lines have; a line holding something wider than that
// is as wide as what it holds, so the lines themselves cannot tell.
qreal roomFor(const QTextBlock& block)
{
    const QTextDocument* page = block.document();
    const QTextBlockFormat format = block.blockFormat();
    qreal indent = format.indent() * page->indentWidth();
    if (const QTextList* list = block.textList())
        indent += list->format().indent() * page->indentWidth();
    return page->textWidth() - 2 * page->documentMargin() - format.leftMargin() - format.rightMargin() - indent;
}

}  // namespace

WebPageBrowser::WebPageBrowser(QWidget* parent) : QTextBrowser(parent)
{
    // Pictures are drawn here, never by the toolkit's own handler.
    document()->documentLayout()->registerHandler(QTextFormat::ImageObject, this);
    // Nothing is ever looked for on the disk, whatever a page names.
    setSearchPaths({});
}

WebPageBrowser::~WebPageBrowser()
{
    document()->documentLayout()->unregisterHandler(QTextFormat::ImageObject, this);
}

void WebPageBrowser::setPage(const QString& html, const QUrl& base)
{
    // The same page again (its screen shows it anew as its pictures come)
    // stays where the reader is.
    if (m_page && html == m_html && base == m_base)
        return;
    m_base = base;
    m_html = html;
    m_page = std::make_unique<WebPageMarkup>(html);
    showPart(0);
}

bool WebPageBrowser::lastPartShown() const
{
    return !m_page || !m_page->hasPart(m_part + 1);
}

void WebPageBrowser::showPart(int part)
{
    if (!m_page || !m_page->hasPart(part))
        return;
    m_part = part;
    m_copies.clear();
    const auto link = [](const QString& title, int to) {
        return QStringLiteral("<p align=\"center\"><a href=\"#%1%2\">%3</a></p>")
            .arg(kPartLinkPrefix, QString::number(to + 1), title.arg(QString::number(to + 1)).toHtmlEscaped());
    };
    const QString before = m_part > 0 ? link(QStringLiteral("\u2039 Part %1"), m_part - 1) : QString();
    const QString after =
        m_page->hasPart(m_part + 1) ? link(QStringLiteral("Continued in part %1 \u203a"), m_part + 1) : QString();
    document()->setBaseUrl(m_base);
    setHtml(m_page->document(m_part, before, after));
    document()->setUndoRedoEnabled(false);
    fontEmoji();
    tidy();
    verticalScrollBar()->setValue(0);
}

bool WebPageBrowser::followPartLink(const QString& link)
{
    const QString prefix = QLatin1Char('#') + kPartLinkPrefix;
    if (!m_page || !link.startsWith(prefix))
        return false;
    bool number = false;
    const int part = link.mid(prefix.size()).toInt(&number) - 1;
    if (!number || !m_page->hasPart(part))
        return false;
    const int from = m_part;
    showPart(part);
    // Going back, the reader goes on from the end of the part before.
    if (part < from)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    return true;
}

QVariant WebPageBrowser::loadResource(int type, const QUrl& name)
{
    // The toolkit reads from the disk, by its name, whatever it is not
    // given here, or is given as bytes that are no picture: a picture is
    // always answered with one (pictures drawn on the page are drawn from
    // the provider's, by drawObject; this serves backgrounds). Style sheets
    // the page links to are not fetched.
    if (type != QTextDocument::ImageResource)
        return QString();
    const QImage held = m_pictures.value(m_base.resolved(name));
    if (!held.isNull())
        return held;
    QImage nothing(1, 1, QImage::Format_ARGB32);
    nothing.fill(Qt::transparent);
    return nothing;
}

QImage WebPageBrowser::pictureFor(const QUrl& written)
{
    const QUrl url = m_base.resolved(written);
    if (const auto held = m_pictures.constFind(url); held != m_pictures.constEnd())
        return *held;
    WebImageProvider* provider = WebView::imageProvider();
    const QString scheme = url.scheme().toLower();
    if (!provider || (scheme != u"http" && scheme != u"https") || url.host().isEmpty() || m_asked.contains(url))
        return QImage();
    m_asked.insert(url);
    // The page is being laid out: a picture the provider hands over inside
    // the call is the picture at hand, not an arrival.
    auto asking = std::make_shared<bool>(true);
    auto answered = std::make_shared<QImage>();
    QPointer<WebPageBrowser> self(this);
    QImage picture = provider->imageForUrl(url, [self, url, asking, answered](const QImage& arrived) {
        if (*asking)
            *answered = arrived;
        else if (self)
            self->pictureArrived(url, arrived);
    });
    *asking = false;
    if (picture.isNull())
        picture = *answered;
    if (!picture.isNull())
        m_pictures.insert(url, picture);
    return picture;
}

void WebPageBrowser::fontEmoji()
{
    QTextDocument* page = document();
    QList<Span> changes;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (!EmojiText::contains(text))
            continue;
        QList<EmojiText::Run> emoji = EmojiText::runs(text);
        emoji.removeIf([](const EmojiText::Run& run) { return !run.emoji; });
        // The runs and the fragments both in the order of the text: each
        // piece of a run in the emoji font for the size of its own letters.
        qsizetype next = 0;
        for (auto it = block.begin(); !it.atEnd() && next < emoji.size(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const int fragmentStart = fragment.position() - block.position();
            const int fragmentEnd = fragmentStart + fragment.length();
            for (qsizetype k = next; k < emoji.size() && emoji.at(k).start < fragmentEnd; ++k) {
                const int from = qMax(fragmentStart, int(emoji.at(k).start));
                const int to = qMin(fragmentEnd, int(emoji.at(k).start + emoji.at(k).length));
                if (to <= fragmentStart)
                    next = k + 1;
                if (from >= to || fragment.charFormat().isImageFormat())
                    continue;
                const QFont letters = fragment.charFormat().font();
                const QFont font = EmojiText::fontFor(letters);
                // Without a colour emoji font there is nothing to choose.
                if (font.family() == letters.family())
                    continue;
                QTextCharFormat format;
                format.setFontFamilies(QStringList{font.family()});
                format.setProperty(QTextFormat::FontPixelSize, font.pixelSize());
                changes.append({block.position() + from, to - from, format});
            }
        }
    }
    for (const Span& change : std::as_const(changes)) {
        QTextCursor cursor(page);
        cursor.setPosition(change.position);
        cursor.setPosition(change.position + change.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(change.format);
    }
}

void WebPageBrowser::pictureArrived(const QUrl& url, const QImage& picture)
{
    if (picture.isNull())
        return;
    m_pictures.insert(url, picture);
    tidy();
}

QSizeF WebPageBrowser::intrinsicSize(QTextDocument*, int, const QTextFormat& format)
{
    const QTextImageFormat image = format.toImageFormat();
    const bool hasWidth = image.hasProperty(QTextFormat::ImageWidth);
    const bool hasHeight = image.hasProperty(QTextFormat::ImageHeight);
    if (hasWidth && hasHeight)
        return QSizeF(image.width(), image.height());
    const QImage picture = pictureFor(pictureName(image));
    const QSizeF natural = picture.isNull() ? kPlaceholderSize : picture.deviceIndependentSize();
    if (hasWidth && natural.width() > 0)
        return QSizeF(image.width(), qRound(image.width() * natural.height() / natural.width()));
    if (hasHeight && natural.height() > 0)
        return QSizeF(qRound(image.height() * natural.width() / natural.height()), image.height());
    return natural;
}

void WebPageBrowser::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                                const QTextFormat& format)
{
    const QUrl written = pictureName(format.toImageFormat());
    const QUrl url = m_base.resolved(written);
    QImage picture = m_copies.value(url).second;
    if (picture.isNull())
        picture = pictureFor(written);
    painter->save();
    if (!picture.isNull()) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(rect, picture);
    } else {
        painter->setPen(QColor(0xcc, 0xcc, 0xcc));
        painter->setBrush(QColor(0xf4, 0xf4, 0xf4));
        painter->drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter->restore();
}

QString WebPageBrowser::takeActivatedLink(const QUrl& address)
{
    const QString link = std::exchange(m_activated, QString());
    if (!link.isEmpty() && m_base.resolved(QUrl(link)) == m_base.resolved(address))
        return link;
    return address.toString(QUrl::FullyEncoded);
}

void WebPageBrowser::mouseReleaseEvent(QMouseEvent* event)
{
    // The toolkit follows the link from inside this call.
    m_activated = anchorAt(event->position().toPoint());
    QTextBrowser::mouseReleaseEvent(event);
}

void WebPageBrowser::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The link the keyboard is on is the selection.
        const QTextCursor focus = textCursor();
        QTextCursor first(document());
        first.setPosition(qMin(focus.selectionStart() + 1, document()->characterCount() - 1));
        m_activated = focus.hasSelection() ? first.charFormat().anchorHref() : QString();
    }
    QTextBrowser::keyPressEvent(event);
}

QList<std::pair<int, int>> WebPageBrowser::linkRanges() const
{
    QList<std::pair<int, int>> links;
    QString last;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString href = fragment.isValid() ? fragment.charFormat().anchorHref() : QString();
            if (href.isEmpty()) {
                last.clear();
                continue;
            }
            const int end = fragment.position() + fragment.length();
            // A link written in several styles is one link.
            if (href == last && !links.isEmpty() && links.last().second == fragment.position())
                links.last().second = end;
            else
                links.append({fragment.position(), end});
            last = href;
        }
        last.clear();
    }
    return links;
}

bool WebPageBrowser::hasLinks() const
{
    return !linkRanges().isEmpty();
}

bool WebPageBrowser::hasLinkBeyond(const QTextCursor& from, bool forward) const
{
    const QList<std::pair<int, int>> links = linkRanges();
    // With no link marked the toolkit starts again from the page's edge.
    if (!from.hasSelection())
        return !links.isEmpty();
    return std::any_of(links.begin(), links.end(), [&](const std::pair<int, int>& link) {
        return forward ? link.first >= from.selectionEnd() : link.second <= from.selectionStart();
    });
}

bool WebPageBrowser::markLinkFromEdge(bool forward)
{
    QTextCursor edge(document());
    edge.movePosition(forward ? QTextCursor::Start : QTextCursor::End);
    if (!hasLinkBeyond(edge, forward))
        return false;
    setTextCursor(edge);
    viewport()->update();
    return QTextBrowser::focusNextPrevChild(forward);
}

bool WebPageBrowser::focusNextPrevChild(bool next)
{
    // The toolkit would go on along its own chain of widgets, which knows
    // nothing of the screen's reading order.
    if (hasLinkBeyond(textCursor(), next)) {
        viewport()->update();
        return QTextBrowser::focusNextPrevChild(next);
    }
    auto* page = qobject_cast<View*>(parentWidget());
    return page && Keyboard::moveFocus(page, next);
}

QList<QRect> WebPageBrowser::markedLinkLines() const
{
    const QTextCursor marked = textCursor();
    QList<QRect> lines;
    if (!marked.hasSelection())
        return lines;
    QTextCursor at(document());
    at.setPosition(marked.selectionStart() + 1);
    if (at.charFormat().anchorHref().isEmpty())
        return lines;
    at.setPosition(marked.selectionStart());
    QRect line = cursorRect(at);
    for (int position = marked.selectionStart() + 1; position <= marked.selectionEnd(); ++position) {
        at.setPosition(position);
        const QRect next = cursorRect(at);
        if (next.top() != line.top()) {
            lines.append(line);
            line = next;
        } else {
            line = line.united(next);
        }
    }
    lines.append(line);
    return lines;
}

void WebPageBrowser::paintEvent(QPaintEvent* event)
{
    QTextBrowser::paintEvent(event);
    if (!hasFocus())
        return;
    const QList<QRect> lines = markedLinkLines();
    if (lines.isEmpty())
        return;
    QPainter painter(viewport());
    for (const QRect& line : lines)
        Drawing::drawFocusMark(painter, QRectF(line).adjusted(-4, -2, 4, 2));
}

void WebPageBrowser::focusInEvent(QFocusEvent* event)
{
    QTextBrowser::focusInEvent(event);
    viewport()->update();
}

void WebPageBrowser::focusOutEvent(QFocusEvent* event)
{
    QTextBrowser::focusOutEvent(event);
    viewport()->update();
}

void WebPageBrowser::resizeEvent(QResizeEvent* event)
{
    QTextBrowser::resizeEvent(event);
    if (width() != m_tidiedWidth && !document()->isEmpty())
        tidy();
}

void WebPageBrowser::tidy()
{
    if (m_tidying) {
        m_tidyAgain = true;
        return;
    }
    QScopedValueRollback<bool> busy(m_tidying, true);
    m_tidiedWidth = width();
    // Without pictures there is nothing to fit and no line to break: the
    // page is laid out as the toolkit lays it, when it is drawn.
    const bool pictures = !spansWhere(document(), [](const QTextCharFormat& format) {
                               return format.isImageFormat();
                           }).isEmpty();
    if (!pictures) {
        viewport()->update();
        return;
    }
    int rounds = 0;
    do {
        m_tidyAgain = false;
        removeOwnBreaks();
        fitPictures();
        for (int round = 0; round < kBreakRounds && breakBeforeMovedPictures(); ++round) {
        }
    } while (m_tidyAgain && ++rounds < kBreakRounds);
    viewport()->update();
}

void WebPageBrowser::removeOwnBreaks()
{
    const QList<Span> breaks =
        spansWhere(document(), [](const QTextCharFormat& format) { return format.hasProperty(kOwnBreak); });
    for (auto it = breaks.crbegin(); it != breaks.crend(); ++it) {
        QTextCursor cursor(document());
        cursor.setPosition(it->position);
        cursor.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

void WebPageBrowser::fitPictures()
{
    QTextDocument* page = document();
    layOut(page);
    QList<Span> changes;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        const qreal room = roomFor(block);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const bool first = !format.hasProperty(kPageSize);
            if (first) {
                format.setProperty(kPageSize,
                                   QSizeF(format.hasProperty(QTextFormat::ImageWidth) ? format.width() : -1,
                                          format.hasProperty(QTextFormat::ImageHeight) ? format.height() : -1));
            }
            const QUrl url = m_base.resolved(pictureName(format));
            const QImage picture = m_pictures.value(url);
            const QSizeF size = shownSize(format.property(kPageSize).toSizeF(), picture, room);
            if (!size.isEmpty() && !picture.isNull()) {
                // The copy drawn: the picture itself, or one at twice the shown size.
                const QSize drawn = (size * kPixelsPerPoint).toSize();
                const qint64 source = picture.cacheKey() ^ (qint64(drawn.width()) << 40) ^ drawn.height();
                if (m_copies.value(url).first != source) {
                    const QImage copy = picture.width() > drawn.width()
                                            ? picture.scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                            : picture;
                    m_copies.insert(url, {source, copy});
                }
            }
            const bool resized = !size.isEmpty() && (format.width() != size.width() || format.height() != size.height());
            if (resized) {
                format.setWidth(size.width());
                format.setHeight(size.height());
            }
            if (first || resized)
                changes.append({fragment.position(), fragment.length(), format});
        }
    }
    for (const Span& change : changes) {
        QTextCursor cursor(page);
        cursor.setPosition(change.position);
        cursor.setPosition(change.position + change.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(change.format);
    }
    // Pictures that came keep their sizes: the lines around them still change.
    page->markContentsDirty(0, page->characterCount());
}

bool WebPageBrowser::breakBeforeMovedPictures()
{
    QTextDocument* page = document();
    layOut(page);
    QList<int> breaks;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!layout)
            continue;
        const QString text = block.text();
        for (int i = 1; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int start = line.textStart();
            if (start <= 0 || start > text.size() || text.at(start - 1) == QChar::LineSeparator)
                continue;
            // A picture on a line that the text wrapped to may have been
            // tried at the end of the line above, which then took its height.
            if (QStringView(text).mid(start, line.textLength()).contains(QChar::ObjectReplacementCharacter))
                breaks.append(block.position() + start);
        }
    }
    for (auto it = breaks.crbegin(); it != breaks.crend(); ++it) {
        QTextCursor cursor(page);
        cursor.setPosition(*it);
        QTextCharFormat format = cursor.charFormat();
        format.setObjectType(QTextFormat::NoObject);
        for (const int property : {int(QTextFormat::ImageName), int(QTextFormat::ImageWidth),
                                   int(QTextFormat::ImageHeight), int(QTextFormat::AnchorHref),
                                   int(QTextFormat::AnchorName), kPageSize})
            format.clearProperty(property);
        format.setAnchor(false);
        format.setProperty(kOwnBreak, true);
        cursor.insertText(QString(QChar::LineSeparator), format);
    }
    return !breaks.isEmpty();
}

QPointF WebPageBrowser::originOf(const QTextBlock& block) const
{
    // A block's lines stand where its layout says within its frame; a frame
    // (a box) stands somewhere in the page.
    const QTextLayout* layout = block.layout();
    return document()->documentLayout()->blockBoundingRect(block).topLeft() - layout->boundingRect().topLeft();
}

QSizeF WebPageBrowser::contentSize() const
{
    return document()->documentLayout()->documentSize();
}

QList<QRectF> WebPageBrowser::lineFrames() const
{
    (void)contentSize();
    QList<QRectF> frames;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!layout)
            continue;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            frames.append(QRectF(originOf(block) + QPointF(line.x(), line.y()),
                                 QSizeF(line.naturalTextWidth(), line.height())));
        }
    }
    return frames;
}

QList<QRectF> WebPageBrowser::boxFrames() const
{
    (void)contentSize();
    QList<QRectF> frames;
    const std::function<void(QTextFrame*)> walk = [&](QTextFrame* frame) {
        for (QTextFrame* child : frame->childFrames()) {
            if (auto* table = qobject_cast<QTextTable*>(child); table && table->format().border() > 0) {
                // The layout places a table where its first cell's content
                // starts: inside its border, the cell's and the padding.
                const QTextTableFormat format = table->format();
                const qreal inset = 2 * format.border() + format.cellSpacing() + format.cellPadding();
                const QRectF placed = document()->documentLayout()->frameBoundingRect(table);
                frames.append(QRectF(placed.topLeft() - QPointF(inset, inset), placed.size()));
            }
            walk(child);
        }
    };
    walk(document()->rootFrame());
    return frames;
}

QList<QRectF> WebPageBrowser::pictureFrames() const
{
    (void)contentSize();
    QTextDocument* page = document();
    QTextObjectInterface* handler = page->documentLayout()->handlerForObject(QTextFormat::ImageObject);
    QList<QRectF> frames;
    const QList<Span> pictures =
        spansWhere(page, [](const QTextCharFormat& format) { return format.isImageFormat(); });
    for (const Span& picture : pictures) {
        const QTextBlock block = page->findBlock(picture.position);
        const QTextLayout* layout = block.layout();
        if (!layout || !handler)
            continue;
        for (int at = picture.position; at < picture.position + picture.length; ++at) {
            const int inBlock = at - block.position();
            const QTextLine line = layout->lineForTextPosition(inBlock);
            if (!line.isValid())
                continue;
            const QSizeF size = handler->intrinsicSize(page, at, picture.format);
            const qreal baseline = line.y() + line.ascent();
            qreal top = baseline - size.height();
            switch (picture.format.verticalAlignment()) {
            case QTextCharFormat::AlignTop:
                top = line.y();
                break;
            case QTextCharFormat::AlignBottom:
                top = line.y() + line.height() - size.height();
                break;
            case QTextCharFormat::AlignMiddle:
                top = baseline - (size.height() + QFontMetricsF(picture.format.font()).xHeight() / 2) / 2;
                break;
            default:
                break;
            }
            frames.append(QRectF(originOf(block) + QPointF(line.cursorToX(inBlock), top), size));
        }
    }
    return frames;
}
