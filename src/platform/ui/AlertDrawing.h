#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The look shared by alerts and action sheets: the dimmed screen, the
// translucent blue box and the glossy buttons.
class AlertDrawing {
public:
    static void drawDimmedScreen(QPainter& painter, const QRectF& rect);
    static void drawAlertBox(QPainter& painter, const QRectF& rect);
    enum class ButtonKind { Normal, Cancel, Destructive, Sheet };
    static void drawButton(QPainter& painter, const QRectF& rect, ButtonKind kind, bool pressed);
};
