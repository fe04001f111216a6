#include "AppScenario.h"
#include "ShownPixels.h"

#include "app/widgets/PageNavView.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/cells/PostCell.h"
#include "forum/cells/QuickReplyCell.h"
#include "forum/cells/SelectPostCell.h"
#include "forum/model/Post.h"
#include "forum/screens/HomeController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostModerateController.h"
#include "neighbours/screens/MyProfile.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextView.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

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
    // The thread of that id, opened by a click on its row of the list, its
    // first posts in; null (and a failure) where the list has no such row.
    PostController* openFrom(PaginableTableView* list, qint32 threadid)
    {
        const QList<ModelPtr> rows = list->rowsForSection(0);
        for (int row = 0; row < rows.size(); ++row) {
            if (const auto thread = std::dynamic_pointer_cast<Thread>(rows.at(row)); thread && thread->threadid() == threadid) {
                tapRow(list->tableView(), IndexPath{0, row});
                auto* page = topScreenAs<PostController>();
                EXPECT_NE(page, nullptr);
                if (page) {
                    EXPECT_TRUE(waitUntil([&] { return !page->postTable()->rowsForSection(0).isEmpty(); }));
                    settleAndFinish();
                }
                return page;
            }
        }
        ADD_FAILURE() << "the list holds no thread " << threadid;
        return nullptr;
    }
    PostController* openFromHome(HomeController* home, qint32 threadid)
    {
        return openFrom(named<PaginableTableView>(home, "news"), threadid);
    }
    // The text typed into the quick-reply row under the last post, then its
    // send button clicked.
    void sendQuickReply(PostController* page, const QString& text)
    {
        ShadowedTableView* table = page->postTable()->tableView();
        const IndexPath lastRow{table->numberOfSections() - 1, table->numberOfRowsInSection(table->numberOfSections() - 1) - 1};
        table->scrollToRowAtIndexPath(lastRow, TableViewScrollPosition::Bottom, false);
        finishAnimations();
        auto* row = qobject_cast<QuickReplyCell*>(table->cellForRowAtIndexPath(lastRow));
        ASSERT_NE(row, nullptr) << "no quick-reply row under the last post";
        click(row->textView()->convertRect(row->textView()->bounds(), nullptr).center());
        finishAnimations();
        ASSERT_TRUE(row->textView()->isFirstResponder());
        typeKeys(text);
        tap(row->submitButton());
    }
    // The tab bar as the window shows it.
    static QImage barAsShown(PostController* page)
    {
        finishAnimations();
        Window* window = Window::keyWindow();
        ShownPixels::drawFrame(window);
        const QImage shown = ShownPixels::shown(window);
        const QRectF bar = page->actions()->convertRect(page->actions()->bounds(), nullptr);
        const qreal scale = shown.width() / window->bounds().width();
        return shown.copy(QRectF(bar.topLeft() * scale, bar.size() * scale).toAlignedRect());
    }
    PostController* openPhotoThread()
    {
        ThreadController* threads = openGeneralDiscussion();
        EXPECT_NE(threads, nullptr);
        if (!threads)
            return nullptr;
        return openFrom(threads->threadTable(), 302);
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

// A thread that home knows by its id alone, on its last page: each load of
// its pages needs a forum of its own to hold the moderator's permission. Two
// loads at once, a quick reply's and a press on Reload, answered in either
// order, leave the bar as the forum's answers say: with its Moderate item.
TEST_F(PostModerationScenarioTest, TheModerateItemStaysWhateverOrderTwoLoadsOfAThreadFromHomeEndIn)
{
    HomeController* home = signInAs(QStringLiteral("moderator"), QStringLiteral("modpass"));
    ASSERT_NE(home, nullptr);
    PostController* page = openFromHome(home, 1101);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->thread()->forum(), nullptr) << "home gives the thread without its forum";
    PageNavView* strip = page->postTable()->navView();
    const int last = int(strip->numberOfRows()) - 1;
    ASSERT_GT(last, 0) << "a thread of several pages";
    tapAt(strip->table()->convertPoint(QPointF(last * PageNavView::kRowWidth + 25, 15), nullptr));
    settleAndFinish();
    ASSERT_EQ(page->thread()->pagenumber(), page->thread()->totalpages());
    TabBarHidding* bar = page->actions();
    ASSERT_FALSE(bar->isHiddenAtIndex(PostController::Moderate));
    const QImage withModerate = barAsShown(page);
    // Told of each answer the thread takes.
    RecordingObserver answers(RecordingObserver::TakesFailures::No);
    page->thread()->addObserver(&answers);

    for (const bool reloadAnswersFirst : {false, true}) {
        SCOPED_TRACE(reloadAnswersFirst ? "the Reload's answer first" : "the reply's page first");
        const QString round = reloadAnswersFirst ? u"-2"_s : u"-1"_s;
        const QString replyGate = u"reply"_s + round;
        const QString reloadGate = u"reload"_s + round;
        // Pages the table asks for meanwhile (a reply may start one) wait too.
        const QString laterGate = u"later"_s + round;
        forum().holdAtGate(u"showthread"_s, replyGate);
        forum().holdAtGate(u"showthread"_s, reloadGate);
        forum().holdAtGate(u"showthread"_s, laterGate, 10);
        const qsizetype replies = forum().threadState(1101).value(u"posts"_s).toArray().size();
        sendQuickReply(page, reloadAnswersFirst ? u"Seen, thanks."_s : u"Noted."_s);
        ASSERT_TRUE(waitUntil([&] { return forum().arrivedAtGate(replyGate) == 1; })) << "the page after the reply";
        EXPECT_EQ(forum().threadState(1101).value(u"posts"_s).toArray().size(), replies + 1);
        clickItem(bar, page->item(PostController::Reload));
        ASSERT_TRUE(waitUntil([&] { return forum().arrivedAtGate(reloadGate) == 1; })) << "the page again";

        for (const QString& gate : reloadAnswersFirst ? QStringList{reloadGate, replyGate} : QStringList{replyGate, reloadGate}) {
            const int heard = answers.changes;
            forum().openGate(gate);
            ASSERT_TRUE(waitUntil([&] { return answers.changes > heard; })) << "no answer came through " << qPrintable(gate);
            finishAnimations();
            EXPECT_FALSE(bar->isHiddenAtIndex(PostController::Moderate)) << "after the answer at " << qPrintable(gate);
        }
        EXPECT_EQ(barAsShown(page), withModerate) << "the bar shows its items as before the loads";
        forum().openGate(laterGate);
        forum().clearControls();
        settleAndFinish();
        EXPECT_FALSE(bar->isHiddenAtIndex(PostController::Moderate));
    }
    page->thread()->removeObserver(&answers);
    picture(u"app-thread-from-home-moderator.png"_s);
}
