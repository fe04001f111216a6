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

// Post text views alive on this thread.
int& liveViews()
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
    ++liveViews();
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
// The lay-outs of the last texts shown, whichever view showed them: a row
// that scrolls back into view gets new views of the same texts.
struct Kept {
    QHash<QString, TextLayout> layouts;
    QList<QString> order;
};

Kept& kept()
{
    thread_local Kept lately;
    return lately;
}
}  // namespace

PostTextView::~PostTextView()
{
    if (--liveViews() == 0)
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
        Kept& kept = ::kept();
        const QString key = m_font.key() + QChar(0) + QString::number(width, 'g', 17) + QChar(0) + m_text;
        const auto found = kept.layouts.constFind(key);
        if (found != kept.layouts.constEnd()) {
            m_layout.emplace(*found);
        } else {
            ++layouts();
            m_layout.emplace(linesOf(m_text, m_font, width));
            if (kept.order.size() >= 64)
                kept.layouts.remove(kept.order.takeFirst());
            kept.layouts.insert(key, *m_layout);
            kept.order.append(key);
        }
        m_layoutWidth = width;
    }
    return *m_layout;
}

TextLayout PostTextView::linesOf(const QString& text, const QFont& font, qreal width)
{
    return TextLayout(text, font, width, 0, 0, LineBreakMode::TailTruncation);
}

qreal PostTextView::heightForText(const QString& text, const QFont& font, qreal width)
{
    return linesOf(text, font, width).height();
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
