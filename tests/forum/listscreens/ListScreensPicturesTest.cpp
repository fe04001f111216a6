#include "ForumScreenTest.h"

#include "forum/cells/SubforumsHeader.h"
#include "forum/screens/AnnouncementDetailsController.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/Window.h"

#include <QDir>

// Pictures of the list screens with the seeded content, written under the
// build folder (gallery/) to be looked at as a user would.
namespace {

class ListScreensPicturesTest : public ForumScreenTest {
protected:
    void SetUp() override
    {
        ForumScreenTest::SetUp();
        // Alerts shown in the window, as the program shows them.
        AlertPresenter::install();
    }
    bool picture(const QString& name)
    {
        QDir().mkpath(QStringLiteral(MU_GALLERY_DIR));
        const QString path = QDir(QStringLiteral(MU_GALLERY_DIR)).filePath(name);
        finishMoving();
        return Screenshot::savePNG(window.get(), path) && !QImage(path).isNull();
    }
    std::shared_ptr<ThreadController> openForum(qint32 forumid, const QString& title)
    {
        auto model = std::make_shared<Forum>();
        model->setForumid(forumid);
        model->setTitle_clean(title);
        auto screen = std::make_shared<ThreadController>();
        screen->setForum(model);
        navigation()->pushViewController(screen, true);
        finishMoving();
        settleAll();
        return screen;
    }
};

}  // namespace

TEST_F(ListScreensPicturesTest, TheForumIndexAThreadListAndAnAnnouncement)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto index = showRoot(std::make_shared<ForumController>());
    settleAll();
    ASSERT_TRUE(picture(QStringLiteral("forum-index.png")));
    index->forumTable()->setContentOffset(index->forumTable()->maximumContentOffset());
    ASSERT_TRUE(picture(QStringLiteral("forum-index-end.png")));

    const auto threads = openForum(3, QStringLiteral("General Discussion"));
    ASSERT_TRUE(picture(QStringLiteral("thread-list.png")));
    ASSERT_NE(threads->header(), nullptr);
    tapView(threads->header()->collapseExpandBtn());
    ASSERT_TRUE(picture(QStringLiteral("thread-list-subforums.png")));
    auto* table = threads->threadTable()->tableView();
    table->setContentOffset(QPointF(0, 400));
    ASSERT_TRUE(picture(QStringLiteral("thread-list-scrolled.png")));
    table->setContentOffset(table->maximumContentOffset());
    settleAll();
    table->setContentOffset(QPointF(0, table->rectForSection(1).top() - 60));
    ASSERT_TRUE(picture(QStringLiteral("thread-list-page2.png")));

    table->setContentOffset(QPointF(0, 0));
    finishMoving();
    tapRow(table, IndexPath{0, 2});
    ASSERT_NE(topAs<AnnouncementDetailsController>(), nullptr);
    settleAll();
    ASSERT_TRUE(picture(QStringLiteral("announcement.png")));
}

TEST_F(ListScreensPicturesTest, ThreadListsOfAGuestAndOfTheModerator)
{
    openGuestSession();
    showRoot(std::make_shared<ForumController>());
    settleAll();
    openForum(11, QStringLiteral("Using the App"));
    ASSERT_TRUE(picture(QStringLiteral("thread-list-guest.png")));

    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    showRoot(std::make_shared<ForumController>());
    settleAll();
    openForum(3, QStringLiteral("General Discussion"));
    ASSERT_TRUE(picture(QStringLiteral("thread-list-moderator.png")));
    openForum(20, QStringLiteral("Staff Lounge"));
    ASSERT_TRUE(picture(QStringLiteral("thread-list-password.png")));
}
