#include "platform/ui/ViewEffect.h"

#include <QPainter>

ViewEffect::ViewEffect(QObject* parent) : QGraphicsEffect(parent) {}

void ViewEffect::setOpacity(qreal opacity)
{
    if (qFuzzyCompare(m_opacity, opacity))
        return;
    m_opacity = opacity;
    update();
}

void ViewEffect::setTransform(const QTransform& transform)
{
    if (m_transform == transform)
        return;
    m_transform = transform;
    updateBoundingRect();
    update();
}

QRectF ViewEffect::boundingRectFor(const QRectF& sourceRect) const
{
    return m_transform.mapRect(sourceRect).united(sourceRect);
}

void ViewEffect::draw(QPainter* painter)
{
    if (m_opacity <= 0.001)
        return;
    if (m_opacity >= 0.999 && m_transform.isIdentity()) {
        drawSource(painter);
        return;
    }
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
    painter->save();
    painter->setOpacity(painter->opacity() * m_opacity);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setWorldTransform(m_transform, true);
    painter->drawPixmap(offset, pixmap);
    painter->restore();
}
