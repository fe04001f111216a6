#pragma once

#include "ScreenWindowTest.h"

#include "app/screens/RootNavigation.h"
#include "app/navigation/ScreenInputs.h"
#include "app/screens/UIViewControllerCommon.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"
#include "forum/model/Forum.h"
#include "forum/model/ForumInfo.h"
#include "forum/model/Thread.h"
#include "forum/screens/ForumListScreens.h"
#include "forum/screens/ForumThreadScreens.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/AlertView.h"

// Screens of other libraries that the list screens open, standing in here
// under their class names (read without the namespace).
namespace forumtest {
class ThreadModerateController : public UIViewControllerCommon {
public:
    void setForum(const ForumPtr& f) { forum = f; }
    ForumPtr forum;
};
class SearchThreadController : public UIViewControllerCommon {
public:
    void setForum(const ForumPtr& f) { forum = f; }
    ForumPtr forum;
};
}  // namespace forumtest

// The forum's list screens in a phone window, on the loopback forum, with
// the screens registered as main registers them.
class ForumScreenTest : public ScreenWindowTest {
protected:
    void SetUp() override
    {
        ScreenWindowTest::SetUp();
        // A tree of the test's own, which the session clears as in the application.
        ForumInfo::attachTo(context());
        Forum::resetForumPasswords();
        registerForumThreadScreens(context());
        ForumListScreens::registerClasses(context());
    }
    void TearDown() override
    {
        for (const char* name : {"ThreadModerateController", "SearchThreadController"}) {
            ViewControllerRegistry::unregisterClass(QString::fromLatin1(name));
            ScreenInputs::unregisterSetter(QString::fromLatin1(name));
        }
        dismissAlerts();
        ScreenWindowTest::TearDown();
        ForumInfo::resetInstance();
    }

    // The screen as the root of the application's stack.
    template <typename Screen>
    std::shared_ptr<Screen> showRoot(const std::shared_ptr<Screen>& screen)
    {
        context().part<RootNavigation>()->setController(screen);
        finishMoving();
        return screen;
    }
    // A forum's thread list, not shown yet.
    std::shared_ptr<ThreadController> threadListOf(qint32 forumid, const QString& title = QString())
    {
        auto model = std::make_shared<Forum>();
        model->setForumid(forumid);
        model->setTitle_clean(title);
        auto threads = std::make_shared<ThreadController>(context());
        threads->setForum(model);
        return threads;
    }
    // A forum's thread list, as the root of the stack, its first page shown.
    std::shared_ptr<ThreadController> openForum(qint32 forumid, const QString& title = QString())
    {
        const auto threads = showRoot(threadListOf(forumid, title));
        settleAll();
        return threads;
    }
    static NavigationController* navigation() { return RootNavigation::controller(); }
    static ViewController* top() { return navigation() ? navigation()->topViewController() : nullptr; }
    template <typename T>
    static T* topAs()
    {
        return dynamic_cast<T*>(top());
    }
    // The network on its own time, then the animations and delays.
    void settleAll()
    {
        ASSERT_TRUE(settle());
        finishMoving();
    }
    void back()
    {
        navigation()->popViewControllerAnimated(true);
        finishMoving();
    }
    // A tap on a row of a table, as the user makes it.
    void tapRow(TableView* table, const IndexPath& path)
    {
        table->scrollToRowAtIndexPath(path, TableViewScrollPosition::Middle, false);
        finishMoving();
        tap(table->convertPoint(table->rectForRowAtIndexPath(path).center(), nullptr));
        finishMoving();
    }
    QList<TestForumRequest> requestsOf(const char* method) { return forum().requests(QString::fromLatin1(method)); }
};
