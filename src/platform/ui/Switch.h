#pragma once

#include "platform/ui/Control.h"

// An on/off switch (94 by 27 points). A tap turns it and sends ValueChanged;
// setting it in code sends nothing.
class Switch : public Control {
    Q_OBJECT
public:
    explicit Switch(const QPointF& origin = QPointF());

    bool isOn() const { return m_on; }
    void setOn(bool on, bool animated = false);

    void touchesEnded(const QPointF& point) override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    bool m_on = false;
    qreal m_knob = 0;  // 0 off, 1 on: where the knob is drawn
};
