#include "app/widgets/RoundedRectView.h"

#include "platform/ui/Drawing.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>


RoundedRectView::RoundedRectView(const QRectF& frame) : View(frame)
{
    View::setOpaque(false);
}

void RoundedRectView::setStrokeColor(const QColor& color)
{
    m_strokeColor = color;
    redraw();
}

void RoundedRectView::setRectColor(const QColor& color)
{
    m_rectColor = color;
    redraw();
}

void RoundedRectView::setStrokeWidth(qreal width)
{
    m_strokeWidth = width;
    redraw();
}

void RoundedRectView::setCornerRadius(qreal radius)
{
    m_cornerRadius = radius;
    redraw();
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

void RoundedRectView::setBackdropColor(const QColor& color)
{
    if (color == m_backdropColor)
        return;
    m_backdropColor = color;
    redraw();
}

namespace {
// Pictures taller than this are not kept: a long quote shows a part at a time.
constexpr int kMostPictureRows = 2048;
}  // namespace

void RoundedRectView::redraw()
{
    m_picture = QImage();
    update();
}

void RoundedRectView::drawRect(QPainter& painter, const QRectF&)
{
    const QRectF b = bounds();
    // Drawn over a copy of the colour beneath, the picture holds exactly the
    // pixels the box draws there, as long as both land on whole pixels at
    // the same scale.
    const QTransform placed = painter.deviceTransform();
    const qreal scale = placed.m11();
    const QSize pixels(qRound(b.width() * scale), qRound(b.height() * scale));
    const bool onWholePixels = placed.type() <= QTransform::TxScale && scale > 0 && placed.m22() == scale
                               && placed.dx() == std::round(placed.dx())
                               && placed.dy() == std::round(placed.dy()) && b.topLeft() == QPointF(0, 0)
                               && QSizeF(pixels) == b.size() * scale;
    if (!m_backdropColor.isValid() || m_backdropColor.alpha() < 255 || !onWholePixels || pixels.isEmpty()
        || pixels.height() > kMostPictureRows) {
        drawBox(painter);
        return;
    }
    if (m_picture.size() != pixels || m_pictureScale != scale) {
        QImage picture(pixels, QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(scale);
        picture.fill(m_backdropColor);
        {
            QPainter into(&picture);
            drawBox(into);
        }
        // Put down pixel for pixel, unscaled.
        picture.setDevicePixelRatio(1);
        m_picture = picture;
        m_pictureScale = scale;
    }
    painter.save();
    painter.setTransform(QTransform::fromScale(1 / scale, 1 / scale), true);
    painter.drawImage(QPoint(0, 0), m_picture);
    painter.restore();
}

void RoundedRectView::drawBox(QPainter& painter) const
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
