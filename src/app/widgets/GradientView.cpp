#include "app/widgets/GradientView.h"

#include <QLinearGradient>
#include <QPainter>

GradientView::GradientView(const QRectF& frame) : View(frame)
{
    setup();
}

void GradientView::setup()
{
    m_top = QColor::fromRgbF(1, 1, 1, 1);
    m_bottom = QColor::fromRgbF(0.85f, 0.85f, 0.85f, 1);
    setBackgroundColor(Qt::transparent);
    update();
}

void GradientView::drawRect(QPainter& painter, const QRectF& rect)
{
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, m_top);
    g.setColorAt(1, m_bottom);
    painter.fillRect(rect, g);
}
