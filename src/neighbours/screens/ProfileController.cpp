#include "neighbours/screens/ProfileController.h"

#include "app/session/AppContext.h"

#include "neighbours/screens/EmptyStateView.h"
#include "neighbours/screens/MyProfile.h"

#include "app/session/CurrentUser.h"
#include "app/widgets/GradientButton.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

#include "platform/foundation/Localized.h"

ProfileController::ProfileController(AppContext& context) : MurmoraViewController(context)
{
    setTitle(localized("nav_myprofile"));
}

void ProfileController::buildNib(View* root)
{
    m_emptyState = new EmptyStateView(QRectF(0, 0, root->bounds().width(), 200));
    m_emptyState->setAutoresizingMask(Autoresizing::FlexibleWidth);
    root->addSubview(m_emptyState);
    m_openButton = new GradientButton(QRectF(70, 200, 180, 40));
    m_openButton->useRedDeleteStyle();
    m_openButton->setTitle(localized("profile_open_button"), ControlState::Normal);
    m_openButton->titleLabel()->setFont(Font::boldSystemFontOfSize(15));
    m_openButton->setAutoresizingMask(Autoresizing::FlexibleLeftMargin | Autoresizing::FlexibleRightMargin);
    root->addSubview(m_openButton);
}

void ProfileController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    m_openButton->addTarget(this, &ProfileController::openProfile, ControlEvent::TouchUpInside);
    requestFooterBanner();
    showProfile(false);
}

void ProfileController::viewWillAppear(bool animated)
{
    MurmoraViewController::viewWillAppear(animated);
    const CurrentUserPtr user = context().currentUser();
    const bool member = user->isMember();
    if (member)
        m_emptyState->show(user->username(), localized("profile_own_message"));
    else
        m_emptyState->show(localized("profile_no_member_headline"), localized("profile_no_member_message"));
    m_openButton->setHidden(!member);
}

void ProfileController::showProfile(bool animated)
{
    NavigationController* navigation = navigationController();
    if (!navigation)
        return;
    auto profile = std::make_shared<MyProfile>(context(), QStringLiteral("MyProfile"), 0);
    navigation->pushViewController(profile, animated);
    profile->setUser(context().currentUser());
}
