#include "platform/ui/PlainHeaderView.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include <QLinearGradient>
#include <QPainter>

PlainHeaderView::PlainHeaderView(const QString& title) : m_label(new Label())
{
    m_label->setText(title);
    m_label->setFont(Font::boldSystemFontOfSize(18));
    m_label->setTextColor(Qt::white);
    m_label->setShadowColor(QColor(0, 0, 0, 110));
    m_label->setShadowOffset(QSizeF(0, 1));
    addSubview(m_label);
}

void PlainHeaderView::layoutSubviews()
{
    m_label->setFrame(bounds().adjusted(12, 0, -12, 0));
}

void PlainHeaderView::drawRect(QPainter& painter, const QRectF& rect)
{
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, QColor(144, 159, 171, 235));
    g.setColorAt(1, QColor(184, 193, 200, 235));
    painter.fillRect(rect, g);
    painter.setPen(QColor(113, 125, 133));
    painter.drawLine(QPointF(rect.left(), rect.top() + 0.5), QPointF(rect.right(), rect.top() + 0.5));
}
