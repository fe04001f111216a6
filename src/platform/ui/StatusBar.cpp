#include "platform/ui/StatusBar.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Font.h"
#include "platform/ui/StringDrawing.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/NetworkActivityIndicator.h"

#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPointer>

StatusBar::StatusBar(const QRectF& frame)
    : View(frame), m_activity(new ActivityIndicatorView(ActivityIndicatorStyle::White))
{
    setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_activity->setFrame(QRectF(52, 3, 14, 14));
    m_activity->setHidesWhenStopped(true);
    addSubview(m_activity);
    QPointer<StatusBar> self(this);
    NetworkActivityIndicator::setObserver([self](bool visible) {
        if (self)
            self->setNetworkActivity(visible);
    });
    setNetworkActivity(NetworkActivityIndicator::isVisible());
    followTheMinute();
}

void StatusBar::followTheMinute()
{
    // Local minutes begin where UTC minutes do.
    constexpr qint64 kMinute = 60000;
    const qint64 intoMinute = Clock::current().now().toMSecsSinceEpoch() % kMinute;
    m_minuteTimer = Clock::current().after(kMinute - intoMinute, [this]() {
        update();
        followTheMinute();
    });
}

StatusBar::~StatusBar()
{
    NetworkActivityIndicator::setObserver({});
}

bool StatusBar::isNetworkActivityShown() const
{
    return m_activity->isAnimating();
}

void StatusBar::setNetworkActivity(bool visible)
{
    if (visible)
        m_activity->startAnimating();
    else
        m_activity->stopAnimating();
}

void StatusBar::drawRect(QPainter& painter, const QRectF& rect)
{
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, QColor(72, 72, 72));
    g.setColorAt(1, QColor(20, 20, 20));
    painter.fillRect(rect, g);
    painter.setPen(Qt::white);
    // Signal bars and the carrier, on the left.
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        const qreal h = 4 + i * 2;
        painter.drawRect(QRectF(5 + i * 4, 15 - h, 3, h));
    }
    painter.setPen(Qt::white);
    const QFont small = Font::boldSystemFontOfSize(12);
    StringDrawing::drawAtPoint(painter, QStringLiteral("mu"), QPointF(27, 3), small);
    // The time, centred.
    const QString time = QLocale(QLocale::English).toString(Clock::current().now().toLocalTime().time(),
                                                            QStringLiteral("h:mm AP"));
    const QFont bold = Font::boldSystemFontOfSize(14);
    const QSizeF ts = StringDrawing::sizeWithFont(time, bold);
    StringDrawing::drawAtPoint(painter, time, QPointF(rect.center().x() - ts.width() / 2, 2), bold);
    // The battery, on the right.
    const QRectF battery(rect.right() - 31, 5, 24, 11);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(battery, 2, 2);
    painter.fillRect(QRectF(battery.right() + 1, 8, 2, 5), Qt::white);
    painter.fillRect(battery.adjusted(2, 2, -2, -2), QColor(255, 255, 255));
}
