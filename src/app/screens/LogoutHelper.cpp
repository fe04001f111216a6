#include "app/screens/LogoutHelper.h"

#include "app/screens/AppDelegate.h"
#include "app/screens/LoginController.h"
#include "app/session/CurrentUser.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/AlertViewDelegate.h"
#include "platform/foundation/Localized.h"

#include <memory>

namespace {

bool& registerFlag()
{
    static bool flag = false;
    return flag;
}

class Answer : public AlertViewDelegate {
public:
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override
    {
        LogoutHelper::clickedButtonAtIndex(alertView, buttonIndex);
    }
};

}  // namespace

void LogoutHelper::setGoToRegister(bool goToRegister)
{
    registerFlag() = goToRegister;
}

bool LogoutHelper::goToRegister()
{
    return registerFlag();
}

AlertViewDelegate* LogoutHelper::delegate()
{
    static Answer answer;
    return &answer;
}

void LogoutHelper::showConfirmation()
{
    AlertView::create(QString(), localized("home_logout_confirmation"), delegate(), {localized("cancel"), localized("ok")})->show();
}

void LogoutHelper::clickedButtonAtIndex(AlertView*, int buttonIndex)
{
    if (buttonIndex != 1)
        return;
    CurrentUser::currentUser()->logout();
    showLogin(registerFlag());
}

void LogoutHelper::showLogin(bool registration)
{
    AppDelegate* application = AppDelegate::shared();
    if (!application)
        return;
    const auto login = std::make_shared<LoginController>();
    application->setController(login);
    if (registration)
        login->registration();
}
