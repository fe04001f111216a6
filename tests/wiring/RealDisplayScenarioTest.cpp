#include "KeyboardScenario.h"
#include "ShownPixels.h"
#include "UserInput.h"
#include "XInput.h"

#include "app/media/ImageCache.h"
#include "app/model/ModelWithImage.h"
#include "app/screens/RegistrationController.h"
#include "app/widgets/FieldDateCell.h"
#include "app/widgets/FieldTextCell.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/RegistrationForm.h"
#include "app/widgets/SegmentControlHidding.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/cells/PostCell.h"
#include "forum/cells/QuickReplyCell.h"
#include "forum/model/Attachment.h"
#include "forum/model/Post.h"
#include "forum/model/QuickReply.h"
#include "forum/model/Thread.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostDetailsController.h"
#include "forum/screens/PostModerateController.h"
#include "forum/screens/SearchChoiceController.h"
#include "forum/screens/SearchController.h"
#include "forum/screens/SearchThreadController.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/ThreadModerateController.h"
#include "neighbours/screens/MyProfile.h"
#include "platform/ui/InputPanel.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QJsonArray>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <vector>

// A member's way from the login screen to a reply sent from a thread's
// quick-reply row, with the mouse and the keyboard alone. On an X display
// (scripts/check-on-x.sh runs it on Xvfb with QT_QPA_PLATFORM=xcb) every
// click, key and wheel notch goes through the X server, as a user's do, so
// the window system's own focus and pointer handling are in the walk; on the
// offscreen platform (ctest) they go through the window's queue.
class RealDisplayScenarioTest : public KeyboardScenario {
protected:
    Window* window() const { return Window::keyWindow(); }

