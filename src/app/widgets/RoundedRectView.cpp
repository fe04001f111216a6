#include "app/widgets/RoundedRectView.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The platform's arc to a point for a right-angled corner: a line towards the
// corner, then a quarter circle of the radius that ends towards `next`.
void arcToPoint(QPainterPath& path, const QPointF& corner, const QPointF& next, qreal r)
{
    const QPointF from = path.currentPosition();
    auto unit = [](const QPointF& v) {
        const qreal len = std::hypot(v.x(), v.y());
        return len > 0 ? v / len : QPointF();
    };
    const QPointF in = unit(from - corner);
    const QPointF out = unit(next - corner);
    const QPointF start = corner + in * r;
    const QPointF end = corner + out * r;
    path.lineTo(start);
    // The quarter circle's control points for a cubic: 0.5523 of the radius.
    const qreal k = 0.5522847498;
    path.cubicTo(start - in * r * k, end - out * r * k, end);
}

}  // namespace

RoundedRectView::RoundedRectView(const QRectF& frame) : View(frame)
{
    View::setOpaque(false);
}

void RoundedRectView::setStrokeColor(const QColor& color)
{
    m_strokeColor = color;
    update();
}

void RoundedRectView::setRectColor(const QColor& color)
{
    m_rectColor = color;
    update();
}

void RoundedRectView::setStrokeWidth(qreal width)
{
    m_strokeWidth = width;
    update();
}

void RoundedRectView::setCornerRadius(qreal radius)
{
    m_cornerRadius = radius;
    update();
}

qreal RoundedRectView::effectiveRadius() const
{
    const QRectF b = bounds();
    qreal r = m_cornerRadius;
    if (r > b.width() / 2)
        r = b.width() / 2;
    if (r > b.height() / 2)
        r = b.height() / 2;
    return r;
}

void RoundedRectView::setOpaque(bool)
{
    View::setOpaque(false);
}

void RoundedRectView::setBackgroundColor(const QColor&) {}

void RoundedRectView::drawRect(QPainter& painter, const QRectF&)
{
    const QRectF b = bounds();
    const qreal r = effectiveRadius();
    QPainterPath path;
    path.moveTo(b.left(), b.center().y());
    arcToPoint(path, b.topLeft(), QPointF(b.center().x(), b.top()), r);
    arcToPoint(path, b.topRight(), QPointF(b.right(), b.center().y()), r);
    arcToPoint(path, b.bottomRight(), QPointF(b.center().x(), b.bottom()), r);
    arcToPoint(path, b.bottomLeft(), QPointF(b.left(), b.center().y()), r);
    path.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(m_rectColor);
    painter.setPen(m_strokeWidth > 0 ? QPen(m_strokeColor, m_strokeWidth) : QPen(Qt::NoPen));
    painter.drawPath(path);
}
