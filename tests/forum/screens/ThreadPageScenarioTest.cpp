#include "ThreadScreensTest.h"
#include "ShownPixels.h"

#include "forum/cells/PostCell.h"
#include "forum/cells/PostCellIgnoreGlobal.h"
#include "forum/cells/PostCellUserIgnore.h"
#include "forum/cells/PostTextView.h"
#include "forum/screens/PostDetailsController.h"

#include "app/widgets/GradientButton.h"
#include "app/widgets/PageFailedCell.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/StatusMessageView.h"
#include "app/widgets/PaginationCell.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/RoundedRectView.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"

#include "platform/ui/ControlEvents.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextLayout.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"

#include <QKeyEvent>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <cmath>

// The big tips thread (1101: fifty posts, ten a page) read through the real
// screens on the loopback forum.
namespace {

class ThreadPageScenarioTest : public ThreadScreensTest {
protected:
    static QList<PostPtr> postsOf(PaginableTableView* list, int section)
    {
        QList<PostPtr> posts;
        for (const ModelPtr& object : list->rowsForSection(section)) {
            if (PostPtr post = std::dynamic_pointer_cast<Post>(object))
                posts.append(post);
        }
        return posts;
    }
    static QList<qint32> idsOf(PaginableTableView* list, int section)
    {
        QList<qint32> ids;
        for (const PostPtr& post : postsOf(list, section))
            ids.append(post->postid());
        return ids;
    }
    static int rowOf(PaginableTableView* list, int section, qint32 postid)
    {
        const QList<PostPtr> posts = postsOf(list, section);
        for (int row = 0; row < posts.size(); ++row) {
            if (posts.at(row)->postid() == postid)
                return row;
        }
        return -1;
    }
    // The row's cell, scrolled into view.
    static TableViewCell* showRow(PaginableTableView* list, int section, int row)
    {
        const IndexPath path = IndexPath::indexPathForRow(row, section);
        list->tableView()->scrollToRowAtIndexPath(path, TableViewScrollPosition::Top, false);
        TestSupport::processEvents();
        return list->tableView()->cellForRowAtIndexPath(path);
    }
    // A frame as the window draws it: only what changed since the last one.
    void drawFrame()
    {
        clock()->advance(16);
        TestSupport::processEvents();
        ShownPixels::drawFrame(window.get());
    }
    int stalePixels() const { return ShownPixels::stale(window.get()); }
    static void selectRow(PaginableTableView* list, int section, int row)
    {
        showRow(list, section, row);
        list->didSelectRowAtIndexPath(list->tableView(), IndexPath::indexPathForRow(row, section));
    }
};

}  // namespace

