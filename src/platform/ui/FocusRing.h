#pragma once

#include "platform/ui/View.h"

// The keyboard's mark over a view whose own children would cover it (a list
// of rows): it lies on top, takes no touch, and draws the mark round itself.
class FocusRing : public View {
    Q_OBJECT
public:
    FocusRing();

    void drawRect(QPainter& painter, const QRectF& rect) override;
};