    void clickAt(const QPointF& windowPoint)
    {
        if (XInput::available()) {
            ASSERT_TRUE(XInput::click(window(), windowPoint)) << "the click reached the window";
        } else {
            click(windowPoint);
        }
        finishAnimations();
    }
    void clickOn(View* view)
    {
        ASSERT_NE(view, nullptr);
        finishAnimations();
        clickAt(view->convertRect(view->bounds(), nullptr).center());
    }
    // The wheel turned over the view by some notches, toward the user when
    // positive. On X each notch is an event of its own, and the window may
    // draw once for several.
    void turnWheel(View* over, int notches)
    {
        const QPointF point = over->convertRect(over->bounds(), nullptr).center();
        if (XInput::available()) {
            const bool reached = notches > 0 ? XInput::scrollDown(window(), point, notches)
                                             : XInput::scrollUp(window(), point, -notches);
            ASSERT_TRUE(reached) << "the wheel reached the window";
        } else {
            // Without an X server the shared helper turns the wheel as the
            // window system would (a spontaneous event to the window).
            UserInput::wheel(window(), point, QPoint(0, -120 * notches));
        }
        finishAnimations();
    }
    // The wheel turned toward the user over the table until the row lies
    // whole in its visible part.
    void scrollToRow(TableView* table, const IndexPath& path)
    {
        for (int turn = 0; turn < 100; ++turn) {
            const QRectF row = table->rectForRowAtIndexPath(path);
            if (table->bounds().contains(row))
                return;
            ASSERT_NO_FATAL_FAILURE(turnWheel(table, 3));
        }
        FAIL() << "the row never came into view";
    }
    // The list given the keyboard as a press on it gives it (a short drag,
    // which opens no row), then Down until the row is its chosen one.
    void chooseByKeys(TableView* list, const IndexPath& row)
    {
        settleAndFinish();
        const QRectF inSight = list->convertRect(list->bounds(), nullptr);
        const QPointF from(inSight.center().x(), inSight.top() + inSight.height() / 3);
        const QPointF to = from - QPointF(0, 24);
        if (XInput::available()) {
            ASSERT_TRUE(XInput::drag(window(), from, to)) << "the drag reached the window";
        } else {
            UserInput::press(window(), from);
            for (int step = 1; step <= 4; ++step)
                UserInput::move(window(), from + (to - from) * step / 4.0);
            UserInput::release(window(), to);
        }
        // A page the drag brought in is in before a row is chosen.
        settleAndFinish();
        ASSERT_EQ(QApplication::focusWidget(), list) << "the press gave the list the keyboard";
        // A page the arrows bring in reloads the list, which may forget its
        // chosen row: once the page is in, the arrows choose it again.
        for (int tries = 0; tries < 3 && list->indexPathForSelectedRow() != row; ++tries) {
            for (int presses = 0; presses < 40 && list->indexPathForSelectedRow() != row; ++presses) {
                key(Qt::Key_Down);
                finishAnimations();
            }
            settleAndFinish();
        }
        ASSERT_EQ(list->indexPathForSelectedRow(), row) << "the arrows never reached the row";
    }
    // The row chosen with the keys shows the selection, as the display
    // shows it, and its neighbour does not; its texts read in white on the
    // blue, unless they are a post's own (`postBody`); its picture goes to
    // the gallery.
    void chosenRowIsMarked(TableView* list, const IndexPath& row, const QString& name, bool postBody = false)
    {
        if (auto* paged = qobject_cast<PaginableTableView*>(list->superview())) {
            ASSERT_NO_FATAL_FAILURE(picturesIn(paged));
        }
        ASSERT_NO_FATAL_FAILURE(chooseByKeys(list, row));
        const IndexPath neighbour{row.section, row.row > 0 ? row.row - 1 : row.row + 1};
        const QImage image = shown();
        EXPECT_GT(rowMarkShare(image, list, row), 0.25) << qPrintable(name) << ": the chosen row is marked";
        EXPECT_LT(rowMarkShare(image, list, neighbour), 0.05) << qPrintable(name) << ": only the chosen row is marked";
        if (!postBody) {
            EXPECT_LT(rowDarkShare(image, list, row), 0.005) << qPrintable(name) << ": the chosen row's texts are lit";
            EXPECT_GT(rowDarkShare(image, list, neighbour), 0.01) << qPrintable(name) << ": the check sees dark text";
        }
        picture(QStringLiteral("chosen-row-%1.png").arg(name));
    }
    // Every picture the list's rows show (the members', a post's
    // thumbnails), asked for and in: judged is what the wheel keeps, not
    // when a picture comes. Rows of a page that came in bring theirs.
    void picturesIn(PaginableTableView* list)
    {
        std::vector<std::shared_ptr<ModelWithImage>> asked;
        const auto ask = [&](const std::shared_ptr<ModelWithImage>& pictured) {
            if (pictured) {
                pictured->loadImages();
                asked.push_back(pictured);
            }
        };
        for (int section = 0; section < list->tableView()->numberOfSections(); ++section) {
            for (const ModelPtr& row : list->rowsForSection(section)) {
                ask(std::dynamic_pointer_cast<ModelWithImage>(row));
                if (const PostPtr post = std::dynamic_pointer_cast<Post>(row)) {
                    for (const AttachmentPtr& thumbnail : post->thumbnailattachments())
                        ask(thumbnail);
                }
            }
        }
        const auto arrived = [](const std::shared_ptr<ModelWithImage>& pictured) {
            bool all = true;
            pictured->imagesRequests().forEach([&](ImageCache* entry) { all = all && !entry->request(); });
            return all;
        };
        ASSERT_TRUE(waitUntil([&] { return std::all_of(asked.begin(), asked.end(), arrived); }))
            << "the rows' pictures never came";
    }
    // The wheel turned down the list, a notch and several at a time, past
    // the depth or to its end, then back to the top. After each turn the
    // window's pixels must be those a fresh drawing of it gives. On X, what
    // the display shows at the deepest point goes to the gallery.
    void everyTurnShowsAFreshDrawing(PaginableTableView* list, const QString& name, qreal depth)
    {
        everyTurnShowsAFreshDrawing(list->tableView(), name, depth, list);
    }
    void everyTurnShowsAFreshDrawing(TableView* table, const QString& name, qreal depth,
                                     PaginableTableView* pictured = nullptr)
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window()->windowHandle()));
        const qreal zoom = window()->devicePixelRatioF();
        const auto judged = [&](const char* way) {
            if (pictured)
                picturesIn(pictured);
            ShownPixels::drawFrame(window());
            const int stale = ShownPixels::stale(window());
            const QRect where = stale ? ShownPixels::staleBounds(window()) : QRect();
            EXPECT_EQ(stale, 0) << qPrintable(name) << ", " << way << ", at " << table->contentOffset().y()
                                << ", zoom " << zoom << ": pixels from (" << where.x() << ", " << where.y()
                                << ") to (" << where.right() << ", " << where.bottom() << ")";
            return stale == 0 && !HasFatalFailure();
        };
        ASSERT_TRUE(judged("at rest"));
        const int notches[] = {1, 3, 10, 1, 5, 3};
        int turns = 0;
        for (qreal before = -1; table->contentOffset().y() < depth && table->contentOffset().y() != before; ++turns) {
            before = table->contentOffset().y();
            ASSERT_NO_FATAL_FAILURE(turnWheel(table, notches[turns % 6]));
            if (!judged("down the list"))
                return;
        }
        EXPECT_GT(table->contentOffset().y(), table->minimumContentOffset().y() + 80)
            << qPrintable(name) << ": the wheel moved the list";
        if (XInput::available()) {
            const QString path = TestSupport::galleryPath(QStringLiteral("x-%1-after-the-wheel-zoom-%2.png").arg(name).arg(zoom));
            QDir().mkpath(QFileInfo(path).absolutePath());
            EXPECT_TRUE(ShownPixels::shown(window()).save(path)) << path.toStdString();
        }
        for (turns = 0; table->contentOffset().y() > table->minimumContentOffset().y() && turns < 60; ++turns) {
            ASSERT_NO_FATAL_FAILURE(turnWheel(table, -notches[turns % 6]));
            if (!judged("back up"))
                return;
        }
        EXPECT_EQ(table->contentOffset().y(), table->minimumContentOffset().y()) << qPrintable(name);
    }
    // The search, from home's bar.
    SearchController* openSearch(HomeController* homeScreen)
    {
        clickSegment(named<SegmentedControl>(homeScreen, "search"), 0);
        finishAnimations();
        auto* search = topScreenAs<SearchController>();
        EXPECT_NE(search, nullptr);
        settleAndFinish();
        return search;
    }
    // The words sent, and the first results in.
    void searchFor(SearchController* search, const QString& words)
    {
        type(search->searchBar()->textField(), words);
        pressReturn(search->searchBar()->textField());
        ASSERT_TRUE(waitUntil([&] { return !search->resultsTable()->rowsForSection(0).isEmpty(); }));
        settleAndFinish();
    }
    // The thread's posts to moderate, from its page's bar.
    PostModerateController* moderatePosts(PostController* page)
    {
        page->actions()->tapItem(page->item(PostController::Moderate));
        finishAnimations();
        auto* posts = topScreenAs<PostModerateController>();
        EXPECT_NE(posts, nullptr);
        settleAndFinish();
        return posts;
    }
    void clickRow(TableView* table, const IndexPath& path)
    {
        scrollToRow(table, path);
        clickAt(table->convertPoint(table->rectForRowAtIndexPath(path).center(), nullptr));
    }
};