TEST_F(ThreadPageScenarioTest, AGuestReadsTheThreadFromPageOneToTheLastAndByTheFirstUnreadPost)
{
    openGuestSession();
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    const auto screen = openThread(thread);
    PaginableTableView* list = screen->postTable();
    ShadowedTableView* table = list->tableView();

    // Page 1: ten posts under the thread's title; the forum's ignored member
    // collapsed to 90 points, every other row at least 70 and as high as its text.
    ASSERT_EQ(forum().requests(QStringLiteral("showthread")).size(), 1);
    EXPECT_EQ(screen->title(), QStringLiteral("The big tips & tricks thread"));
    EXPECT_EQ(screen->titleForTheFirstSection(), QStringLiteral("The big tips & tricks thread"));
    const QList<PostPtr> first = postsOf(list, 0);
    ASSERT_EQ(first.size(), 10);
    EXPECT_EQ(first.first()->postid(), 5000);
    for (int row = 0; row < first.size(); ++row) {
        const qreal height = table->rectForRowAtIndexPath(IndexPath::indexPathForRow(row, 0)).height();
        if (first.at(row)->ignoreGlobal())
            EXPECT_EQ(height, 90.0) << row;
        else
            EXPECT_EQ(height, qMax(70.0, PostCell::heightForPost(*first.at(row)))) << row;
    }
    // A row of plain text: the text stands about midway in the room the row
    // keeps besides it, under the header.
    auto* welcome = qobject_cast<PostCell*>(showRow(list, 0, 0));
    ASSERT_NE(welcome, nullptr);
    const QList<PostTextView*> texts = welcome->findChildren<PostTextView*>();
    ASSERT_EQ(texts.size(), 1);
    const QRectF text(texts.first()->mapTo(welcome, QPoint(0, 0)), texts.first()->frame().size());
    const qreal above = text.top() - welcome->headerRect().bottom();
    const qreal below = table->rectForRowAtIndexPath(IndexPath::indexPathForRow(0, 0)).height() - text.bottom();
    EXPECT_GE(above, 8.0);
    EXPECT_LE(below, above + 6.0);

    const int spam = rowOf(list, 0, 5008);
    ASSERT_GE(spam, 0);
    EXPECT_NE(qobject_cast<PostCellIgnoreGlobal*>(showRow(list, 0, spam)), nullptr);
    EXPECT_NE(qobject_cast<PostCell*>(showRow(list, 0, 0)), nullptr);

    // The tab bar: reload and first unread; no subscription for a guest, no
    // moderation or search yet; first unread usable once a page block came.
    TabBarHidding* bar = screen->actions();
    EXPECT_EQ(bar->frame(), QRectF(0, 367, 320, 49));
    EXPECT_EQ(list->frame().height(), 367);
    EXPECT_FALSE(bar->isHiddenAtIndex(PostController::Reload));
    EXPECT_TRUE(bar->isHiddenAtIndex(PostController::Subscribe));
    EXPECT_TRUE(bar->isHiddenAtIndex(PostController::Moderate));
    EXPECT_TRUE(bar->isHiddenAtIndex(PostController::SearchInThread));
    EXPECT_TRUE(screen->item(PostController::FirstUnread)->isEnabled());
    EXPECT_TRUE(screen->loadingWrapper()->isHidden());
    EXPECT_EQ(screen->item(PostController::FirstUnread)->title(), QStringLiteral("First unread"));

    // Page by page from the strip, to the last page: the posts follow each
    // other (a guest does not see the one waiting for approval), the thanks
    // last, and no row that loads more.
    QList<qint32> read;
    for (const PostPtr& post : first)
        read.append(post->postid());
    for (unsigned page = 2; page <= 5; ++page) {
        list->navView()->setSelectedPage(page);
        settleAll();
        const QList<PostPtr> posts = postsOf(list, 0);
        ASSERT_FALSE(posts.isEmpty()) << page;
        EXPECT_GT(posts.first()->postid(), read.last()) << page;
        for (const PostPtr& post : posts)
            read.append(post->postid());
    }
    EXPECT_EQ(read.size(), 49);
    EXPECT_FALSE(read.contains(5009));
    EXPECT_EQ(read.last(), 5049);
    // The last page's posts end the list: a guest has no quick-reply row.
    EXPECT_EQ(table->numberOfRowsInSection(0), postsOf(list, 0).size());
    EXPECT_EQ(screen->quickReply(), nullptr);
    EXPECT_EQ(list->navView()->currentPage(), 5u);

    // The first unread post: the forum chooses the page, the strip follows.
    forum().delayMethod(QStringLiteral("api_gotonewpost"), 200);
    bar->tapItem(screen->item(PostController::FirstUnread));
    EXPECT_FALSE(screen->loadingWrapper()->isHidden()) << "the box shows while the page is on its way";
    settleAll();
    ASSERT_EQ(forum().requests(QStringLiteral("api_gotonewpost")).size(), 1);
    EXPECT_TRUE(screen->loadingWrapper()->isHidden());
    const unsigned chosen = thread->pagenumber();
    EXPECT_GE(chosen, 1u);
    EXPECT_EQ(list->navView()->selectedPage(), chosen);
    EXPECT_EQ(postsOf(list, 0).first()->postid(), read.at(10 * (chosen - 1)));
    EXPECT_EQ(bar->selectedItem(), nullptr);

    // Reload asks for the page on screen again.
    const qsizetype asked = forum().requests(QStringLiteral("showthread")).size();
    bar->tapItem(screen->item(PostController::Reload));
    settleAll();
    ASSERT_EQ(forum().requests(QStringLiteral("showthread")).size(), asked + 1);
    EXPECT_EQ(forum().requests(QStringLiteral("showthread")).last().field(QStringLiteral("pagenumber")),
              QString::number(chosen));
}

