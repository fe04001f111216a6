#include "forum/screens/ForumModerationScreens.h"

#include "forum/screens/PostModerateController.h"
#include "app/navigation/ContextScreens.h"
#include "app/navigation/ScreenInputs.h"
#include "forum/screens/ThreadModerateController.h"

#include "platform/ui/ViewControllerRegistry.h"

namespace ForumModerationScreens {

void registerClasses(AppContext& context)
{
    ContextScreens::registerClass<ThreadModerateController>(context, QStringLiteral("ThreadModerateController"));
    ContextScreens::registerClass<PostModerateController>(context, QStringLiteral("PostModerateController"));
    ScreenInputs::registerSetter(QStringLiteral("ThreadModerateController"), &ThreadModerateController::setForum);
    ScreenInputs::registerSetter(QStringLiteral("PostModerateController"), &PostModerateController::setThread);
}

void unregisterClasses()
{
    for (const char* name : {"ThreadModerateController", "PostModerateController"}) {
        ViewControllerRegistry::unregisterClass(QString::fromLatin1(name));
        ScreenInputs::unregisterSetter(QString::fromLatin1(name));
    }
}

}  // namespace ForumModerationScreens
