#include "platform/ui/BarDrawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

void BarDrawing::drawBarBackground(QPainter& painter, const QRectF& rect, const QColor& tint)
{
    const QColor base = tint.isValid() ? tint : defaultTint();
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(0.5, base.lighter(112));
    g.setColorAt(0.5001, base);
    g.setColorAt(1, base.darker(108));
    painter.fillRect(rect, g);
    painter.setPen(QPen(base.lighter(170), 1));
    painter.drawLine(QPointF(rect.left(), rect.top() + 0.5), QPointF(rect.right(), rect.top() + 0.5));
    painter.setPen(QPen(base.darker(160), 1));
    painter.drawLine(QPointF(rect.left(), rect.bottom() - 0.5), QPointF(rect.right(), rect.bottom() - 0.5));
}

QColor BarDrawing::buttonTint(const QColor& barTint, BarButtonItemStyle style)
{
    if (style == BarButtonItemStyle::Done)
        return QColor(40, 98, 214);
    const QColor base = barTint.isValid() ? barTint : defaultTint();
    return base.darker(118);
}

QPainterPath BarDrawing::buttonPath(const QRectF& r, bool backArrow)
{
    QPainterPath path;
    const qreal radius = 5;
    if (!backArrow) {
        path.addRoundedRect(r, radius, radius);
        return path;
    }
    const qreal point = 11;
    path.moveTo(r.left(), r.center().y());
    path.lineTo(r.left() + point, r.top() + 1);
    path.quadTo(r.left() + point + 1, r.top(), r.left() + point + 3, r.top());
    path.lineTo(r.right() - radius, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + radius);
    path.lineTo(r.right(), r.bottom() - radius);
    path.quadTo(r.right(), r.bottom(), r.right() - radius, r.bottom());
    path.lineTo(r.left() + point + 3, r.bottom());
    path.quadTo(r.left() + point + 1, r.bottom(), r.left() + point, r.bottom() - 1);
    path.closeSubpath();
    return path;
}

void BarDrawing::drawButtonFace(QPainter& painter, const QRectF& rect, const QColor& tint, bool backArrow,
                                bool pressed)
{
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath path = buttonPath(r, backArrow);
    const QColor base = pressed ? tint.darker(135) : tint;
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, base.lighter(145));
    g.setColorAt(0.5, base.lighter(108));
    g.setColorAt(0.5001, base);
    g.setColorAt(1, base.darker(105));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A light line under the face, as if pressed into the bar.
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
    painter.drawPath(path.translated(0, 1));
    painter.fillPath(path, g);
    painter.setPen(QPen(base.darker(190), 1));
    painter.drawPath(path);
    painter.restore();
}

bool BarDrawing::drawSystemItem(QPainter& painter, BarButtonSystemItem item, const QRectF& rect, const QColor& color)
{
    const QPointF c = rect.center();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(color, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    bool drawn = true;
    switch (item) {
    case BarButtonSystemItem::Add:
        painter.setPen(QPen(color, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(c - QPointF(7, 0), c + QPointF(7, 0));
        painter.drawLine(c - QPointF(0, 7), c + QPointF(0, 7));
        break;
    case BarButtonSystemItem::Compose: {
        // A sheet with a pencil across its corner.
        painter.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(QPolygonF({c + QPointF(2, -7), c + QPointF(-8, -7), c + QPointF(-8, 8), c + QPointF(7, 8),
                                        c + QPointF(7, -2)}));
        painter.setPen(QPen(color, 3.2, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(c + QPointF(-3, 3), c + QPointF(8, -8));
        painter.setPen(QPen(color, 1.2));
        painter.setBrush(color);
        painter.drawPolygon(QPolygonF({c + QPointF(-3.8, 4), c + QPointF(-5, 5), c + QPointF(-3.2, 2.2)}));
        break;
    }
    case BarButtonSystemItem::Reply:
        painter.drawPolyline(QPolygonF({c + QPointF(-2, -7), c + QPointF(-8, -1), c + QPointF(-2, 5)}));
        painter.drawArc(QRectF(c + QPointF(-8, -1), QSizeF(16, 14)), 90 * 16, -90 * 16);
        break;
    case BarButtonSystemItem::Action:
        painter.drawRect(QRectF(c + QPointF(-8, -2), QSizeF(16, 10)));
        painter.drawLine(c + QPointF(0, 3), c + QPointF(0, -9));
        painter.drawPolyline(QPolygonF({c + QPointF(-4, -5), c + QPointF(0, -9), c + QPointF(4, -5)}));
        break;
    case BarButtonSystemItem::Search:
        painter.drawEllipse(QRectF(c + QPointF(-8, -8), QSizeF(11, 11)));
        painter.setPen(QPen(color, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(c + QPointF(2, 2), c + QPointF(7, 7));
        break;
    case BarButtonSystemItem::Refresh:
        painter.drawArc(QRectF(c + QPointF(-7, -7), QSizeF(14, 14)), 100 * 16, 300 * 16);
        painter.setBrush(color);
        painter.drawPolygon(QPolygonF({c + QPointF(-1, -10), c + QPointF(4, -7), c + QPointF(-1, -4)}));
        break;
    case BarButtonSystemItem::Stop:
        painter.drawLine(c + QPointF(-6, -6), c + QPointF(6, 6));
        painter.drawLine(c + QPointF(6, -6), c + QPointF(-6, 6));
        break;
    case BarButtonSystemItem::Trash:
        painter.drawRect(QRectF(c + QPointF(-6, -5), QSizeF(12, 14)));
        painter.drawLine(c + QPointF(-8, -7), c + QPointF(8, -7));
        painter.drawLine(c + QPointF(-2, -9), c + QPointF(2, -9));
        break;
    case BarButtonSystemItem::Camera:
        painter.drawRoundedRect(QRectF(c + QPointF(-9, -5), QSizeF(18, 13)), 2, 2);
        painter.drawEllipse(QRectF(c + QPointF(-3.5, -2), QSizeF(7, 7)));
        break;
    case BarButtonSystemItem::Bookmarks:
        painter.drawPolygon(QPolygonF({c + QPointF(-5, -8), c + QPointF(5, -8), c + QPointF(5, 8), c + QPointF(0, 4),
                                       c + QPointF(-5, 8)}));
        break;
    case BarButtonSystemItem::Organize:
        painter.drawRect(QRectF(c + QPointF(-8, -3), QSizeF(16, 10)));
        painter.drawLine(c + QPointF(-6, -6), c + QPointF(6, -6));
        break;
    case BarButtonSystemItem::Play:
        painter.setBrush(color);
        painter.drawPolygon(QPolygonF({c + QPointF(-5, -7), c + QPointF(7, 0), c + QPointF(-5, 7)}));
        break;
    case BarButtonSystemItem::Pause:
        painter.setPen(QPen(color, 3.5));
        painter.drawLine(c + QPointF(-3, -7), c + QPointF(-3, 7));
        painter.drawLine(c + QPointF(3, -7), c + QPointF(3, 7));
        break;
    case BarButtonSystemItem::Rewind:
    case BarButtonSystemItem::FastForward: {
        const qreal d = item == BarButtonSystemItem::Rewind ? -1 : 1;
        painter.setBrush(color);
        painter.drawPolygon(QPolygonF({c + QPointF(-8 * d, -6), c + QPointF(0, 0), c + QPointF(-8 * d, 6)}));
        painter.drawPolygon(QPolygonF({c + QPointF(0, -6), c + QPointF(8 * d, 0), c + QPointF(0, 6)}));
        break;
    }
    default:
        drawn = false;
        break;
    }
    painter.restore();
    return drawn;
}
