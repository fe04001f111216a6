#include "app/screens/HomeController.h"

#include "app/config/Config.h"
#include "app/config/Customizer.h"
#include "app/session/CurrentUser.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/TextFormat.h"

HomeController::HomeController()
{
    setTitle(Bundle::main().localizedString(QStringLiteral("home_title")));
}

void HomeController::buildNib(View* root)
{
    m_memberLabel = new Label(QRectF(20, 30, 280, 30));
    m_memberLabel->setFont(Font::boldSystemFontOfSize(20));
    m_memberLabel->setTextAlignment(TextAlignment::Center);
    m_memberLabel->setAdjustsFontSizeToFitWidth(true);
    m_memberLabel->setMinimumFontSize(12);
    m_memberLabel->setBackgroundColor(Qt::transparent);
    root->addSubview(m_memberLabel);
    m_forumLabel = new Label(QRectF(20, 64, 280, 40));
    m_forumLabel->setFont(Font::systemFontOfSize(15));
    m_forumLabel->setTextAlignment(TextAlignment::Center);
    m_forumLabel->setNumberOfLines(2);
    m_forumLabel->setBackgroundColor(Qt::transparent);
    root->addSubview(m_forumLabel);
}

void HomeController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    Customizer& theme = Customizer::getInstance();
    m_memberLabel->setTextColor(theme.colorForKey(kColorTextTitle));
    m_forumLabel->setTextColor(theme.colorForKey(kColorTextSecondary));
    requestFooterBanner();
}

void HomeController::viewWillAppear(bool)
{
    const CurrentUserPtr user = CurrentUser::currentUser();
    const Bundle& bundle = Bundle::main();
    m_memberLabel->setText(user->userid() >= 1 ? TextFormat::fill(bundle.localizedString(QStringLiteral("home_member")),
                                                                  {Value(user->username())})
                                               : bundle.localizedString(QStringLiteral("home_guest")));
    m_forumLabel->setText(Config::getInstance().bbtitle());
}
