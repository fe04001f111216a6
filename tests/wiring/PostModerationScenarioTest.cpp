#include "AppScenario.h"

#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/cells/PostCell.h"
#include "forum/cells/SelectPostCell.h"
#include "forum/model/Post.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostModerateController.h"
#include "neighbours/screens/MyProfile.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"

// A moderator on a thread page of General Discussion, as the real
// application shows it on the loopback forum: the moderation item, the
// choice of posts on its screen, and the page again after acting.
namespace {

class PostModerationScenarioTest : public AppScenario {
protected:
    // A click on the item where the bar draws it.
    void clickItem(TabBar* bar, const TabBarItemPtr& item)
    {
        const int index = int(bar->items().indexOf(item));
        ASSERT_GE(index, 0) << "the bar shows no item " << qPrintable(item->title());
        tapAt(bar->convertPoint(bar->rectForItemAtIndex(index).center(), nullptr));
        finishAnimations();
    }
    // A click on the bar's back button.
    void clickBack()
    {
        BarButtonView* back = delegate()->controller()->navigationBar()->backButtonView();
        ASSERT_NE(back, nullptr) << "no back button on the bar";
        tap(back);
        finishAnimations();
        settleAndFinish();
    }
    // The post rows in view, by post id.
    template <typename Cell>
    static Cell* rowOf(PostController* page, qint32 postid)
    {
        for (TableViewCell* visible : page->postTable()->tableView()->visibleCells()) {
            auto* cell = qobject_cast<Cell*>(visible);
            if (cell && cell->post() && cell->post()->postid() == postid)
                return cell;
        }
        return nullptr;
    }
    PostController* openPhotoThread()
    {
        ThreadController* threads = openGeneralDiscussion();
        EXPECT_NE(threads, nullptr);
        if (!threads)
            return nullptr;
        const QList<ModelPtr> listed = threads->threadTable()->rowsForSection(0);
        for (int row = 0; row < listed.size(); ++row) {
            if (const auto thread = std::dynamic_pointer_cast<Thread>(listed.at(row)); thread && thread->threadid() == 302)
                tapRow(threads->threadTable()->tableView(), IndexPath{0, row});
        }
        auto* page = topScreenAs<PostController>();
        EXPECT_NE(page, nullptr);
        if (page) {
            EXPECT_TRUE(waitUntil([&] { return !page->postTable()->rowsForSection(0).isEmpty(); }));
            settleAndFinish();
        }
        return page;
    }
};

}  // namespace

TEST_F(PostModerationScenarioTest, TheModerateItemOutlivesAnErrorPageAndTheCircleAndHeaderChoosePosts)
{
    ASSERT_NE(signInAs(QStringLiteral("moderator"), QStringLiteral("modpass")), nullptr);
    PostController* page = openPhotoThread();
    ASSERT_NE(page, nullptr);
    TabBarHidding* bar = page->actions();
    ASSERT_FALSE(bar->isHiddenAtIndex(PostController::Moderate));

    // The forum refuses the page once: said once, and the moderator keeps
    // the item, as the forum gave it with the page still shown.
    forum().answerError(QStringLiteral("showthread"), QStringLiteral("invalidid"));
    clickItem(bar, page->item(PostController::Reload));
    settleAndFinish();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), tableText(QStringLiteral("invalidid")));
    tapAlertButton(0);
    finishAnimations();
    EXPECT_FALSE(bar->isHiddenAtIndex(PostController::Moderate)) << "the item stays after an error answer";
    EXPECT_TRUE(bar->items().contains(page->item(PostController::Moderate)));

    // The moderation screen: the circle on a post's header chooses it, and
    // so does the header; neither opens the author's profile.
    clickItem(bar, page->item(PostController::Moderate));
    auto* moderate = topScreenAs<PostModerateController>();
    ASSERT_NE(moderate, nullptr);
    settleAndFinish();
    const int stack = int(screens().size());
    const QList<ModelPtr> rows = moderate->postTable()->rowsForSection(0);
    ASSERT_GE(rows.size(), 3);
    const auto first = std::dynamic_pointer_cast<Post>(rows.at(0));
    const auto second = std::dynamic_pointer_cast<Post>(rows.at(1));
    ASSERT_TRUE(first && second);
    auto* firstRow = qobject_cast<SelectPostCell*>(moderate->postTable()->tableView()->cellForRowAtIndexPath(IndexPath{0, 0}));
    ASSERT_NE(firstRow, nullptr);
    tap(firstRow->selectedImage());
    EXPECT_EQ(topScreen(), moderate) << "the circle opened a screen";
    EXPECT_EQ(screens().size(), stack);
    EXPECT_EQ(topScreenAs<MyProfile>(), nullptr);
    ASSERT_EQ(moderate->selectedPosts().size(), 1);
    EXPECT_EQ(moderate->selectedPosts().first()->postid(), first->postid());
    EXPECT_TRUE(firstRow->isMarked());
    picture(QStringLiteral("app-moderate-posts-circle.png"));
    // The author's name on the header: chosen no more.
    tap(firstRow->title());
    EXPECT_EQ(topScreen(), moderate);
    EXPECT_TRUE(moderate->selectedPosts().isEmpty());
    EXPECT_FALSE(firstRow->isMarked());
    // The header beside the name chooses the second post.
    auto* secondRow = qobject_cast<SelectPostCell*>(moderate->postTable()->tableView()->cellForRowAtIndexPath(IndexPath{0, 1}));
    ASSERT_NE(secondRow, nullptr);
    tapAt(secondRow->convertPoint(secondRow->headerRect().topLeft() + QPointF(240, 18), nullptr));
    EXPECT_EQ(topScreen(), moderate);
    ASSERT_EQ(moderate->selectedPosts().size(), 1);
    EXPECT_EQ(moderate->selectedPosts().first()->postid(), second->postid());

    // Deleted, asked first; back on the thread page, its row is the one line
    // of a deleted post, no higher than what it draws.
    clickItem(moderate->actions(), moderate->deleteBtn());
    ASSERT_EQ(alertsOnScreen().size(), 1);
    tapAlertButton(1);
    settleAndFinish();
    EXPECT_TRUE(forum().postState(second->postid()).value(QStringLiteral("deleted")).toBool());
    clickBack();
    ASSERT_EQ(topScreen(), page);
    EXPECT_FALSE(bar->isHiddenAtIndex(PostController::Moderate));
    for (TableViewCell* visible : page->postTable()->tableView()->visibleCells()) {
        auto* row = qobject_cast<PostCell*>(visible);
        if (!row || !row->post())
            continue;
        const qreal height = page->postTable()->tableView()->rectForRowAtIndexPath(
                                 page->postTable()->tableView()->indexPathForCell(row)).height();
        EXPECT_EQ(height, qMax(PostController::kMinimumRowHeight, PostCell::heightForPost(*row->post())))
            << "post " << row->post()->postid();
        if (row->post()->postid() == second->postid()) {
            EXPECT_TRUE(row->post()->isDeleted());
            EXPECT_LT(height, PostCell::kChrome + 30);
        }
    }
    picture(QStringLiteral("app-thread-page-after-moderation.png"));
}
