#include "platform/ui/Switch.h"

#include "platform/ui/Animator.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextLayout.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>

Switch::Switch(const QPointF& origin) : Control(QRectF(origin, QSizeF(94, 27))) {}

void Switch::setOn(bool on, bool animated)
{
    m_on = on;
    QPointer<Switch> self(this);
    Animator::BlockOptions options;
    options.durationMs = animated ? 200 : 0;
    Animator::shared().add(this, 50, {m_knob}, {on ? 1.0 : 0.0}, [self](const Animator::Values& v) {
        if (self) {
            self->m_knob = v[0];
            self->update();
        }
    }, animated ? &options : nullptr);
}

void Switch::touchesEnded(const QPointF& point)
{
    const bool inside = bounds().adjusted(-30, -30, 30, 30).contains(point);
    Control::touchesEnded(point);
    if (!inside || !isEnabled())
        return;
    setOn(!m_on, true);
    sendActionsForControlEvents(ControlEvent::ValueChanged);
}

void Switch::drawRect(QPainter& painter, const QRectF& rect)
{
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(r, 5, 5);
    const qreal knobWidth = 40;
    const qreal knobX = r.left() + (r.width() - knobWidth) * m_knob;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(shape);
    // The blue "ON" half left of the knob, the grey "OFF" half right of it.
    QLinearGradient on(r.topLeft(), r.bottomLeft());
    on.setColorAt(0, QColor(0, 92, 210));
    on.setColorAt(1, QColor(64, 148, 245));
    painter.fillRect(QRectF(r.left(), r.top(), knobX - r.left() + 4, r.height()), on);
    QLinearGradient off(r.topLeft(), r.bottomLeft());
    off.setColorAt(0, QColor(205, 205, 205));
    off.setColorAt(1, QColor(250, 250, 250));
    painter.fillRect(QRectF(knobX + knobWidth - 4, r.top(), r.right() - knobX - knobWidth + 4, r.height()), off);
    const QFont font = Font::boldSystemFontOfSize(16);
    const TextLayout onText(QStringLiteral("ON"), font, 60, 1);
    const TextLayout offText(QStringLiteral("OFF"), font, 60, 1);
    const qreal ty = r.center().y() - onText.lineHeight() / 2;
    painter.setPen(Qt::white);
    onText.draw(painter, QRectF(knobX - 54 + 4, ty, 54 - 4, onText.lineHeight()), TextAlignment::Center);
    painter.setPen(QColor(120, 120, 120));
    offText.draw(painter, QRectF(knobX + knobWidth, ty, 54, offText.lineHeight()), TextAlignment::Center);
    QLinearGradient knob(r.topLeft(), r.bottomLeft());
    knob.setColorAt(0, QColor(250, 250, 250));
    knob.setColorAt(1, QColor(214, 214, 214));
    QPainterPath knobPath;
    knobPath.addRoundedRect(QRectF(knobX, r.top(), knobWidth, r.height()), 5, 5);
    painter.fillPath(knobPath, knob);
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    painter.drawPath(knobPath);
    painter.restore();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(140, 140, 140), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
}