TEST_F(RealDisplayScenarioTest, AMemberSignsInOpensAThreadAndSendsAQuickReplyWithTheMouse)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()->windowHandle()));
    // The window system gives the new window the keyboard.
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == window()->windowHandle(); }));

    // Name and password typed into the fields the mouse chose, then the button.
    clickOn(login->fieldWithTag(1));
    ASSERT_TRUE(login->fieldWithTag(1)->isFirstResponder()) << "a click gives the name field the keyboard";
    typeKeys(QStringLiteral("alice"));
    clickOn(login->fieldWithTag(2));
    typeKeys(QStringLiteral("secret1"));
    EXPECT_EQ(login->fieldWithTag(1)->text(), QStringLiteral("alice"));
    clickOn(login->loginButton());
    HomeController* homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);

    // The menu's forums, General Discussion, its first ordinary thread.
    clickOn(homeScreen->navButton());
    GlobalNavigationViewController* menu = homeScreen->globalNavigationView();
    ASSERT_NE(menu, nullptr);
    clickOn(menu->forumsButton());
    settleAndFinish();
    auto* index = topScreenAs<ForumController>();
    ASSERT_NE(index, nullptr);
    clickRow(index->forumTable(), IndexPath{0, 1});
    auto* threads = topScreenAs<ThreadController>();
    ASSERT_NE(threads, nullptr);
    settleAndFinish();
    ASSERT_FALSE(threads->threadTable()->rowsForSection(0).isEmpty());
    clickRow(threads->threadTable()->tableView(), firstThreadRow(threads));
    auto* page = topScreenAs<PostController>();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !page->thread()->pages().isEmpty(); }));
    settleAndFinish();
    const int threadid = page->thread()->threadid();
    const int postsBefore = int(forum().threadState(threadid).value(QStringLiteral("posts")).toArray().size());

    // The quick-reply row under the last post, reached with the wheel.
    ShadowedTableView* table = page->postTable()->tableView();
    const IndexPath last{0, table->numberOfRowsInSection(0) - 1};
    scrollToRow(table, last);
    auto* row = dynamic_cast<QuickReplyCell*>(table->cellForRowAtIndexPath(last));
    ASSERT_NE(row, nullptr);
    clickOn(row->textView());
    ASSERT_TRUE(row->textView()->isFirstResponder()) << "a click gives the reply box the keyboard";
    typeKeys(QStringLiteral("See you at nine."));
    ASSERT_EQ(row->textView()->text(), QStringLiteral("See you at nine."));
    ASSERT_FALSE(row->submitButton()->isHidden()) << "the send arrow shows while the box is edited";

    // The send arrow, clicked: the reply reaches the forum.
    clickOn(row->submitButton());
    const bool sent = waitUntil([&] {
        return forum().threadState(threadid).value(QStringLiteral("posts")).toArray().size() == postsBefore + 1;
    });
    ASSERT_TRUE(sent) << "the click on the send arrow sent nothing; the reply box "
                      << (row->textView()->isFirstResponder() ? "still has" : "lost") << " the keyboard and "
                      << (row->submitButton()->isHidden() ? "its arrow is hidden" : "its arrow shows");
    settleAndFinish();
    const int reply = forum().threadState(threadid).value(QStringLiteral("posts")).toArray().last().toInt();
    EXPECT_EQ(forum().postState(reply).value(QStringLiteral("bbcode")).toString(), QStringLiteral("See you at nine."));
    EXPECT_EQ(forum().postState(reply).value(QStringLiteral("userid")).toInt(), forum().memberId(QStringLiteral("alice")));
    EXPECT_TRUE(page->quickReply()->text().isEmpty()) << "the sent reply leaves the box";
    EXPECT_TRUE(alertsOnScreen().isEmpty());
}

