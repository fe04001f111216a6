#include "platform/ui/SegmentedControl.h"

#include "platform/ui/BarDrawing.h"
#include "platform/ui/Font.h"
#include "platform/ui/StringDrawing.h"
#include "platform/ui/TextLayout.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

SegmentedControl::SegmentedControl(const QStringList& items)
{
    for (const QString& title : items)
        m_segments.append(Segment{title, true, 0});
    setFrame(QRectF(QPointF(0, 0), sizeThatFits(QSizeF())));
}

void SegmentedControl::insertSegmentWithTitle(const QString& title, int segment, bool)
{
    segment = qBound(0, segment, numberOfSegments());
    m_segments.insert(segment, Segment{title, true, 0});
    if (m_selected >= segment)
        ++m_selected;
    update();
}

void SegmentedControl::removeSegmentAtIndex(int segment, bool)
{
    if (segment < 0 || segment >= numberOfSegments())
        return;
    m_segments.removeAt(segment);
    if (m_selected == segment)
        m_selected = NoSegment;
    else if (m_selected > segment)
        --m_selected;
    update();
}

void SegmentedControl::removeAllSegments()
{
    m_segments.clear();
    m_selected = NoSegment;
    update();
}

QString SegmentedControl::titleForSegmentAtIndex(int segment) const
{
    return segment >= 0 && segment < numberOfSegments() ? m_segments[segment].title : QString();
}

void SegmentedControl::setTitle(const QString& title, int segment)
{
    if (segment >= 0 && segment < numberOfSegments()) {
        m_segments[segment].title = title;
        update();
    }
}

void SegmentedControl::setEnabledForSegmentAtIndex(bool enabled, int segment)
{
    if (segment >= 0 && segment < numberOfSegments()) {
        m_segments[segment].enabled = enabled;
        update();
    }
}

bool SegmentedControl::isEnabledForSegmentAtIndex(int segment) const
{
    return segment >= 0 && segment < numberOfSegments() && m_segments[segment].enabled;
}

void SegmentedControl::setWidth(qreal width, int segment)
{
    if (segment >= 0 && segment < numberOfSegments()) {
        m_segments[segment].width = width;
        update();
    }
}

void SegmentedControl::setSelectedSegmentIndex(int index)
{
    m_selected = index >= 0 && index < numberOfSegments() ? index : NoSegment;
    update();
}

void SegmentedControl::setSegmentedControlStyle(SegmentedControlStyle style)
{
    m_style = style;
    update();
}

void SegmentedControl::setTintColor(const QColor& tint)
{
    m_tint = tint;
    update();
}

void SegmentedControl::tapSegment(int segment)
{
    if (!isEnabled() || !isEnabledForSegmentAtIndex(segment))
        return;
    m_selected = segment;
    update();
    sendActionsForControlEvents(ControlEvent::ValueChanged);
    if (m_momentary) {
        m_selected = NoSegment;
        update();
    }
}

bool SegmentedControl::acceptsKeyboardFocus() const
{
    if (!isEnabled() || !isKeyboardFocusable())
        return false;
    for (const Segment& s : m_segments) {
        if (s.enabled)
            return true;
    }
    return false;
}

int SegmentedControl::enabledSegmentFrom(int step) const
{
    // The selection as shown: a subclass may report it otherwise.
    const int count = numberOfSegments();
    int at = m_selected != NoSegment ? m_selected : step > 0 ? -1 : count;
    for (at += step; at >= 0 && at < count; at += step) {
        if (m_segments[at].enabled)
            return at;
    }
    return NoSegment;
}

void SegmentedControl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right) {
        Control::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!isEnabled())
        return;
    // At either end the selection stays.
    const int next = enabledSegmentFrom(event->key() == Qt::Key_Right ? 1 : -1);
    if (next != NoSegment)
        tapSegment(next);
}

void SegmentedControl::pressedByKeyboard()
{
    if (m_selected != NoSegment)
        tapSegment(m_selected);
    else if (const int first = enabledSegmentFrom(1); first != NoSegment)
        tapSegment(first);
}

