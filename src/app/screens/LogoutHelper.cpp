#include "app/screens/LogoutHelper.h"

#include "app/screens/AppDelegate.h"
#include "app/screens/LoginController.h"
#include "app/session/AppContext.h"
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
        if (context)
            LogoutHelper::clickedButtonAtIndex(*context, alertView, buttonIndex);
    }
    // The context of the confirmation last shown; it outlives its alerts.
    AppContext* context = nullptr;
};

Answer& answer()
{
    static Answer one;
    return one;
}

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
    return &answer();
}

void LogoutHelper::showConfirmation(AppContext& context)
{
    answer().context = &context;
    AlertView::create(QString(), localized("home_logout_confirmation"), delegate(), {localized("cancel"), localized("ok")})->show();
}

void LogoutHelper::clickedButtonAtIndex(AppContext& context, AlertView*, int buttonIndex)
{
    if (buttonIndex != 1)
        return;
    context.currentUser()->logout();
    showLogin(context, registerFlag());
}

void LogoutHelper::showLogin(AppContext& context, bool registration)
{
    AppDelegate* application = AppDelegate::shared();
    if (!application)
        return;
    const auto login = std::make_shared<LoginController>(context);
    application->setController(login);
    if (registration)
        login->registration();
}
