#include "app/widgets/RoundedRectView.h"

#include "platform/ui/Drawing.h"

#include <QPainter>
#include <QPainterPath>


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
    Drawing::addArcToPoint(path, b.topLeft(), QPointF(b.center().x(), b.top()), r);
    Drawing::addArcToPoint(path, b.topRight(), QPointF(b.right(), b.center().y()), r);
    Drawing::addArcToPoint(path, b.bottomRight(), QPointF(b.center().x(), b.bottom()), r);
    Drawing::addArcToPoint(path, b.bottomLeft(), QPointF(b.left(), b.center().y()), r);
    path.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(m_rectColor);
    painter.setPen(m_strokeWidth > 0 ? QPen(m_strokeColor, m_strokeWidth) : QPen(Qt::NoPen));
    painter.drawPath(path);
}
