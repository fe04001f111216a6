#include "app/screens/AppScreens.h"

#include "app/screens/FieldLinkDetails.h"
#include "app/screens/LoginController.h"
#include "app/screens/RegistrationController.h"
#include "app/screens/WelcomeController.h"
#include "platform/ui/ViewControllerRegistry.h"

void AppScreens::registerClasses()
{
    ViewControllerRegistry::registerClass<LoginController>(QStringLiteral("LoginController"));
    ViewControllerRegistry::registerClass<FieldLinkDetails>(QStringLiteral("FieldLinkDetails"));
    ViewControllerRegistry::registerClass<RegistrationController>(QStringLiteral("RegistrationController"));
    ViewControllerRegistry::registerClass<WelcomeController>(QStringLiteral("WelcomeController"));
}