TEST_F(ThreadPageScenarioTest, PostsOpenAloneWithTheirPicturesAndLinksLeaveTheApplication)
{
    openGuestSession();
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    const auto screen = openThread(thread);
    PaginableTableView* list = screen->postTable();

    // A deleted post opens nothing.
    const int deleted = rowOf(list, 0, 5010);
    ASSERT_GE(deleted, 0);
    ASSERT_TRUE(postsOf(list, 0).at(deleted)->isDeleted());
    selectRow(list, 0, deleted);
    settleAll();
    EXPECT_EQ(navigation->viewControllers().size(), 1);

    // The pictures post opens alone: its text, its two pictures linked under
    // it, the signature after the page's end.
    list->navView()->setSelectedPage(2);
    settleAll();
    const int pictures = rowOf(list, 0, 5011);
    ASSERT_GE(pictures, 0);
    savePicture(QStringLiteral("thread-page-2.png"));
    selectRow(list, 0, pictures);
    settleAll();
    ASSERT_EQ(navigation->viewControllers().size(), 2);
    auto* details = dynamic_cast<PostDetailsController*>(navigation->topViewController());
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->post()->postid(), 5011);
    EXPECT_EQ(details->name()->text(), QStringLiteral("alice"));
    const QString page = details->page();
    EXPECT_TRUE(page.startsWith(QStringLiteral("<html><style type=\"text/css\">body { font: 13px Verdana;")));
    EXPECT_TRUE(page.contains(QStringLiteral("<div style=\"width:310px\">")));
    EXPECT_EQ(page.count(QStringLiteral("<img style=\"border:1px solid #eee\" src=\"")), 2);
    EXPECT_TRUE(page.contains(QStringLiteral("</a><br /><a href=\"")));
    EXPECT_FALSE(page.contains(QStringLiteral("(null)")));
    EXPECT_TRUE(page.contains(QStringLiteral("</body></html>")));
    EXPECT_TRUE(details->web()->shownText().contains(QStringLiteral("Pictures in posts")));
    EXPECT_TRUE(details->actions()->isHidden()) << "reporting, replying, editing and quoting come later";
    // The pictures come through the image cache.
    EXPECT_TRUE(waitFor([&] { return forum().requests().size() > 0 && settle(); }));
    TestSupport::processEvents();
    savePicture(QStringLiteral("post-alone-pictures.png"));

    // A tidy phone page: the text at its line height, the chart right under
    // it, then the two pictures, each at most as wide as the page, none over
    // another, and the page no longer than its pictures and a few lines.
    WebView* web = details->web();
    const QList<QRectF> lines = web->lineFrames();
    const QList<QRectF> shown = web->pictureFrames();
    ASSERT_GE(lines.size(), 2);
    ASSERT_EQ(shown.size(), 4) << "the chart, the two pictures and the signature's smilie";
    const qreal textLine = lines.first().height();
    EXPECT_LT(textLine, 24);
    EXPECT_EQ(lines.at(1).height(), textLine);
    EXPECT_LE(shown.first().top(), lines.at(1).bottom() + 1);
    qreal picturesHeight = 0;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        EXPECT_LE(shown.at(i).width(), web->frame().width() - 16) << i;
        EXPECT_GE(shown.at(i).height(), 18) << i;
        picturesHeight += shown.at(i).height();
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            EXPECT_TRUE(shown.at(i).intersected(shown.at(j)).isEmpty()) << i << " and " << j;
    }
    EXPECT_LE(web->contentSize().height(), picturesHeight + 6 * textLine + 16);

    // Web links leave the application and the page stays; other links are refused.
    details->web()->clickLink(QUrl(QStringLiteral("HTTPS://example.org/tips")));
    ASSERT_EQ(openedOutside.size(), 1);
    EXPECT_EQ(openedOutside.first(), QUrl(QStringLiteral("HTTPS://example.org/tips")));
    EXPECT_EQ(details->page(), page);
    EXPECT_FALSE(details->shouldStartLoadWithRequest(details->web(), QUrl(QStringLiteral("http://a.org")),
                                                     WebViewNavigationType::LinkClicked));
    EXPECT_FALSE(details->shouldStartLoadWithRequest(details->web(), QUrl(QStringLiteral("mailto:a@b.org")),
                                                     WebViewNavigationType::LinkClicked));
    EXPECT_TRUE(details->shouldStartLoadWithRequest(details->web(), QUrl(QStringLiteral("http://a.org")),
                                                    WebViewNavigationType::Other));
    navigation->popViewControllerAnimated(false);
    settleAll();

    // A post by its id alone fills itself from the page that holds it.
    auto alone = std::make_shared<PostDetailsController>(context());
    alone->setPost(Post::initWithPostid(5013));
    navigation->pushViewController(alone, false);
    settleAll();
    EXPECT_EQ(alone->name()->text(), QStringLiteral("moderator"));
    EXPECT_TRUE(alone->page().contains(QStringLiteral("Nice showcase")));
    EXPECT_TRUE(alone->web()->shownText().contains(QStringLiteral("Keep the tips coming")));
    // Its author's picture is asked for once the answer names it.
    EXPECT_TRUE(waitFor([&] { return settle() && !alone->avatar()->isHidden(); }));
    savePicture(QStringLiteral("post-alone-quote.png"));
}

TEST_F(ThreadPageScenarioTest, IgnoredPostsShowOnDemandUntilThePagesAreEmptied)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    const auto screen = openThread(thread);
    PaginableTableView* list = screen->postTable();
    const int frank = rowOf(list, 0, 5007);
    ASSERT_GE(frank, 0);
    const PostPtr hidden = postsOf(list, 0).at(frank);
    ASSERT_TRUE(hidden->userIgnore());
    auto* collapsed = qobject_cast<PostCellUserIgnore*>(showRow(list, 0, frank));
    ASSERT_NE(collapsed, nullptr);
    EXPECT_EQ(list->tableView()->rectForRowAtIndexPath(IndexPath::indexPathForRow(frank, 0)).height(), 90.0);
    savePicture(QStringLiteral("thread-page-ignored.png"));

    // "View post": the post shows in full while the member stays ignored.
    collapsed->viewPost()->sendActionsForControlEvents(ControlEvent::TouchUpInside);
    TestSupport::processEvents();
    EXPECT_TRUE(screen->isShownEvenIgnored(hidden.get()));
    EXPECT_TRUE(hidden->userIgnore());
    auto* full = showRow(list, 0, frank);
    EXPECT_EQ(qobject_cast<PostCellUserIgnore*>(full), nullptr);
    ASSERT_NE(qobject_cast<PostCell*>(full), nullptr);
    EXPECT_TRUE(qobject_cast<PostCell*>(full)->force());
    EXPECT_EQ(list->tableView()->rectForRowAtIndexPath(IndexPath::indexPathForRow(frank, 0)).height(),
              qMax(70.0, PostCell::heightForPost(*hidden)));

    // The page comes again: new post objects, collapsed again, and the
    // choice is let go with the old ones.
    screen->actions()->tapItem(screen->item(PostController::Reload));
    settleAll();
    const PostPtr again = postsOf(list, 0).at(rowOf(list, 0, 5007));
    EXPECT_NE(again, hidden);
    EXPECT_FALSE(screen->isShownEvenIgnored(hidden.get()));
    EXPECT_NE(qobject_cast<PostCellUserIgnore*>(showRow(list, 0, rowOf(list, 0, 5007))), nullptr);

    // Selecting a collapsed row opens the post.
    selectRow(list, 0, rowOf(list, 0, 5007));
    settleAll();
    auto* details = dynamic_cast<PostDetailsController*>(navigation->topViewController());
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->post()->postid(), 5007);
}

