#include "platform/ui/Drawing.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>

void Drawing::addArcToPoint(QPainterPath& path, const QPointF& corner, const QPointF& next, qreal radius)
{
    const QPointF from = path.currentPosition();
    auto unit = [](const QPointF& v) {
        const qreal len = std::hypot(v.x(), v.y());
        return len > 0 ? v / len : QPointF();
    };
    const QPointF in = unit(from - corner);
    const QPointF out = unit(next - corner);
    const qreal cosTheta = in.x() * out.x() + in.y() * out.y();
    const qreal theta = std::acos(qBound<qreal>(-1, cosTheta, 1));
    if (radius <= 0 || theta < 1e-6 || std::abs(theta - M_PI) < 1e-6) {
        path.lineTo(corner);
        return;
    }
    // The tangent points lie r / tan(theta / 2) from the corner.
    const qreal d = radius / std::tan(theta / 2);
    const QPointF start = corner + in * d;
    const QPointF end = corner + out * d;
    path.lineTo(start);
    // A cubic close to the circular arc of the turning angle.
    const qreal turn = M_PI - theta;
    const qreal k = 4.0 / 3.0 * std::tan(turn / 4) * radius;
    path.cubicTo(start - in * k, end - out * k, end);
}

QPainterPath Drawing::roundedRectPath(const QRectF& rect, qreal radius)
{
    radius = qMin(radius, qMin(rect.width(), rect.height()) / 2);
    QPainterPath path;
    path.moveTo(rect.left(), rect.center().y());
    addArcToPoint(path, rect.topLeft(), QPointF(rect.center().x(), rect.top()), radius);
    addArcToPoint(path, rect.topRight(), QPointF(rect.right(), rect.center().y()), radius);
    addArcToPoint(path, rect.bottomRight(), QPointF(rect.center().x(), rect.bottom()), radius);
    addArcToPoint(path, rect.bottomLeft(), QPointF(rect.left(), rect.center().y()), radius);
    path.closeSubpath();
    return path;
}

void Drawing::fillLinearGradient(QPainter& painter, QPainterPath path, const QPointF& start, const QPointF& end,
                                 const QList<QColor>& colors, const QList<qreal>& locations)
{
    QLinearGradient gradient(start, end);
    const int n = int(qMin(colors.size(), locations.size()));
    for (int i = 0; i < n; ++i)
        gradient.setColorAt(qBound<qreal>(0, locations[i], 1), colors[i]);
    gradient.setSpread(QGradient::PadSpread);
    path.setFillRule(Qt::OddEvenFill);
    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    painter.fillRect(path.boundingRect().adjusted(-1, -1, 1, 1), gradient);
    painter.restore();
}

void Drawing::strokePath(QPainter& painter, const QPainterPath& path, const QColor& color, qreal width,
                         Qt::PenCapStyle cap)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color, width, Qt::SolidLine, cap));
    painter.drawPath(path);
    painter.restore();
}

void Drawing::drawShadow(QPainter& painter, const QPainterPath& path, const QPointF& offset, qreal blur,
                         const QColor& color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const int steps = qMax(1, int(std::ceil(blur)));
    QColor layer = color;
    layer.setAlphaF(color.alphaF() / steps);
    const QPainterPath moved = path.translated(offset);
    // Widening outlines, each faint: a blur without an offscreen pass.
    for (int i = steps; i >= 1; --i) {
        painter.setPen(QPen(layer, i * 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(moved);
    }
    painter.fillPath(moved, color);
    painter.restore();
}

void Drawing::drawFocusMark(QPainter& painter, const QRectF& rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const QRectF outer = rect.adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = qMin<qreal>(6, outer.height() / 2);
    painter.setPen(QPen(QColor(72, 150, 255, 235), 3));
    painter.drawPath(roundedRectPath(outer, radius));
    // The white inner line keeps the mark visible on the blue bars.
    painter.setPen(QPen(QColor(255, 255, 255, 235), 1.5));
    painter.drawPath(roundedRectPath(outer.adjusted(2, 2, -2, -2), qMax<qreal>(0, radius - 2)));
    painter.restore();
}
