#include "forum/screens/ForumSearchScreens.h"

#include "app/navigation/ContextScreens.h"
#include "app/navigation/ScreenInputs.h"
#include "forum/screens/SearchController.h"
#include "forum/screens/SearchPostController.h"
#include "forum/screens/SearchThreadController.h"

#include "platform/ui/ViewControllerRegistry.h"

namespace ForumSearchScreens {

void registerClasses(AppContext& context)
{
    ContextScreens::registerClass<SearchController>(context, QStringLiteral("SearchController"));
    ContextScreens::registerClass<SearchThreadController>(context, QStringLiteral("SearchThreadController"));
    ContextScreens::registerClass<SearchPostController>(context, QStringLiteral("SearchPostController"));
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
