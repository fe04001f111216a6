#include "platform/ui/WebPageBrowser.h"

#include "platform/ui/WebView.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QScopedValueRollback>
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
#include <optional>
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


// A border as a style gives it ("1px solid black"): its width and colour.
struct Border {
    int width = 1;
    QString color;
};

// The border a list of declarations gives, if any.
std::optional<Border> borderOf(const QString& declarations)
{
    static const QRegularExpression property(QStringLiteral("(?:^|;)\\s*border(-style|-width)?\\s*:\\s*([^;]*)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QStringList styles{QStringLiteral("solid"),  QStringLiteral("dashed"), QStringLiteral("dotted"),
                                    QStringLiteral("double"), QStringLiteral("groove"), QStringLiteral("ridge"),
                                    QStringLiteral("inset"),  QStringLiteral("outset")};
    static const QRegularExpression length(QStringLiteral("^(\\d+(?:\\.\\d+)?)(px)?$"));
    std::optional<Border> found;
    QRegularExpressionMatchIterator it = property.globalMatch(declarations);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QStringList values = match.captured(2).trimmed().split(QRegularExpression(QStringLiteral("\\s+")),
                                                                    Qt::SkipEmptyParts);
        Border border = found.value_or(Border{});
        bool drawn = !values.isEmpty();
        for (const QString& value : values) {
            const QString lower = value.toLower();
            if (lower == u"none" || lower == u"hidden") {
                drawn = false;
            } else if (const QRegularExpressionMatch number = length.match(lower); number.hasMatch()) {
                border.width = qRound(number.captured(1).toDouble());
                drawn = drawn && border.width > 0;
            } else if (!styles.contains(lower) && match.captured(1).isEmpty()) {
                border.color = value;
            }
        }
        found = drawn ? std::optional<Border>(border) : std::nullopt;
    }
    return found;
}

// The classes the page's style sheets give a border (".name" or "div.name").
QHash<QString, Border> borderedClasses(const QString& html)
{
    static const QRegularExpression sheets(QStringLiteral("<style\\b[^>]*>(.*?)</style\\s*>"),
                                           QRegularExpression::CaseInsensitiveOption
                                               | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression rules(QStringLiteral("([^{}]+)\\{([^{}]*)\\}"));
    static const QRegularExpression classSelector(QStringLiteral("^(?:div)?\\.([A-Za-z0-9_-]+)$"),
                                                  QRegularExpression::CaseInsensitiveOption);
    QHash<QString, Border> classes;
    QRegularExpressionMatchIterator sheet = sheets.globalMatch(html);
    while (sheet.hasNext()) {
        QRegularExpressionMatchIterator rule = rules.globalMatch(sheet.next().captured(1));
        while (rule.hasNext()) {
            const QRegularExpressionMatch match = rule.next();
            const std::optional<Border> border = borderOf(match.captured(2));
            if (!border)
                continue;
            for (const QString& selector : match.captured(1).split(u',')) {
                const QRegularExpressionMatch name = classSelector.match(selector.trimmed());
                if (name.hasMatch())
                    classes.insert(name.captured(1), *border);
            }
        }
    }
    return classes;
}

// The value of an attribute in a tag's attribute text.
QString attributeOf(const QString& attributes, const QString& name)
{
    const QRegularExpression attribute(
        QStringLiteral("\\b%1\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))").arg(name),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = attribute.match(attributes);
    if (!match.hasMatch())
        return QString();
    for (int i = 1; i <= 3; ++i) {
        if (match.capturedStart(i) >= 0)
            return match.captured(i);
    }
    return QString();
}

// Divs with a border as boxes: the toolkit draws no border around a div and
// lays nested divs flat, but draws a table's, nested. So each such div
// becomes a table of one cell that keeps the div's attributes.
QString boxedDivs(const QString& html)
{
    const QHash<QString, Border> classes = borderedClasses(html);
    static const QRegularExpression divs(QStringLiteral("<(/?)div\\b([^>]*)>"), QRegularExpression::CaseInsensitiveOption);
    QString page;
    page.reserve(html.size());
    QList<bool> open;
    qsizetype done = 0;
    QRegularExpressionMatchIterator it = divs.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch tag = it.next();
        page += QStringView(html).mid(done, tag.capturedStart() - done);
        done = tag.capturedEnd();
        if (!tag.captured(1).isEmpty()) {
            const bool boxed = !open.isEmpty() && open.takeLast();
            page += boxed ? QStringLiteral("</td></tr></table>") : tag.captured();
            continue;
        }
        const QString attributes = tag.captured(2);
        std::optional<Border> border = borderOf(attributeOf(attributes, QStringLiteral("style")));
        for (const QString& name : attributeOf(attributes, QStringLiteral("class")).split(u' ', Qt::SkipEmptyParts)) {
            if (!border && classes.contains(name))
                border = classes.value(name);
        }
        open.append(border.has_value());
        if (!border) {
            page += tag.captured();
            continue;
        }
        QString style = QStringLiteral("border-collapse:collapse;border-style:solid");
        if (!border->color.isEmpty())
            style += QStringLiteral(";border-color:") + border->color.toHtmlEscaped();
        page += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"4\" border=\"%1\" style=\"%2\">"
                               "<tr><td%3>")
                    .arg(QString::number(border->width), style, attributes);
    }
    page += QStringView(html).mid(done);
    for (const bool boxed : open) {
        if (boxed)
            page += QStringLiteral("</td></tr></table>");
    }
    return page;
}
}  // namespace

