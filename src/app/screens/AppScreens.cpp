#include "app/screens/AppScreens.h"

#include "app/navigation/ContextScreens.h"

#include "app/screens/FieldLinkDetails.h"
#include "app/screens/LoginController.h"
#include "app/screens/RegistrationController.h"
#include "app/screens/WelcomeController.h"
#include "platform/ui/ViewControllerRegistry.h"

void AppScreens::registerClasses(AppContext& context)
{
    ContextScreens::registerClass<LoginController>(context, QStringLiteral("LoginController"));
    ContextScreens::registerClass<FieldLinkDetails>(context, QStringLiteral("FieldLinkDetails"));
    ContextScreens::registerClass<RegistrationController>(context, QStringLiteral("RegistrationController"));
    ContextScreens::registerClass<WelcomeController>(context, QStringLiteral("WelcomeController"));
}
