#include "platform/ui/ActivityIndicatorView.h"

#include <QPainter>
#include <QtMath>

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorStyle style) : m_style(style)
{
    setOpaque(false);
    setUserInteractionEnabled(false);
    setFrame(QRectF(QPointF(0, 0), sizeThatFits(QSizeF())));
    setHidden(true);
}

void ActivityIndicatorView::setStyle(ActivityIndicatorStyle style)
{
    m_style = style;
    update();
}

QColor ActivityIndicatorView::color() const
{
    if (m_color.isValid())
        return m_color;
    return m_style == ActivityIndicatorStyle::Gray ? QColor(90, 90, 90) : QColor(Qt::white);
}

void ActivityIndicatorView::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides)
{
    m_hidesWhenStopped = hides;
    if (!m_animating)
        setHidden(hides);
}

void ActivityIndicatorView::startAnimating()
{
    if (m_animating)
        return;
    m_animating = true;
    setHidden(false);
    m_timer = Clock::current().every(83, [this]() {
        m_step = (m_step + 1) % 12;
        update();
    });
    update();
}

void ActivityIndicatorView::stopAnimating()
{
    m_animating = false;
    m_timer.cancel();
    if (m_hidesWhenStopped)
        setHidden(true);
    update();
}

QSizeF ActivityIndicatorView::sizeThatFits(const QSizeF&) const
{
    return m_style == ActivityIndicatorStyle::WhiteLarge ? QSizeF(37, 37) : QSizeF(20, 20);
}

void ActivityIndicatorView::drawRect(QPainter& painter, const QRectF& rect)
{
    const qreal side = qMin(rect.width(), rect.height());
    const QPointF c = rect.center();
    const qreal outer = side / 2;
    const qreal inner = outer * 0.45;
    const qreal thickness = qMax<qreal>(1.5, side * 0.1);
    const QColor base = color();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 12; ++i) {
        // The spoke at the head is brightest; the others fade behind it.
        const int age = (m_step - i + 12) % 12;
        QColor spoke = base;
        spoke.setAlphaF(m_animating ? float(qMax(0.25, 1.0 - age / 12.0)) : 0.5f);
        painter.setPen(QPen(spoke, thickness, Qt::SolidLine, Qt::RoundCap));
        const qreal angle = i * M_PI / 6 - M_PI / 2;
        painter.drawLine(c + QPointF(std::cos(angle) * inner, std::sin(angle) * inner),
                         c + QPointF(std::cos(angle) * (outer - thickness / 2), std::sin(angle) * (outer - thickness / 2)));
    }
    painter.restore();
}