WebPageBrowser::WebPageBrowser(QWidget* parent) : QTextBrowser(parent) {}

QString WebPageBrowser::readable(const QString& html)
{
    QString page = boxedDivs(html);
    // What follows the end of the body is still the body's, as in a browser.
    static const QRegularExpression ends(QStringLiteral("</\\s*(body|html)\\s*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    page.remove(ends);
    // Text after a block starts a line of its own; the importer would run
    // it on in the block's last line.
    static const QRegularExpression blockThenText(
        QStringLiteral("(</\\s*div\\s*>)(?=\\s*(?:[^<\\s]|<(?:a|abbr|b|big|cite|code|em|font|i|img|q|s|small|span|"
                       "strike|strong|sub|sup|tt|u)\\b))"),
        QRegularExpression::CaseInsensitiveOption);
    page.replace(blockThenText, QStringLiteral("\\1<div></div>"));
    return page;
}

void WebPageBrowser::setPage(const QString& html, const QUrl& base)
{
    m_base = base;
    m_shown.clear();
    document()->setBaseUrl(base);
    setHtml(readable(html));
    document()->setUndoRedoEnabled(false);
    tidy();
}

QVariant WebPageBrowser::loadResource(int type, const QUrl& name)
{
    // Given nothing, the toolkit would read the address from the disk
    // itself: it is given an empty resource instead.
    const QVariant nothing = QVariant(QByteArray());
    if (type != QTextDocument::ImageResource)
        return nothing;
    const QUrl url = m_base.resolved(name);
    if (const auto held = m_pictures.constFind(url); held != m_pictures.constEnd())
        return *held;
    WebImageProvider* provider = WebView::imageProvider();
    if (!provider || url.isLocalFile() || m_waiting.contains(url))
        return nothing;
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
    if (picture.isNull()) {
        m_waiting.insert(url, name);
        return nothing;
    }
    m_pictures.insert(url, picture);
    return picture;
}

void WebPageBrowser::pictureArrived(const QUrl& url, const QImage& picture)
{
    const QUrl name = m_waiting.take(url);
    if (picture.isNull())
        return;
    m_pictures.insert(url, picture);
    // The document keeps the empty resource it was given while the picture
    // was on its way, and would draw a placeholder for good: the picture
    // takes its place under the name the page wrote.
    if (!name.isEmpty())
        document()->addResource(QTextDocument::ImageResource, name, picture);
    tidy();
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
    int rounds = 0;
    do {
        m_tidyAgain = false;
        removeOwnBreaks();
        fitPictures();
        for (int round = 0; round < kBreakRounds && breakBeforeMovedPictures(); ++round) {
        }
    } while (m_tidyAgain && ++rounds < kBreakRounds);
    m_tidiedWidth = width();
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
            const QUrl name = pictureName(format);
            const QImage picture = m_pictures.value(m_base.resolved(name));
            const QSizeF size = shownSize(format.property(kPageSize).toSizeF(), picture, room);
            if (!size.isEmpty() && !picture.isNull()) {
                // The copy drawn: the picture itself, or one at twice the shown size.
                const QSize drawn = (size * kPixelsPerPoint).toSize();
                const QImage copy = picture.width() > drawn.width()
                                        ? picture.scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                        : picture;
                const QString key = name.toString();
                const qint64 source = picture.cacheKey() ^ (qint64(drawn.width()) << 40) ^ drawn.height();
                if (m_shown.value(key, 0) != source) {
                    page->addResource(QTextDocument::ImageResource, name, copy);
                    m_shown.insert(key, source);
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
