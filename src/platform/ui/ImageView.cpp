#include "platform/ui/ImageView.h"

#include "platform/ui/ResourceImages.h"

#include <QPainter>

ImageView::ImageView(const QRectF& frame) : View(frame)
{
    setOpaque(false);
    setUserInteractionEnabled(false);
}

ImageView::ImageView(const QImage& image) : ImageView(QRectF(QPointF(0, 0), ResourceImages::pointSize(image)))
{
    m_image = image;
}

void ImageView::setImage(const QImage& image)
{
    m_image = image;
    update();
}

void ImageView::setImageNamed(const QString& name)
{
    setImage(ResourceImages::named(name));
}

void ImageView::setHighlightedImage(const QImage& image)
{
    m_highlightedImage = image;
    update();
}

void ImageView::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    update();
}

void ImageView::setAnimationImages(const QList<QImage>& images)
{
    m_animationImages = images;
    if (images.isEmpty())
        stopAnimating();
}

void ImageView::setAnimationDuration(double seconds)
{
    m_animationDuration = seconds;
}

void ImageView::startAnimating()
{
    if (m_animationImages.isEmpty())
        return;
    m_frame = 0;
    m_cycles = 0;
    const double perFrame = m_animationDuration > 0 ? m_animationDuration / m_animationImages.size() : 1.0 / 30;
    m_frameTimer = Clock::current().every(qMax<qint64>(1, qRound64(perFrame * 1000)), [this]() { nextFrame(); });
    update();
}

void ImageView::stopAnimating()
{
    m_frameTimer.cancel();
    update();
}

void ImageView::nextFrame()
{
    ++m_frame;
    if (m_frame >= m_animationImages.size()) {
        m_frame = 0;
        ++m_cycles;
        if (m_repeatCount > 0 && m_cycles >= m_repeatCount) {
            stopAnimating();
            return;
        }
    }
    update();
}

QSizeF ImageView::sizeThatFits(const QSizeF&) const
{
    return ResourceImages::pointSize(m_image);
}

void ImageView::drawRect(QPainter& painter, const QRectF& rect)
{
    QImage shown = m_image;
    if (isAnimating() && m_frame < m_animationImages.size())
        shown = m_animationImages[m_frame];
    else if (m_highlighted && !m_highlightedImage.isNull())
        shown = m_highlightedImage;
    drawImage(painter, shown, rect, contentMode());
}

void ImageView::drawImage(QPainter& painter, const QImage& picture, const QRectF& rect, ContentMode mode)
{
    if (picture.isNull())
        return;
    const QImage image = ResourceImages::forPainter(picture, painter);
    const QSizeF natural = ResourceImages::pointSize(image);
    QRectF target = rect;
    switch (mode) {
    case ContentMode::ScaleToFill:
    case ContentMode::Redraw:
        break;
    case ContentMode::ScaleAspectFit:
    case ContentMode::ScaleAspectFill: {
        const qreal sx = rect.width() / natural.width();
        const qreal sy = rect.height() / natural.height();
        const qreal s = mode == ContentMode::ScaleAspectFit ? qMin(sx, sy) : qMax(sx, sy);
        target.setSize(natural * s);
        target.moveCenter(rect.center());
        break;
    }
    default: {
        target.setSize(natural);
        qreal x = rect.center().x() - natural.width() / 2;
        qreal y = rect.center().y() - natural.height() / 2;
        if (mode == ContentMode::Left || mode == ContentMode::TopLeft || mode == ContentMode::BottomLeft)
            x = rect.left();
        if (mode == ContentMode::Right || mode == ContentMode::TopRight || mode == ContentMode::BottomRight)
            x = rect.right() - natural.width();
        if (mode == ContentMode::Top || mode == ContentMode::TopLeft || mode == ContentMode::TopRight)
            y = rect.top();
        if (mode == ContentMode::Bottom || mode == ContentMode::BottomLeft || mode == ContentMode::BottomRight)
            y = rect.bottom() - natural.height();
        target.moveTopLeft(QPointF(x, y));
        break;
    }
    }
    painter.save();
    painter.setClipRect(rect);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    painter.restore();
}
