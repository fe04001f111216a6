#include "forum/cells/PostTextView.h"

#include "platform/ui/Font.h"

#include <QHash>
#include <QPainter>

namespace {
// Only counts; read by the benchmark and the scrolling check.
qint64& layouts()
{
    static qint64 count = 0;
    return count;
}

// Post text views and holders alive on this thread.
int& holders()
{
    thread_local int count = 0;
    return count;
}
}  // namespace

PostTextView::PostTextView(const QRectF& frame) : View(frame), m_font(Font::fontWithName(QStringLiteral("Helvetica"), 13))
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    setUserInteractionEnabled(false);
    ++holders();
}

void PostTextView::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_layout.reset();
    update();
}

void PostTextView::setFont(const QFont& font)
{
    m_font = font;
    m_layout.reset();
    update();
}

void PostTextView::setTextColor(const QColor& color)
{
    m_textColor = color;
    update();
}

qint64 PostTextView::layoutCount()
{
    return layouts();
}

namespace {
// The lay-outs of the texts measured and shown lately, whichever view showed
// them: a row's views draw what measured its height, and a row that scrolls
// back into view gets new views of the same texts. Bounded by the characters
// laid out, so that a page of long posts (a first post of 20,000 characters
// is some 80 texts) keeps all of its texts.
constexpr qsizetype kKeptCharacters = 400000;
constexpr qsizetype kKeptLayouts = 1024;

struct Kept {
    QHash<QString, TextLayout> layouts;
    QList<QString> order;
    qsizetype characters = 0;
};

Kept& kept()
{
    thread_local Kept lately;
    return lately;
}
}  // namespace

PostTextView::~PostTextView()
{
    if (--holders() == 0)
        forgetKeptLayouts();
}

PostTextView::Holder::Holder()
{
    ++holders();
}

PostTextView::Holder::Holder(const Holder&)
{
    ++holders();
}

PostTextView::Holder::~Holder()
{
    if (--holders() == 0)
        forgetKeptLayouts();
}

void PostTextView::forgetKeptLayouts()
{
    kept() = Kept();
}

const TextLayout& PostTextView::layout() const
{
    const qreal width = frame().width();
    if (!m_layout || m_layoutWidth != width) {
        m_layout.emplace(keptLinesOf(m_text, m_font, width));
        m_layoutWidth = width;
    }
    return *m_layout;
}

TextLayout PostTextView::linesOf(const QString& text, const QFont& font, qreal width)
{
    // Wrapped without a limit, no line is ever cut: no ellipsis to look for.
    return TextLayout(text, font, width, 0, 0, LineBreakMode::WordWrap);
}

TextLayout PostTextView::keptLinesOf(const QString& text, const QFont& font, qreal width)
{
    Kept& kept = ::kept();
    const QString key = font.key() + QChar(0) + QString::number(width, 'g', 17) + QChar(0) + text;
    const auto found = kept.layouts.constFind(key);
    if (found != kept.layouts.constEnd())
        return *found;
    ++layouts();
    TextLayout made = linesOf(text, font, width);
    // Kept only while something holds them: none may outlive the screens.
    if (holders() == 0)
        return made;
    while (!kept.order.isEmpty()
           && (kept.characters + key.size() > kKeptCharacters || kept.order.size() >= kKeptLayouts)) {
        const QString oldest = kept.order.takeFirst();
        kept.characters -= oldest.size();
        kept.layouts.remove(oldest);
    }
    kept.layouts.insert(key, made);
    kept.order.append(key);
    kept.characters += key.size();
    return made;
}

qreal PostTextView::heightForText(const QString& text, const QFont& font, qreal width)
{
    return keptLinesOf(text, font, width).height();
}

QSizeF PostTextView::sizeThatFits(const QSizeF& size) const
{
    if (size.width() > 0 && size.width() != frame().width())
        return linesOf(m_text, m_font, size.width()).size();
    return layout().size();
}

void PostTextView::sizeToFitCurrentWidth()
{
    const QRectF f = frame();
    setFrame(QRectF(f.x(), f.y(), f.width(), layout().height()));
}

void PostTextView::drawRect(QPainter& painter, const QRectF& rect)
{
    if (m_text.isEmpty())
        return;
    painter.setPen(m_textColor);
    layout().draw(painter, QRectF(QPointF(0, 0), frame().size()), TextAlignment::Left, exposedRect());
}