TEST_F(ThreadPageScenarioTest, AMemberSubscribesFromTheTabBar)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    const auto screen = openThread(thread);
    TabBarHidding* bar = screen->actions();
    ASSERT_FALSE(bar->isHiddenAtIndex(PostController::Subscribe));
    EXPECT_EQ(screen->item(PostController::Subscribe)->title(), QStringLiteral("Subscribe"));

    bar->tapItem(screen->item(PostController::Subscribe));
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    std::shared_ptr<AlertView> alert = AlertView::visibleAlerts().first();
    EXPECT_EQ(alert->title(), QStringLiteral("Subscription"));
    EXPECT_EQ(alert->message(), QStringLiteral("Subscribe to this thread?"));
    EXPECT_EQ(alert->buttonTitles(), QStringList({QStringLiteral("Cancel"), QStringLiteral("Yes")}));
    alert->dismissWithClickedButtonIndex(0);
    EXPECT_FALSE(thread->isSubscribed()) << "cancel does nothing";

    bar->tapItem(screen->item(PostController::Subscribe));
    AlertView::visibleAlerts().first()->dismissWithClickedButtonIndex(1);
    EXPECT_TRUE(thread->isSubscribed());
    EXPECT_EQ(screen->item(PostController::Subscribe)->title(), QStringLiteral("Unsubscribe"));
    settleAll();
    EXPECT_TRUE(forum().subscribedThreads(forum().memberId(QStringLiteral("bob"))).contains(1101));
}

TEST_F(ThreadPageScenarioTest, ScrollingMeasuresNothingAgainAndAScreenWithoutThreadAsksForNothing)
{
    openGuestSession();
    const auto screen = openThread(Thread::initWithThreadid(1101));
    PaginableTableView* list = screen->postTable();
    ShadowedTableView* table = list->tableView();
    const qint64 measured = screen->heights().measureCount();
    EXPECT_EQ(measured, 9) << "ten rows, one of them collapsed";
    savePicture(QStringLiteral("thread-page-1.png"));

    // Top to bottom and back, a frame at a time: rows coming into view are
    // filled, but no height is measured again, their texts are drawn from
    // the lay-outs that measured their heights, and a frame drawn twice lays
    // out no text.
    const qint64 laidOut = PostTextView::layoutCount();
    const qreal bottom = table->maximumContentOffset().y() - 60;  // short of the row that loads page 2
    for (qreal y = 0; y <= bottom; y += 40)
        table->setContentOffset(QPointF(0, y));
    for (qreal y = bottom; y >= 0; y -= 40)
        table->setContentOffset(QPointF(0, y));
    EXPECT_EQ(PostTextView::layoutCount(), laidOut) << "rows coming into view lay none of their texts out again";
    table->reloadData();
    EXPECT_EQ(screen->heights().measureCount(), measured);
    table->setContentOffset(QPointF(0, 300));
    (void)window->grab();
    savePicture(QStringLiteral("thread-page-1-quotes.png"));
    const qint64 layouts = PostTextView::layoutCount();
    (void)window->grab();
    (void)window->grab();
    EXPECT_EQ(PostTextView::layoutCount(), layouts);
    const qint64 measuredLines = TextLayout::measureCount();
    (void)table->grab();
    (void)table->grab();
    EXPECT_EQ(TextLayout::measureCount(), measuredLines) << "the rows' right-aligned dates are measured once";

    // The desktop's keyboard takes no room: nothing moves while a field is
    // edited. A keyboard of the phone's 216 points would leave the table
    // the 170 points above it, and it comes back after.
    const QRectF resting = table->frame();
    const QPointF scrolled = table->contentOffset();
    Keyboard::setShown(true);
    EXPECT_EQ(table->frame(), resting);
    EXPECT_EQ(table->contentOffset(), scrolled);
    Keyboard::setShown(false);
    EXPECT_EQ(table->frame(), resting);
    EXPECT_EQ(table->contentOffset(), scrolled);
    KeyboardInfo phone;
    phone.frameEnd = QRectF(0, 480 - 216, 320, 216);
    screen->keyboardWillShow(phone);
    EXPECT_EQ(table->frame().height(), 170);
    screen->keyboardWillHide(phone);
    EXPECT_EQ(table->frame().height(), list->frame().height() - table->frame().y());

    // No thread: no sections, no request.
    const qsizetype asked = forum().requests(QStringLiteral("showthread")).size();
    auto empty = std::make_shared<PostController>(context());
    navigation->pushViewController(empty, false);
    settleAll();
    EXPECT_EQ(empty->postTable()->tableView()->numberOfSections(), 0);
    EXPECT_EQ(forum().requests(QStringLiteral("showthread")).size(), asked);
    empty->actions()->tapItem(empty->item(PostController::Reload));
    empty->actions()->tapItem(empty->item(PostController::FirstUnread));
    settleAll();
    EXPECT_EQ(forum().requests(QStringLiteral("showthread")).size(), asked);
    EXPECT_TRUE(forum().requests(QStringLiteral("api_gotonewpost")).isEmpty());
}

