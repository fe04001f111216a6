#pragma once

#include "platform/ui/BarButtonItem.h"

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The painting of bars and their buttons: glossy tinted backgrounds, bordered
// and back-arrow button faces, and the pictures of the system items.
class BarDrawing {
public:
    // The platform's default bar tint.
    static QColor defaultTint() { return QColor(109, 132, 162); }
    static void drawBarBackground(QPainter& painter, const QRectF& rect, const QColor& tint);
    // A bordered face (rounded, or a left-pointing arrow for a back button).
    static QPainterPath buttonPath(const QRectF& rect, bool backArrow);
    static void drawButtonFace(QPainter& painter, const QRectF& rect, const QColor& tint, bool backArrow,
                               bool pressed);
    // The white picture of a system item centred in `rect`; false when the
    // item has no picture (it shows its title).
    static bool drawSystemItem(QPainter& painter, BarButtonSystemItem item, const QRectF& rect, const QColor& color);
    // A slightly darker, more saturated tint for bordered buttons.
    static QColor buttonTint(const QColor& barTint, BarButtonItemStyle style);
};
