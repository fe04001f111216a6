#pragma once

#include "ControlClicks.h"
#include "ScreenTest.h"
#include "NamedView.h"

#include "app/screens/AppDelegate.h"
#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/LoginController.h"
#include "app/screens/MurmoraViewController.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"
#include "forum/model/Forum.h"
#include "forum/model/ForumInfo.h"
#include "forum/model/Thread.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/HomeController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "wiring/AppWiring.h"

#include "platform/foundation/ManualClock.h"

#include <QImage>

// The real application, as main puts it together, on the loopback forum,
// driven through its screens; the pictures it takes go to the gallery.
class AppScenario : public ScreenTest {
protected:
    // The application as main wires it, on this test's context and nothing
    // besides: a part the wiring misses fails here too.
    void wire() override
    {
        Forum::resetForumPasswords();
        m_wiring = std::make_unique<AppWiring>(context());
    }
    void TearDown() override
    {
        quit();
        m_wiring.reset();
        ScreenTest::TearDown();
    }

    LoginController* launchToLogin()
    {
        launch();
        finishAnimations();
        auto* login = topScreenAs<LoginController>();
        EXPECT_NE(login, nullptr);
        if (login) {
            EXPECT_TRUE(waitUntil([&] { return login->skipNowButton()->isEnabled(); }));
        }
        settle();
        return login;
    }
    // The application launched and a member signed in on the login form, as
    // typed there; the home screen once it shows.
    HomeController* signInAs(const QString& name, const QString& password)
    {
        LoginController* login = launchToLogin();
        if (!login)
            return nullptr;
        type(login->fieldWithTag(1), name);
        type(login->fieldWithTag(2), password);
        tap(login->loginButton());
        return home();
    }
    // The application launched and the login screen skipped: the guest's
    // home screen once it shows.
    HomeController* enterAsGuest()
    {
        LoginController* login = launchToLogin();
        if (!login)
            return nullptr;
        tap(login->skipNowButton());
        return home();
    }
    HomeController* home()
    {
        EXPECT_TRUE(waitUntil([&] { return topScreenAs<HomeController>() != nullptr; }));
        auto* screen = topScreenAs<HomeController>();
        if (screen) {
            EXPECT_TRUE(waitUntil([&] { return !named<PaginableTableView>(screen, "news")->rowsForSection(0).isEmpty(); }));
        }
        settleAndFinish();
        return screen;
    }
    void settleAndFinish()
    {
        settle();
        finishAnimations();
    }
    // From home: the bar's log-out button, then Yes; the reader goes on as a guest.
    void signOut(HomeController* home)
    {
        clickBarButton(Window::keyWindow(), home->navigationItem()->leftBarButtonItem());
        finishAnimations();
        tapAlertButton(0);
        settleAndFinish();
    }
    // The section of the menu, opened from the screen on top.
    void openSection(Button* (GlobalNavigationViewController::*entry)() const)
    {
        auto* section = dynamic_cast<MurmoraViewController*>(topScreen());
        ASSERT_NE(section, nullptr);
        tap(section->navButton());
        finishAnimations();
        GlobalNavigationViewController* menu = section->globalNavigationView();
        ASSERT_NE(menu, nullptr);
        tap((menu->*entry)());
        finishAnimations();
        settleAndFinish();
    }
    void tapRow(TableView* table, const IndexPath& path)
    {
        table->scrollToRowAtIndexPath(path, TableViewScrollPosition::Middle, false);
        finishAnimations();
        tapAt(table->convertPoint(table->rectForRowAtIndexPath(path).center(), nullptr));
        finishAnimations();
    }
    // From the menu to the forum index, then General Discussion's thread
    // list (the index's second row), settled; null when a screen is missing.
    ThreadController* openGeneralDiscussion() { return openForumAt(IndexPath{0, 1}); }
    // The forum on a row of the index, from the menu, its threads settled.
    ThreadController* openForumAt(const IndexPath& row)
    {
        openSection(&GlobalNavigationViewController::forumsButton);
        auto* index = topScreenAs<ForumController>();
        EXPECT_NE(index, nullptr);
        if (!index)
            return nullptr;
        tapRow(index->forumTable(), row);
        auto* threads = topScreenAs<ThreadController>();
        EXPECT_NE(threads, nullptr);
        settleAndFinish();
        return threads;
    }
    // A thread of the list, found by its id, opened by a tap on its row and
    // settled; null when the list does not hold it.
    PostController* openThread(ThreadController* threads, qint32 threadid)
    {
        const QList<ModelPtr> rows = threads->threadTable()->rowsForSection(0);
        for (int row = 0; row < rows.size(); ++row) {
            const auto thread = std::dynamic_pointer_cast<Thread>(rows.at(row));
            if (thread && thread->threadid() == threadid) {
                tapRow(threads->threadTable()->tableView(), IndexPath{0, row});
                auto* page = topScreenAs<PostController>();
                EXPECT_NE(page, nullptr);
                settleAndFinish();
                return page;
            }
        }
        ADD_FAILURE() << "the list holds no thread " << threadid;
        return nullptr;
    }
    // The row of a thread list's first ordinary thread, under the
    // announcements and the stickies (and the header row).
    static IndexPath firstThreadRow(const ThreadController* threads)
    {
        const auto& forum = threads->forum();
        return IndexPath{0, int(forum->announcements().size() + forum->stickies().size()) + 1};
    }
    void back()
    {
        delegate()->controller()->popViewControllerAnimated(true);
        finishAnimations();
        settleAndFinish();
    }
    // The picture of the window, under the build folder and for the README.
    static void picture(const QString& name)
    {
        finishAnimations();
        const QString path = TestSupport::galleryPath(name);
        ASSERT_TRUE(Screenshot::savePNG(Window::keyWindow(), path));
        ASSERT_FALSE(QImage(path).isNull());
    }
    QList<TestForumRequest> asked(const char* method) { return forum().requests(QString::fromLatin1(method)); }

private:
    std::unique_ptr<AppWiring> m_wiring;
};