TEST_F(ThreadPageScenarioTest, EveryScrolledFrameShowsWhatAFreshDrawingOfThePageShows)
{
    openGuestSession();
    const auto screen = openThread(Thread::initWithThreadid(1101));
    ShadowedTableView* table = screen->postTable()->tableView();
    ASSERT_TRUE(window->windowHandle() && window->windowHandle()->isExposed());
    const auto frame = [&] { drawFrame(); };
    const auto same = [&](const char* where) { EXPECT_EQ(stalePixels(), 0) << where; };

    // The members' pictures are in before the drag: what is judged here is
    // the pixels scrolling keeps, not when a picture comes.
    const QList<PostPtr> posts = postsOf(screen->postTable(), 0);
    for (const PostPtr& post : posts)
        post->loadImages();
    ASSERT_TRUE(waitFor([&] {
        return std::all_of(posts.begin(), posts.end(),
                           [](const PostPtr& post) { return post->picurl().isEmpty() || !post->pic().isNull(); });
    }));
    frame();

    // A member's drag down the page and back up, a frame at a time, the
    // event loop drawing each: whole points, half points, and beyond the
    // top edge, where the shadow under the top edge shows. Each frame is
    // judged: a whole-point step moves the drawn pixels, and what is drawn
    // fixed to the visible area (the indicator, the shadow) must not move
    // with them.
    const auto judged = [&](const char* where) {
        frame();
        const int stale = stalePixels();
        EXPECT_EQ(stale, 0) << where << " at " << table->contentOffset().y();
        return stale == 0;
    };
    const QPointF start(160, 300);
    table->beginDragging(start);
    for (qreal dy = 0; dy <= 420; dy += 17.5) {
        table->dragTo(start - QPointF(0, dy));
        if (!judged("dragging down, the indicator shown"))
            break;
    }
    for (qreal dy = 420; dy >= -45; dy -= 15) {
        table->dragTo(start - QPointF(0, dy));
        if (!judged("dragging up and past the top"))
            break;
    }
    table->endDragging();
    for (int i = 0; i < 40; ++i)
        frame();
    Animator::shared().finishAll();
    frame();
    same("sprung back");

    // The wheel and the keys, frame by frame, to a quoted post.
    const QPointF onPage = table->mapTo(window.get(), QPointF(160, 200));
    for (int i = 0; i < 8; ++i) {
        UserInput::wheel(window.get(), onPage, QPoint(0, -120));
        if (!judged("turning the wheel"))
            break;
    }
    // The page has the keys as a click on it gives them (a click here would
    // also open the post under it).
    table->setFocus(Qt::MouseFocusReason);
    for (int i = 0; i < 3; ++i) {
        UserInput::key(Qt::Key_Up, Qt::NoModifier, QString(), window.get());
        if (!judged("after the arrow keys"))
            break;
    }
    savePicture(QStringLiteral("thread-page-1-scrolled.png"));
}

TEST_F(ThreadPageScenarioTest, MembersPicturesArrivingWhileTheUserDragsThePageShowWhole)
{
    openGuestSession();
    const auto screen = openThread(Thread::initWithThreadid(1101));
    PaginableTableView* list = screen->postTable();
    ShadowedTableView* table = list->tableView();
    ASSERT_TRUE(window->windowHandle() && window->windowHandle()->isExposed());
    const QList<PostPtr> posts = postsOf(list, 0);
    const auto pictured = [&] {
        return int(std::count_if(posts.begin(), posts.end(), [](const PostPtr& post) { return !post->pic().isNull(); }));
    };
    // Rows coming into view ask for their members' pictures: each is let in
    // before the drag goes on, so that it lands in the middle of the drag.
    const auto picturesInView = [&] {
        for (const IndexPath& path : table->indexPathsForVisibleRows()) {
            if (path.section == 0 && path.row < posts.size()) {
                const PostPtr& post = posts.at(path.row);
                if (!post->picurl().isEmpty() && post->pic().isNull())
                    return false;
            }
        }
        return true;
    };
    const int before = pictured();

    // The member presses on the page and drags it up, then back down, by
    // uneven steps; the window draws a frame after each.
    const QPointF start = table->convertPoint(table->contentOffset() + QPointF(160, 300), nullptr);
    UserInput::press(window.get(), start);
    drawFrame();
    qreal dy = 0;
    const auto dragTo = [&](qreal to) {
        dy = to;
        UserInput::move(window.get(), start - QPointF(0, dy));
        ASSERT_TRUE(waitFor(picturesInView));
        drawFrame();
    };
    for (qreal to = 8.5; to <= 300; to += 23.5)
        dragTo(to);
    EXPECT_EQ(stalePixels(), 0) << "dragged up, " << pictured() - before << " pictures in";
    for (qreal to = dy; to >= 100; to -= 37.5)
        dragTo(to);
    EXPECT_EQ(stalePixels(), 0) << "dragged back";
    UserInput::release(window.get(), start - QPointF(0, dy));
    // The drag went through the window system, and pictures came during it.
    EXPECT_GT(table->contentOffset().y(), 50);
    EXPECT_GT(pictured(), before);
    for (int i = 0; i < 40; ++i)
        drawFrame();
    Animator::shared().finishAll();
    drawFrame();
    EXPECT_EQ(stalePixels(), 0) << "at rest";
}

