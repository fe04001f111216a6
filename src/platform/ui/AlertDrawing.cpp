#include "platform/ui/AlertDrawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

void AlertDrawing::drawDimmedScreen(QPainter& painter, const QRectF& rect)
{
    QRadialGradient g(rect.center(), rect.height() * 0.7);
    g.setColorAt(0, QColor(0, 0, 0, 60));
    g.setColorAt(1, QColor(0, 0, 0, 150));
    painter.fillRect(rect, g);
}

void AlertDrawing::drawAlertBox(QPainter& painter, const QRectF& rect)
{
    QPainterPath path;
    path.addRoundedRect(rect.adjusted(1, 1, -1, -1), 9, 9);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path.translated(0, 3), QColor(0, 0, 0, 70));
    painter.fillPath(path, QColor(8, 26, 74, 228));
    // The gloss over the box's top.
    QPainterPath gloss;
    gloss.addRoundedRect(QRectF(rect.left() + 1, rect.top() + 1, rect.width() - 2, 34), 9, 9);
    QLinearGradient lg(rect.topLeft(), rect.topLeft() + QPointF(0, 34));
    lg.setColorAt(0, QColor(255, 255, 255, 90));
    lg.setColorAt(1, QColor(255, 255, 255, 12));
    painter.fillPath(gloss.intersected(path), lg);
    painter.setPen(QPen(QColor(255, 255, 255, 220), 2));
    painter.drawPath(path);
    painter.restore();
}

void AlertDrawing::drawButton(QPainter& painter, const QRectF& rect, ButtonKind kind, bool pressed)
{
    QColor base;
    switch (kind) {
    case ButtonKind::Normal:
        base = QColor(94, 106, 138, 200);
        break;
    case ButtonKind::Cancel:
        base = QColor(58, 69, 99, 220);
        break;
    case ButtonKind::Destructive:
        base = QColor(206, 40, 36);
        break;
    case ButtonKind::Sheet:
        base = QColor(235, 235, 235);
        break;
    }
    if (pressed)
        base = QColor(26, 110, 230);
    QPainterPath path;
    path.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(0.5, base.lighter(112));
    g.setColorAt(0.5001, base);
    g.setColorAt(1, base);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, g);
    painter.setPen(QPen(kind == ButtonKind::Sheet && !pressed ? QColor(120, 120, 120) : QColor(20, 25, 40, 200), 1));
    painter.drawPath(path);
    painter.restore();
}
