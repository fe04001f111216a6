#include "forum/screens/HomeNotificationStrip.h"

#include "app/config/Customizer.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Toolbar.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

HomeNotificationStrip::HomeNotificationStrip(const QRectF& frame) : View(frame)
{
    setObjectName(QStringLiteral("notificationStrip"));
    const QRectF whole(QPointF(0, 0), frame.size());
    m_background = new Toolbar(whole);
    m_background->setObjectName(QStringLiteral("notificationsBackground"));
    addSubview(m_background);
    m_text = new Button(whole, ButtonType::Custom);
    m_text->setObjectName(QStringLiteral("notificationsText"));
    m_text->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 12));
    addSubview(m_text);
}

void HomeNotificationStrip::showCount(int count)
{
    Customizer& theme = Customizer::getInstance();
    m_text->setTitle(count == 1 ? localized("home_notification")
                                : TextFormat::fill(localized("home_notifications"),
                                                   {Value(count)}),
                     ControlState::Normal);
    m_background->setFrame(bounds());
    m_background->setTintColor(theme.colorForKey(kColorBackgroundNotification));
    m_text->setTitleColor(theme.colorForKey(kColorTextNotification), ControlState::Normal);
}
