#include "forum/screens/ForumListScreens.h"

#include "forum/screens/AnnouncementDetailsController.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/HomeController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/ScreenInputs.h"
#include "forum/screens/ThreadController.h"

#include "platform/ui/ViewControllerRegistry.h"

void ForumListScreens::registerClasses()
{
    ViewControllerRegistry::registerClass<ForumController>(QStringLiteral("ForumController"));
    ViewControllerRegistry::registerClass<ThreadController>(QStringLiteral("ThreadController"));
    ViewControllerRegistry::registerClass<HomeController>(QStringLiteral("HomeController"));
    ViewControllerRegistry::registerClass<AnnouncementDetailsController>(QStringLiteral("AnnouncementDetailsController"));
    ScreenInputs::registerSetter(QStringLiteral("ThreadController"), &ThreadController::setForum);
    ScreenInputs::registerSetter(QStringLiteral("AnnouncementDetailsController"),
                                 &AnnouncementDetailsController::setAnnouncement);
    // The thread page a thread row opens.
    ScreenInputs::registerSetter(QStringLiteral("PostController"), &PostController::setThread);
}