TEST_F(ThreadPageScenarioTest, EmojiInPostsShowInColourBesideTheLetters)
{
    openGuestSession();
    const auto screen = openThread(Thread::initWithThreadid(310));
    PaginableTableView* list = screen->postTable();
    const QList<PostPtr> posts = postsOf(list, 0);
    ASSERT_EQ(posts.size(), 3);
    savePicture(QStringLiteral("thread-page-emoji.png"));

    // "Count me in" and a thumb: the thumb is a picture in colour, on the
    // letters' line.
    auto* cell = qobject_cast<PostCell*>(showRow(list, 0, 1));
    ASSERT_NE(cell, nullptr);
    auto* text = cell->message()->findChild<PostTextView*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->text().startsWith(QStringLiteral("Count me in")));
    const QImage drawn = Screenshot::render(text, 4);
    int coloured = 0;
    int top = drawn.height();
    int bottom = -1;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor c = drawn.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 40) {
                ++coloured;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    const qreal line = Font::lineHeight(text->font());
    EXPECT_GT(coloured, 100);
    EXPECT_GE(bottom - top + 1, 0.85 * line * 4) << "the thumb stands as tall as the line of letters";
    EXPECT_EQ(text->sizeThatFits(QSizeF(text->frame().width(), 0)).height(), std::ceil(line - 0.001))
        << "one line, as high as the letters'";
}

TEST_F(ThreadPageScenarioTest, TheFirstUnreadPostCancelsThePageItReplacesAndPagesFollowEachOther)
{
    // Alice reads page 2, goes back to page 1 from the strip and, while it
    // is on its way, asks for her first unread post.
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    const auto screen = openThread(thread);
    screen->postTable()->navView()->setSelectedPage(2);
    settleAll();
    forum().delayMethod(QStringLiteral("showthread"), 300);
    screen->postTable()->navView()->setSelectedPage(1);
    ASSERT_TRUE(screen->item(PostController::FirstUnread)->isEnabled());
    screen->actions()->tapItem(screen->item(PostController::FirstUnread));
    settleAll();

    // The forum's page of the first unread post, alone: page 1 answered
    // nothing to the list it no longer belongs to.
    PaginableTableView* list = screen->postTable();
    const unsigned chosen = list->navView()->selectedPage();
    ASSERT_EQ(chosen, 3u);
    ShadowedTableView* table = list->tableView();
    EXPECT_EQ(table->numberOfSections(), 1);
    EXPECT_FALSE(thread->pages().contains(QStringLiteral("1")));
    // (Erin's post 5009 waits for approval: pages after the first start one further on.)
    EXPECT_EQ(postsOf(list, 0).first()->postid(), 5021);

    // Scrolling on: every page after the one before it, each under its own
    // header, and every page asked for once.
    for (int i = 0; i < 4; ++i) {
        table->setContentOffset(table->maximumContentOffset());
        settleAll();
    }
    ASSERT_EQ(table->numberOfSections(), 3);
    QList<qint32> previous;
    for (int section = 0; section < 3; ++section) {
        const QList<PostPtr> posts = postsOf(list, section);
        ASSERT_FALSE(posts.isEmpty()) << section;
        EXPECT_EQ(list->pageForSection(section), chosen + section);
        EXPECT_EQ(posts.first()->postid(), 5001 + 10 * int(chosen - 1 + section)) << section;
        if (!previous.isEmpty()) {
            EXPECT_GT(posts.first()->postid(), previous.last()) << section;
        }
        for (const PostPtr& post : posts)
            previous.append(post->postid());
    }
    auto* header = dynamic_cast<Label*>(table->headerViewForSection(1));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text(), QStringLiteral("    Page 4"));
    QStringList asked;
    for (const TestForumRequest& request : forum().requests(QStringLiteral("showthread")))
        asked.append(request.field(QStringLiteral("pagenumber")));
    EXPECT_EQ(asked.count(QStringLiteral("4")), 1) << asked.join(u',').toStdString();
    EXPECT_EQ(asked.count(QStringLiteral("5")), 1) << asked.join(u',').toStdString();
    EXPECT_EQ(previous.last(), 5049);
}

