#pragma once

#include <QColor>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class QPainter;

// The platform's vector drawing, over QPainter, for views that draw
// themselves: paths with arcs to a point, gradient fills clipped by a path
// (even-odd), strokes and soft shadows.
class Drawing {
public:
    // Adds the platform's "arc to point": a line towards `corner`, then an arc
    // of `radius` tangent to both lines, ending on the way to `next`.
    static void addArcToPoint(QPainterPath& path, const QPointF& corner, const QPointF& next, qreal radius);
    static QPainterPath roundedRectPath(const QRectF& rect, qreal radius);
    // Fills the path (even-odd) with a linear gradient from `start` to `end`,
    // colour n at location n; the gradient extends past both ends.
    static void fillLinearGradient(QPainter& painter, QPainterPath path, const QPointF& start, const QPointF& end,
                                   const QList<QColor>& colors, const QList<qreal>& locations);
    static void strokePath(QPainter& painter, const QPainterPath& path, const QColor& color, qreal width,
                           Qt::PenCapStyle cap = Qt::FlatCap);
    // A soft shadow of the path, moved by `offset`, spread over `blur` points.
    static void drawShadow(QPainter& painter, const QPainterPath& path, const QPointF& offset, qreal blur,
                           const QColor& color);
    // The mark of the view the keyboard's focus is on: a soft blue ring just
    // inside the rectangle, with a light line within it so that it shows on
    // dark bars as on white rows.
    static void drawFocusMark(QPainter& painter, const QRectF& rect);
};
