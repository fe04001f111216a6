#include "app/screens/LoginBusyOverlay.h"

#include "app/widgets/RoundedRectView.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/ResourceImages.h"

LoginBusyOverlay::LoginBusyOverlay(const QRectF& frame) : View(frame)
{
    setBackgroundColor(QColor(0, 0, 0, 70));
    setAutoresizingMask(Autoresizing::FlexibleSize);
    m_panel = new RoundedRectView(QRectF(110, 150, 100, 100));
    m_panel->setCornerRadius(12);
    addSubview(m_panel);
    m_wheel = new ImageView(QRectF(141.5, 181.5, 37, 37));
    addSubview(m_wheel);
}

void LoginBusyOverlay::load()
{
    setHidden(true);
    m_wheel->setAnimationDuration(1.0);
    m_wheel->setAnimationRepeatCount(0);
    const QColor panel = QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1.0f);
    m_panel->setRectColor(panel);
    m_panel->setStrokeColor(panel);
}

void LoginBusyOverlay::showBusy(bool busy)
{
    setHidden(!busy);
    if (!busy) {
        m_wheel->stopAnimating();
        return;
    }
    // The wheel's pictures are decoded when it first turns: the screen
    // shows without them.
    if (m_wheel->animationImages().isEmpty()) {
        QList<QImage> frames;
        for (int i = 1; i <= 12; ++i)
            frames.append(ResourceImages::named(QStringLiteral("%1.png").arg(i)));
        m_wheel->setAnimationImages(frames);
    }
    m_wheel->startAnimating();
}