TEST_F(ThreadPageScenarioTest, AnErrorOnAPageChangeKeepsThePageShownAndSaysOnceWhatWentWrong)
{
    openGuestSession();
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    const auto screen = openThread(thread);
    PaginableTableView* list = screen->postTable();
    ShadowedTableView* table = list->tableView();
    PageNavView* strip = list->navView();
    const QList<qint32> first = idsOf(list, 0);
    ASSERT_EQ(first.size(), 10);

    // The forum refuses page 2.
    forum().answerError(QStringLiteral("showthread"), QStringLiteral("invalidid"));
    tap(strip->table()->convertPoint(QPointF(1 * PageNavView::kRowWidth + 25, 15), nullptr));
    settleAll();
    ASSERT_EQ(forum().requests(QStringLiteral("showthread")).last().field(QStringLiteral("pagenumber")),
              QStringLiteral("2"));
    EXPECT_EQ(idsOf(list, 0), first) << "the page shown stays";
    EXPECT_EQ(table->numberOfSections(), 1);
    EXPECT_EQ(table->rectForHeaderInSection(0).height(), 30.0) << "the title band stays";
    EXPECT_FALSE(strip->isHidden());
    EXPECT_EQ(strip->selectedPage(), 1u);
    EXPECT_EQ(strip->currentPage(), 1u);
    ASSERT_GE(strip->selectedRow(), 0);
    EXPECT_EQ(strip->cellForRow(strip->selectedRow())->number()->text(), QStringLiteral("1"));
    EXPECT_TRUE(screen->loadingWrapper()->isHidden());
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), tableText(QStringLiteral("invalidid")));
    savePicture(QStringLiteral("thread-page-after-error.png"));
    dismissAlerts();

    // No answer at all, from the first unread post: the same.
    forum().dropConnection(QStringLiteral("api_gotonewpost"), 3, TestForum::Drop::BeforeAnswer);
    screen->actions()->tapItem(screen->item(PostController::FirstUnread));
    settleAll();
    EXPECT_EQ(idsOf(list, 0), first);
    EXPECT_EQ(strip->selectedPage(), 1u);
    EXPECT_EQ(list->pageForSection(0), 1u);
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1);
    dismissAlerts();

    // The list goes on from there: page 2 below page 1.
    table->setContentOffset(table->maximumContentOffset());
    settleAll();
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(postsOf(list, 1).first()->postid(), 5011);
}

TEST_F(ThreadPageScenarioTest, AFirstPageThatDoesNotComeSaysSoInThePageAndOffersItAgain)
{
    openGuestSession();
    // The answer breaks off halfway, every time it is asked for (the
    // client's own second try included).
    forum().dropConnection(QStringLiteral("showthread"), -1, TestForum::Drop::MidBody);
    const auto screen = openThread(Thread::initWithThreadid(1101));
    PaginableTableView* list = screen->postTable();
    ShadowedTableView* table = list->tableView();
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1) << "said once";
    dismissAlerts();

    // The page itself says what happened, and offers the page again.
    ASSERT_EQ(table->numberOfSections(), 1);
    ASSERT_EQ(table->numberOfRowsInSection(0), 1);
    auto* failed = dynamic_cast<PageFailedCell*>(table->cellForRowAtIndexPath(IndexPath{0, 0}));
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->status()->headline(), Bundle::main().localizedString(QStringLiteral("page_load_failed")));
    EXPECT_FALSE(failed->status()->message().trimmed().isEmpty()) << "and why";
    ASSERT_TRUE(failed->status()->offersRetry());
    EXPECT_TRUE(screen->loadingWrapper()->isHidden());
    savePicture(QStringLiteral("thread-page-failed.png"));

    // The forum answers again: the button brings the page.
    forum().clearControls();
    tap(failed->status()->retryButton()->convertPoint(failed->status()->retryButton()->bounds().center(), nullptr));
    settleAll();
    EXPECT_EQ(idsOf(list, 0).size(), 10);
    EXPECT_EQ(AlertView::visibleAlerts().size(), 0);
    EXPECT_EQ(dynamic_cast<PageFailedCell*>(table->cellForRowAtIndexPath(IndexPath{0, 0})), nullptr);
}

TEST_F(ThreadPageScenarioTest, NoPageBeyondTheLastIsAskedForAfterTheLastPagesAreReloaded)
{
    openGuestSession();
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    const auto screen = openThread(thread);
    PaginableTableView* list = screen->postTable();
    ShadowedTableView* table = list->tableView();

    // Pages 4 and 5, the last, then the reload of page 4 and the end of the list.
    list->navView()->setSelectedPage(4);
    settleAll();
    table->setContentOffset(table->maximumContentOffset());
    settleAll();
    ASSERT_EQ(table->numberOfSections(), 2);
    screen->actions()->tapItem(screen->item(PostController::Reload));
    settleAll();
    EXPECT_EQ(forum().requests(QStringLiteral("showthread")).last().field(QStringLiteral("pagenumber")),
              QStringLiteral("4"));
    for (int i = 0; i < 3; ++i) {
        table->setContentOffset(QPointF(0, 0));
        table->setContentOffset(table->maximumContentOffset());
        settleAll();
    }
    for (const TestForumRequest& request : forum().requests(QStringLiteral("showthread")))
        EXPECT_LE(request.field(QStringLiteral("pagenumber")).toInt(), 5);
    ASSERT_EQ(table->numberOfSections(), 2);
    // The last page's posts end the list: no row that loads more (and no
    // quick-reply row for a guest).
    EXPECT_EQ(table->numberOfRowsInSection(1), int(postsOf(list, 1).size()));
    EXPECT_EQ(postsOf(list, 1).last()->postid(), 5049);
}