TEST_F(RealDisplayScenarioTest, APostRowsHeaderAndBodyAnswerRealClicksAfterTheWheel)
{
    HomeController* homeScreen = enterAsGuest();
    ASSERT_NE(homeScreen, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()->windowHandle()));
    // The big tips thread, in the index's second section.
    ThreadController* threads = openForumAt(IndexPath{1, 0});
    ASSERT_NE(threads, nullptr);
    PostController* page = openThread(threads, 1101);
    ASSERT_NE(page, nullptr);
    ShadowedTableView* table = page->postTable()->tableView();

    // A row further down, brought up with the wheel: the row draws its own
    // header band, and the button over it still takes the click.
    const IndexPath path{0, 3};
    scrollToRow(table, path);
    auto* row = dynamic_cast<PostCell*>(table->cellForRowAtIndexPath(path));
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(row->post() && row->post()->user());
    const QString author = row->post()->user()->username();
    clickAt(row->convertPoint(row->headerRect().center() + QPointF(60, 0), nullptr));
    settleAndFinish();
    auto* profile = topScreenAs<MyProfile>();
    ASSERT_NE(profile, nullptr) << "a click on the header opens the author's profile";
    EXPECT_EQ(profile->user() ? profile->user()->username() : QString(), author);
    back();
    ASSERT_EQ(topScreenAs<PostController>(), page);

    // A click on the body opens the post on its own; the row lights while
    // it is pressed and stands as it was once the screen comes back.
    row = dynamic_cast<PostCell*>(table->cellForRowAtIndexPath(path));
    ASSERT_NE(row, nullptr);
    clickAt(row->convertPoint(QPointF(160, row->headerRect().bottom() + 20), nullptr));
    settleAndFinish();
    ASSERT_NE(topScreenAs<PostDetailsController>(), nullptr) << "a click on the body opens the post";
    back();
    ASSERT_EQ(topScreenAs<PostController>(), page);
    row = dynamic_cast<PostCell*>(table->cellForRowAtIndexPath(path));
    ASSERT_NE(row, nullptr);
    EXPECT_FALSE(row->showsSelection());
    EXPECT_TRUE(alertsOnScreen().isEmpty());
}

// The page moves its drawn pixels as the wheel turns and draws only what
// comes into view; on the display itself, every turn down the page and back
// up shows what a fresh drawing of the window shows. check-on-x.sh also runs
// these at the zooms the application opens at on common screens (1.25, 1.5)
// and at 2, where a notch moves the pixels by that many times its points.
TEST_F(RealDisplayScenarioTest, EveryNotchOfTheWheelShowsWhatAFreshDrawingOfThePageShows)
{
    ASSERT_NE(enterAsGuest(), nullptr);
    ThreadController* threads = openForumAt(IndexPath{1, 0});
    ASSERT_NE(threads, nullptr);
    PostController* page = openThread(threads, 1101);
    ASSERT_NE(page, nullptr);
    everyTurnShowsAFreshDrawing(page->postTable(), QStringLiteral("thread-page"), 1500);
}

