#pragma once

#include <QRectF>

// Insets of a rectangle's four edges, in points.
struct EdgeInsets {
    qreal top = 0;
    qreal left = 0;
    qreal bottom = 0;
    qreal right = 0;

    bool operator==(const EdgeInsets&) const = default;
    QRectF insetRect(const QRectF& r) const
    {
        return QRectF(r.x() + left, r.y() + top, r.width() - left - right, r.height() - top - bottom);
    }
};
