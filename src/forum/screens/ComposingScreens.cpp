#include "forum/screens/ComposingScreens.h"

#include "forum/screens/ContentTags.h"
#include "forum/screens/InsertTextController.h"
#include "forum/screens/SelectForumController.h"

#include "platform/ui/ViewControllerRegistry.h"

void ComposingScreens::registerClasses()
{
    ViewControllerRegistry::registerClass<SelectForumController>(QStringLiteral("SelectForumController"));
    ViewControllerRegistry::registerClass<InsertTextController>(QStringLiteral("InsertTextController"));
    ViewControllerRegistry::registerClass<ContentTags>(QStringLiteral("ContentTags"));
}
