#include "AppScenario.h"
#include "ShownPixels.h"
#include "UserInput.h"
#include "XInput.h"

#include "app/screens/RegistrationController.h"
#include "app/widgets/FieldDateCell.h"
#include "app/widgets/FieldTextCell.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/RegistrationForm.h"
#include "app/widgets/ShadowedTableView.h"
#include "forum/cells/PostCell.h"
#include "forum/cells/QuickReplyCell.h"
#include "forum/model/Post.h"
#include "forum/model/QuickReply.h"
#include "forum/model/Thread.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostDetailsController.h"
#include "neighbours/screens/MyProfile.h"
#include "platform/ui/InputPanel.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QTest>
#include <QWindow>

#include <algorithm>

// A member's way from the login screen to a reply sent from a thread's
// quick-reply row, with the mouse and the keyboard alone. On an X display
// (scripts/check-on-x.sh runs it on Xvfb with QT_QPA_PLATFORM=xcb) every
// click, key and wheel notch goes through the X server, as a user's do, so
// the window system's own focus and pointer handling are in the walk; on the
// offscreen platform (ctest) they go through the window's queue.
class RealDisplayScenarioTest : public AppScenario {
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
    void typeText(const QString& text)
    {
        if (XInput::available()) {
            ASSERT_TRUE(XInput::type(window(), text)) << "the keys reached the window";
        } else {
            typeKeys(text);
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
            const QPointF over = table->convertRect(table->bounds(), nullptr).center();
            if (XInput::available()) {
                ASSERT_TRUE(XInput::scrollDown(window(), over, 3)) << "the wheel reached the window";
            } else {
                // Without an X server the shared helper turns the wheel as the
                // window system would (a spontaneous event to the window).
                UserInput::wheel(window(), over, QPoint(0, -360));
            }
            finishAnimations();
        }
        FAIL() << "the row never came into view";
    }
    // Keys by their X names ("Tab", "Return", "Escape").
    void pressKeys(const QStringList& names)
    {
        if (XInput::available()) {
            ASSERT_TRUE(XInput::keys(window(), names)) << "the keys reached the window";
        } else {
            const QHash<QString, Qt::Key> keys{{QStringLiteral("Tab"), Qt::Key_Tab},
                                               {QStringLiteral("Return"), Qt::Key_Return},
                                               {QStringLiteral("Escape"), Qt::Key_Escape}};
            for (const QString& name : names)
                UserInput::key(keys.value(name));
        }
        finishAnimations();
    }
    void wheelDown(View* over, int notches)
    {
        const QPointF point = over->convertRect(over->bounds(), nullptr).center();
        if (XInput::available()) {
            ASSERT_TRUE(XInput::scrollDown(window(), point, notches)) << "the wheel reached the window";
        } else {
            UserInput::wheel(window(), point, QPoint(0, -120 * notches));
        }
        finishAnimations();
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
    typeText(QStringLiteral("alice"));
    clickOn(login->fieldWithTag(2));
    typeText(QStringLiteral("secret1"));
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
    typeText(QStringLiteral("See you at nine."));
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
// comes into view; on the display itself, every notch down the page and
// back up shows what a fresh drawing of the window shows. check-on-x.sh also
// runs this at zoom 2, where a notch moves the pixels by twice its points.
TEST_F(RealDisplayScenarioTest, EveryNotchOfTheWheelShowsWhatAFreshDrawingOfThePageShows)
{
    ASSERT_NE(enterAsGuest(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()->windowHandle()));
    ThreadController* threads = openForumAt(IndexPath{1, 0});
    ASSERT_NE(threads, nullptr);
    PostController* page = openThread(threads, 1101);
    ASSERT_NE(page, nullptr);
    PaginableTableView* list = page->postTable();
    ShadowedTableView* table = list->tableView();

    // The members' pictures are in first: judged here are the pixels the
    // wheel keeps, not when a picture comes.
    QList<PostPtr> posts;
    for (const ModelPtr& object : list->rowsForSection(0)) {
        if (PostPtr post = std::dynamic_pointer_cast<Post>(object)) {
            post->loadImages();
            posts.append(post);
        }
    }
    ASSERT_FALSE(posts.isEmpty());
    ASSERT_TRUE(waitUntil([&] {
        return std::all_of(posts.begin(), posts.end(),
                           [](const PostPtr& post) { return post->picurl().isEmpty() || !post->pic().isNull(); });
    }));

    const QPointF over = table->convertRect(table->bounds(), nullptr).center();
    const auto turn = [&](int notches) {
        if (XInput::available()) {
            const bool reached = notches > 0 ? XInput::scrollDown(window(), over, notches)
                                             : XInput::scrollUp(window(), over, -notches);
            ASSERT_TRUE(reached) << "the wheel reached the window";
        } else {
            UserInput::wheel(window(), over, QPoint(0, -120 * notches));
        }
        finishAnimations();
        ShownPixels::drawFrame(window());
    };
    qreal deepest = 0;
    for (int notch = 0; notch < 12; ++notch) {
        turn(1);
        deepest = std::max(deepest, table->contentOffset().y());
        const int stale = ShownPixels::stale(window());
        EXPECT_EQ(stale, 0) << "down the page, at " << table->contentOffset().y();
        if (stale)
            break;
    }
    EXPECT_GT(deepest, 300) << "the wheel moved the page";
    // What the display itself shows down the page, to be looked at.
    if (XInput::available()) {
        const QString name = QStringLiteral("x-thread-page-after-the-wheel-zoom-%1.png").arg(window()->devicePixelRatioF());
        const QString path = TestSupport::galleryPath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(ShownPixels::shown(window()).save(path)) << path.toStdString();
    }
    for (int notch = 0; notch < 12; ++notch) {
        turn(-1);
        const int stale = ShownPixels::stale(window());
        EXPECT_EQ(stale, 0) << "back up, at " << table->contentOffset().y();
        if (stale)
            break;
    }
    EXPECT_EQ(table->contentOffset().y(), 0);
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
    typeText(QStringLiteral("alice"));
    pressKeys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab")});
    auto* date = dynamic_cast<FieldDateCell*>(form->cellForField(form->fieldWithName(QStringLiteral("date_of_birth")).get()));
    ASSERT_NE(date, nullptr);
    ASSERT_EQ(QApplication::focusWidget(), date->field()) << "four Tabs from the name reach the date";

    for (int turn = 1; turn <= 3; ++turn) {
        wheelDown(form->table(), 3);
        EXPECT_EQ(QApplication::focusWidget(), date->field()) << "after " << 3 * turn << " notches";
    }
    EXPECT_GT(form->table()->contentOffset().y(), 300) << "the wheel moved the form";
    if (XInput::available()) {
        const QString path = TestSupport::galleryPath(QStringLiteral("x-registration-after-the-wheel.png"));
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(ShownPixels::shown(window()).save(path)) << path.toStdString();
    }
    pressKeys({QStringLiteral("Return")});
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen) << "Return left the form";
    EXPECT_EQ(form->values().value(QStringLiteral("username")).toString(), QStringLiteral("alice"));
    const QList<InputPanel*> panels = window()->findChildren<InputPanel*>();
    EXPECT_TRUE(std::any_of(panels.begin(), panels.end(), [](const InputPanel* p) { return p->isOpen(); }))
        << "Return opened the date's panel";
    pressKeys({QStringLiteral("Escape")});
    EXPECT_EQ(QApplication::focusWidget(), date->field());
    EXPECT_TRUE(alertsOnScreen().isEmpty());
}