// The same on every other paged list a moderator reads: home, the search's
// results, the forum index, a thread list past the end of its first page, a
// thread page with a strip of thumbnails, and the choice of posts to moderate.
TEST_F(RealDisplayScenarioTest, EveryNotchOfTheWheelShowsWhatAFreshDrawingOfEveryPagedListShows)
{
    HomeController* homeScreen = signInAs(QStringLiteral("moderator"), QStringLiteral("modpass"));
    ASSERT_NE(homeScreen, nullptr);
    everyTurnShowsAFreshDrawing(named<PaginableTableView>(homeScreen, "news"), QStringLiteral("home"), 1000);

    SearchController* search = openSearch(homeScreen);
    ASSERT_NE(search, nullptr);
    ASSERT_NO_FATAL_FAILURE(searchFor(search, QStringLiteral("daily chat")));
    everyTurnShowsAFreshDrawing(search->resultsTable(), QStringLiteral("search-results"), 1000);
    back();

    openSection(&GlobalNavigationViewController::forumsButton);
    auto* index = topScreenAs<ForumController>();
    ASSERT_NE(index, nullptr);
    everyTurnShowsAFreshDrawing(index->forumTable(), QStringLiteral("forum-index"), 1000);

    ThreadController* threads = openForumAt(IndexPath{0, 1});
    ASSERT_NE(threads, nullptr);
    everyTurnShowsAFreshDrawing(threads->threadTable(), QStringLiteral("thread-list"), 1300);

    PostController* photo = openThread(threads, 302);
    ASSERT_NE(photo, nullptr);
    everyTurnShowsAFreshDrawing(photo->postTable(), QStringLiteral("thread-page-with-thumbnails"), 1000);

    back();
    back();
    ASSERT_EQ(topScreenAs<ForumController>(), index);
    tapRow(index->forumTable(), IndexPath{1, 0});
    auto* tips = topScreenAs<ThreadController>();
    ASSERT_NE(tips, nullptr);
    settleAndFinish();
    PostController* page = openThread(tips, 1101);
    ASSERT_NE(page, nullptr);
    PostModerateController* moderation = moderatePosts(page);
    ASSERT_NE(moderation, nullptr);
    everyTurnShowsAFreshDrawing(moderation->postTable(), QStringLiteral("post-moderation"), 1500);
}

// Every list marks the row the arrows chose, as the display shows it: home,
// the forums a new thread may go to, a search setting's choices and the
// search's results, the forum index, a thread list and a forum's search
// results (whose rows stand on a white band of their own), and the choice
// of threads and of posts to moderate.
TEST_F(RealDisplayScenarioTest, EveryListMarksTheRowTheArrowsChose)
{
    HomeController* homeScreen = signInAs(QStringLiteral("moderator"), QStringLiteral("modpass"));
    ASSERT_NE(homeScreen, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()->windowHandle()));
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == window()->windowHandle(); }));
    chosenRowIsMarked(named<PaginableTableView>(homeScreen, "news")->tableView(), IndexPath{0, 1}, QStringLiteral("home"));

    // The forums a new thread may go to, from the editor.
    clickBarButton(window(), homeScreen->navigationItem()->rightBarButtonItem());
    finishAnimations();
    auto* editor = topScreenAs<CreateContent>();
    ASSERT_NE(editor, nullptr);
    settleAndFinish();
    clickSegment(editor->publishArea()->publishIn(), EditorPublishArea::Forum);
    settleAndFinish();
    auto* picker = topScreenAs<SelectForumController>();
    ASSERT_NE(picker, nullptr);
    chosenRowIsMarked(picker->forumTable(), IndexPath{0, 1}, QStringLiteral("select-forum"));
    back();
    back();
    ASSERT_EQ(topScreenAs<HomeController>(), homeScreen);

    SearchController* search = openSearch(homeScreen);
    ASSERT_NE(search, nullptr);
    tapRow(search->settings(), IndexPath{0, SearchController::FindPostRow});
    settleAndFinish();
    auto* posted = topScreenAs<SearchChoiceController>();
    ASSERT_NE(posted, nullptr);
    chosenRowIsMarked(posted->tableView(), IndexPath{0, 2}, QStringLiteral("search-posted"));
    back();
    ASSERT_NO_FATAL_FAILURE(searchFor(search, QStringLiteral("daily chat")));
    chosenRowIsMarked(search->resultsTable()->tableView(), IndexPath{0, 1}, QStringLiteral("search-results"));
    back();

    openSection(&GlobalNavigationViewController::forumsButton);
    auto* index = topScreenAs<ForumController>();
    ASSERT_NE(index, nullptr);
    chosenRowIsMarked(index->forumTable(), IndexPath{0, 2}, QStringLiteral("forum-index"));
    tapRow(index->forumTable(), IndexPath{0, 1});
    auto* threads = topScreenAs<ThreadController>();
    ASSERT_NE(threads, nullptr);
    settleAndFinish();
    chosenRowIsMarked(threads->threadTable()->tableView(), firstThreadRow(threads), QStringLiteral("thread-list"));

    // The forum's own search lists what it finds as the forum lists threads.
    threads->actions()->tapItem(threads->search());
    finishAnimations();
    auto* inForum = topScreenAs<SearchThreadController>();
    ASSERT_NE(inForum, nullptr);
    typeKeys(QStringLiteral("daily"));
    key(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return !inForum->table()->rowsForSection(0).isEmpty(); }));
    chosenRowIsMarked(inForum->table()->tableView(), IndexPath{0, 1}, QStringLiteral("search-in-forum"));
    back();

    threads->actions()->tapItem(threads->moderate());
    finishAnimations();
    auto* moderateThreads = topScreenAs<ThreadModerateController>();
    ASSERT_NE(moderateThreads, nullptr);
    settleAndFinish();
    chosenRowIsMarked(moderateThreads->threadTable()->tableView(), IndexPath{0, 3}, QStringLiteral("thread-moderation"));
    back();

    PostController* page = openThread(threads, 302);
    ASSERT_NE(page, nullptr);
    PostModerateController* moderation = moderatePosts(page);
    ASSERT_NE(moderation, nullptr);
    chosenRowIsMarked(moderation->postTable()->tableView(), IndexPath{0, 1}, QStringLiteral("post-moderation"), true);

}

