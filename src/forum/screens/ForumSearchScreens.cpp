#include "forum/screens/ForumSearchScreens.h"

#include "app/navigation/ScreenInputs.h"
#include "forum/screens/SearchController.h"
#include "forum/screens/SearchPostController.h"
#include "forum/screens/SearchThreadController.h"

#include "platform/ui/ViewControllerRegistry.h"

namespace ForumSearchScreens {

void registerClasses()
{
    ViewControllerRegistry::registerClass<SearchController>(QStringLiteral("SearchController"));
    ViewControllerRegistry::registerClass<SearchThreadController>(QStringLiteral("SearchThreadController"));
    ViewControllerRegistry::registerClass<SearchPostController>(QStringLiteral("SearchPostController"));
    ScreenInputs::registerSetter(QStringLiteral("SearchThreadController"), &SearchThreadController::setForum);
    ScreenInputs::registerSetter(QStringLiteral("SearchPostController"), &SearchPostController::setThread);
}

void unregisterClasses()
{
    for (const char* name : {"SearchController", "SearchThreadController", "SearchPostController"}) {
        ViewControllerRegistry::unregisterClass(QString::fromLatin1(name));
        ScreenInputs::unregisterSetter(QString::fromLatin1(name));
    }
}

}  // namespace ForumSearchScreens