QRectF SegmentedControl::rectForSegment(int segment) const
{
    const QRectF b = bounds();
    qreal fixed = 0;
    int flexible = 0;
    for (const Segment& s : m_segments) {
        fixed += s.width;
        flexible += s.width > 0 ? 0 : 1;
    }
    const qreal each = flexible > 0 ? qMax<qreal>(0, b.width() - fixed) / flexible : 0;
    qreal x = b.left();
    for (int i = 0; i < m_segments.size(); ++i) {
        const qreal w = m_segments[i].width > 0 ? m_segments[i].width : each;
        if (i == segment)
            return QRectF(x, b.top(), w, b.height());
        x += w;
    }
    return QRectF();
}

QSizeF SegmentedControl::sizeThatFits(const QSizeF&) const
{
    const QFont font = Font::boldSystemFontOfSize(m_style == SegmentedControlStyle::Bar ? 12 : 13);
    qreal widest = 0;
    for (const Segment& s : m_segments)
        widest = qMax(widest, StringDrawing::sizeWithFont(s.title, font).width());
    return QSizeF(qMax<qreal>(40, (widest + 22) * m_segments.size()), m_style == SegmentedControlStyle::Bar ? 30 : 44);
}

void SegmentedControl::touchesEnded(const QPointF& point)
{
    Control::touchesEnded(point);
    for (int i = 0; i < m_segments.size(); ++i) {
        if (rectForSegment(i).contains(point)) {
            tapSegment(i);
            return;
        }
    }
}

void SegmentedControl::drawRect(QPainter& painter, const QRectF& rect)
{
    const bool bar = m_style == SegmentedControlStyle::Bar || m_tint.isValid();
    const QColor tint = m_tint.isValid() ? m_tint : BarDrawing::defaultTint();
    const qreal radius = bar ? 5 : 8;
    const QRectF outer = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(outer, radius, radius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(shape);
    const QFont font = Font::boldSystemFontOfSize(bar ? 12 : 13);
    for (int i = 0; i < m_segments.size(); ++i) {
        const QRectF r = rectForSegment(i);
        const bool selected = i == m_selected;
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        if (bar) {
            const QColor base = selected ? tint.darker(150) : tint;
            g.setColorAt(0, base.lighter(150));
            g.setColorAt(0.5, base.lighter(110));
            g.setColorAt(0.5001, base);
            g.setColorAt(1, base.darker(105));
        } else if (selected) {
            g.setColorAt(0, QColor(134, 171, 232));
            g.setColorAt(0.5, QColor(71, 130, 222));
            g.setColorAt(0.5001, QColor(40, 108, 215));
            g.setColorAt(1, QColor(50, 120, 226));
        } else {
            g.setColorAt(0, QColor(255, 255, 255));
            g.setColorAt(1, QColor(222, 222, 222));
        }
        painter.fillRect(r, g);
        QColor text = bar || selected ? QColor(Qt::white) : QColor(75, 75, 75);
        if (!m_segments[i].enabled || !isEnabled())
            text.setAlpha(100);
        const TextLayout title(m_segments[i].title, font, r.width() - 6, 1, 0, LineBreakMode::TailTruncation);
        const QRectF tr(r.left() + 3, r.center().y() - title.lineHeight() / 2, r.width() - 6, title.lineHeight());
        if (bar || selected) {
            painter.setPen(QColor(0, 0, 0, 100));
            title.draw(painter, tr.translated(0, -1), TextAlignment::Center);
        }
        painter.setPen(text);
        title.draw(painter, tr, TextAlignment::Center);
        if (i > 0) {
            painter.setPen(QPen(bar ? tint.darker(170) : QColor(148, 148, 148), 1));
            painter.drawLine(QPointF(r.left() + 0.5, r.top()), QPointF(r.left() + 0.5, r.bottom()));
        }
    }
    painter.restore();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(bar ? tint.darker(180) : QColor(148, 148, 148), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
}
