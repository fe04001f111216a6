#pragma once

#include "platform/ui/View.h"

// A backdrop fading from white at the top to light grey at the bottom.
class GradientView : public View {
    Q_OBJECT
public:
    explicit GradientView(const QRectF& frame = QRectF());

    QColor topColor() const { return m_top; }
    QColor bottomColor() const { return m_bottom; }
    void setup();
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    QColor m_top;
    QColor m_bottom;
};
