#include "forum/screens/ForumListScreens.h"

#include "app/model/ModelMakers.h"
#include "app/navigation/ContextScreens.h"
#include "app/navigation/ScreenInputs.h"
#include "forum/model/ForumInfo.h"
#include "forum/model/Post.h"
#include "forum/model/Thread.h"
#include "forum/screens/AnnouncementDetailsController.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/HomeController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/ThreadController.h"

#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewControllerRegistry.h"

namespace {

// The forum's models that in-app links name by id.
void registerLinkModels(AppContext& context)
{
    // A forum the tree does not know (not loaded yet, or gone) is still
    // opened by its id: its screen asks the forum for it.
    ModelMakers::registerMaker(QStringLiteral("Forum"), [&context](const ValueDict& values) -> ModelPtr {
        const qint32 forumid = values.value(QStringLiteral("forumid")).toInt();
        if (ForumPtr known = context.part<ForumInfo>()->searchForum(forumid))
            return known;
        auto bare = Model::create<Forum>();
        bare->setForumid(forumid);
        return bare;
    });
    ModelMakers::registerMaker(QStringLiteral("Thread"), [](const ValueDict& values) -> ModelPtr {
        return Thread::initWithThreadid(values.value(QStringLiteral("threadid")).toInt());
    });
    ModelMakers::registerMaker(QStringLiteral("Post"), [](const ValueDict& values) -> ModelPtr {
        return Post::initWithPostid(values.value(QStringLiteral("postid")).toInt());
    });
}

}  // namespace

void ForumListScreens::registerClasses(AppContext& context)
{
    ContextScreens::registerClass<ForumController>(context, QStringLiteral("ForumController"));
    ContextScreens::registerClass<ThreadController>(context, QStringLiteral("ThreadController"));
    ContextScreens::registerClass<HomeController>(context, QStringLiteral("HomeController"));
    ContextScreens::registerClass<AnnouncementDetailsController>(context,
                                                                 QStringLiteral("AnnouncementDetailsController"));
    ScreenInputs::registerSetter(QStringLiteral("ThreadController"), &ThreadController::setForum);
    ScreenInputs::registerSetter(QStringLiteral("AnnouncementDetailsController"),
                                 &AnnouncementDetailsController::setAnnouncement);
    // The thread page a thread row opens.
    ScreenInputs::registerSetter(QStringLiteral("PostController"), &PostController::setThread);
    // The home screen opened on one of its sorts (the member's subscriptions).
    ScreenInputs::registerOption(QStringLiteral("HomeController"), QStringLiteral("sort"),
                                 [](ViewController& screen, const Value& value) {
                                     auto* home = dynamic_cast<HomeController*>(&screen);
                                     const int sort = value.toInt();
                                     if (!home || !home->view() || !home->sort()->isEnabledForSegmentAtIndex(sort))
                                         return false;
                                     home->sort()->setSelectedSegmentIndex(sort);
                                     home->changeOrder();
                                     return true;
                                 });
    registerLinkModels(context);
}