// The sign-up form filled in, Tab down to the date of birth, then the wheel
// over the form: on the display itself the keyboard stays on the date's
// row, and Return then opens its panel instead of leaving the form.
TEST_F(RealDisplayScenarioTest, TheWheelOverAFilledSignUpFormLeavesTheKeyboardWhereItWas)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()->windowHandle()));
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == window()->windowHandle(); }));
    clickOn(login->registerButton());
    auto* screen = topScreenAs<RegistrationController>();
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(waitUntil([&] { return screen->form() && !screen->form()->fields().isEmpty(); }));
    settleAndFinish();
    RegistrationForm* form = screen->form();
    auto* name = dynamic_cast<FieldTextCell*>(form->cellForField(form->fieldWithName(QStringLiteral("username")).get()));
    ASSERT_NE(name, nullptr);
    clickOn(name->field());
    typeKeys(QStringLiteral("alice"));
    for (int presses = 0; presses < 4; ++presses)
        tab();
    auto* date = dynamic_cast<FieldDateCell*>(form->cellForField(form->fieldWithName(QStringLiteral("date_of_birth")).get()));
    ASSERT_NE(date, nullptr);
    ASSERT_EQ(QApplication::focusWidget(), date->field()) << "four Tabs from the name reach the date";

    for (int turn = 1; turn <= 3; ++turn) {
        ASSERT_NO_FATAL_FAILURE(turnWheel(form->table(), 3));
        EXPECT_EQ(QApplication::focusWidget(), date->field()) << "after " << 3 * turn << " notches";
    }
    EXPECT_GT(form->table()->contentOffset().y(), 300) << "the wheel moved the form";
    if (XInput::available()) {
        const QString path = TestSupport::galleryPath(QStringLiteral("x-registration-after-the-wheel.png"));
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(ShownPixels::shown(window()).save(path)) << path.toStdString();
    }
    key(Qt::Key_Return);
    finishAnimations();
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen) << "Return left the form";
    EXPECT_EQ(form->values().value(QStringLiteral("username")).toString(), QStringLiteral("alice"));
    const QList<InputPanel*> panels = window()->findChildren<InputPanel*>();
    EXPECT_TRUE(std::any_of(panels.begin(), panels.end(), [](const InputPanel* p) { return p->isOpen(); }))
        << "Return opened the date's panel";
    key(Qt::Key_Escape);
    finishAnimations();
    EXPECT_EQ(QApplication::focusWidget(), date->field());
    EXPECT_TRUE(alertsOnScreen().isEmpty());
}