TEST_F(ThreadPageScenarioTest, NestedQuotesAreBoxesInBoxesOnTheThreadPageAndInThePostAlone)
{
    openGuestSession();
    const auto screen = openThread(Thread::initWithThreadid(1101));
    PaginableTableView* list = screen->postTable();

    // Dave quotes carol, who quotes bob, who quotes alice.
    const int row = rowOf(list, 0, 5003);
    ASSERT_GE(row, 0);
    auto* cell = qobject_cast<PostCell*>(showRow(list, 0, row));
    ASSERT_NE(cell, nullptr);
    QList<RoundedRectView*> boxes = cell->findChildren<RoundedRectView*>();
    std::sort(boxes.begin(), boxes.end(), [cell](RoundedRectView* a, RoundedRectView* b) {
        return a->mapTo(cell, QPoint(0, 0)).x() < b->mapTo(cell, QPoint(0, 0)).x();
    });
    ASSERT_EQ(boxes.size(), 3);
    for (int level = 0; level < 3; ++level) {
        RoundedRectView* box = boxes.at(level);
        if (level > 0) {
            EXPECT_EQ(box->superview(), boxes.at(level - 1)) << level;
        }
        // The author's line stands clear of the box's top edge; a text after
        // an inner box stands clear of that box.
        QList<PostTextView*> texts;
        for (View* child : box->subviews()) {
            if (auto* text = qobject_cast<PostTextView*>(child))
                texts.append(text);
        }
        ASSERT_FALSE(texts.isEmpty()) << level;
        EXPECT_GE(texts.first()->frame().top(), 4.0) << level;
        if (level < 2) {
            EXPECT_GE(texts.last()->frame().top(), boxes.at(level + 1)->frame().bottom() + 4.0) << level;
        }
    }
    EXPECT_TRUE(qobject_cast<PostTextView*>(boxes.at(2)->subviews().first())->text().startsWith(QStringLiteral("alice:")));
    list->tableView()->scrollToRowAtIndexPath(IndexPath::indexPathForRow(row, 0), TableViewScrollPosition::Top, false);
    savePicture(QStringLiteral("thread-page-nested-quotes.png"));

    // Alone, the post draws each quote as its own bordered box, one in the other.
    selectRow(list, 0, row);
    settleAll();
    auto* details = dynamic_cast<PostDetailsController*>(navigation->topViewController());
    ASSERT_NE(details, nullptr);
    const QList<QRectF> web = details->web()->boxFrames();
    ASSERT_EQ(web.size(), 3);
    for (int level = 1; level < 3; ++level) {
        EXPECT_TRUE(web.at(level - 1).contains(web.at(level))) << level;
        EXPECT_GT(web.at(level).left(), web.at(level - 1).left()) << level;
        EXPECT_GT(web.at(level).top(), web.at(level - 1).top()) << level;
    }
    EXPECT_LE(web.first().right(), details->web()->frame().width());
    savePicture(QStringLiteral("post-alone-nested-quotes.png"));
}


TEST_F(ThreadPageScenarioTest, EveryPostRowIsAsHighAsWhatItDraws)
{
    // The moderator sees every post: waiting, deleted, with signatures,
    // pictures, files, nested quotes, edit notes and words longer than a line.
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    QSet<qint32> checked;
    for (const int threadid : {1101, 302, 308, 312, 603}) {
        const auto screen = openThread(Thread::initWithThreadid(threadid));
        ShadowedTableView* table = screen->postTable()->tableView();
        const QPointF onPage = table->mapTo(window.get(), QPointF(160, 200));
        // Down the whole thread with the wheel, later pages coming as the
        // end of the list shows; every full post row in view is looked at.
        QPointF last(-1, -1);
        for (int turn = 0; turn < 400 && (table->contentOffset() != last || screen->thread()->hasRequests()); ++turn) {
            last = table->contentOffset();
            for (TableViewCell* visible : table->visibleCells()) {
                auto* cell = qobject_cast<PostCell*>(visible);
                // Collapsed rows of ignored members have their fixed height.
                if (!cell || !cell->post() || cell->metaObject() != &PostCell::staticMetaObject
                    || checked.contains(cell->post()->postid()))
                    continue;
                const Post& post = *cell->post();
                // What the body draws, in the row: texts, boxes, strips, notices.
                qreal drawn = cell->message()->frame().top();
                std::function<void(View*)> walk = [&](View* view) {
                    for (View* part : view->subviews()) {
                        if (part->isHidden())
                            continue;
                        const QPointF top = part->mapTo(cell, QPoint(0, 0));
                        const auto* text = qobject_cast<PostTextView*>(part);
                        drawn = qMax(drawn, top.y() + (text ? text->currentLayout().height() : part->frame().height()));
                        walk(part);
                    }
                };
                walk(cell->message());
                // The body stands midway between the header and the row's end.
                const qreal above = cell->message()->frame().top() - cell->headerRect().bottom();
                const qreal measured = PostCell::heightForPost(post);
                EXPECT_EQ(measured, drawn + above) << "post " << post.postid() << " of thread " << threadid;
                const qreal row = table->rectForRowAtIndexPath(table->indexPathForCell(cell)).height();
                EXPECT_EQ(row, qMax(PostController::kMinimumRowHeight, measured)) << "post " << post.postid();
                EXPECT_EQ(cell->frame().height(), row) << "post " << post.postid();
                checked.insert(post.postid());
            }
            if (turn == 6 && threadid == 1101)
                savePicture(QStringLiteral("thread-page-rows-measured.png"));
            UserInput::wheel(window.get(), onPage, QPoint(0, -120));
            clock()->advance(16);
            settleAll();
        }
    }
    // Three nested quotes, the longest words, a deleted post, pictures with
    // a signature, an edit note, the last post of the big thread; the
    // pictures of the photo thread, a file, a route and the guide's pictures.
    for (const qint32 postid : {5003, 5004, 5010, 5011, 5013, 5049, 7, 8, 24, 32, 4905})
        EXPECT_TRUE(checked.contains(postid)) << "post " << postid << " was never in view";
}
