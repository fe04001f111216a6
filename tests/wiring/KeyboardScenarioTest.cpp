#include "KeyboardScenario.h"
#include "NamedView.h"
#include "ControlClicks.h"

#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/RegistrationController.h"
#include "app/widgets/FieldButtonCell.h"
#include "app/widgets/FieldCheckboxCell.h"
#include "app/widgets/FieldDateCell.h"
#include "app/widgets/FieldTextCell.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/PaginationCell.h"
#include "app/widgets/RegistrationForm.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "app/widgets/SegmentControlHidding.h"
#include "forum/model/Post.h"
#include "forum/cells/SubforumsHeader.h"
#include "forum/model/Thread.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/HomeController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostModerateController.h"
#include "forum/screens/Reply.h"
#include "forum/screens/SearchController.h"
#include "forum/screens/SearchForController.h"
#include "forum/screens/SearchPostController.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/SelectThreadPrefix.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextView.h"

#include "platform/foundation/Bundle.h"

#include <QApplication>
#include <QJsonArray>

#include <functional>

namespace {

class KeyboardScenarioTest : public KeyboardScenario {
protected:
    // The list's first ordinary thread, reached by Tab, chosen by the arrows
    // and opened by Return, as a click opens it.
    PostController* openFirstThreadByKeys(ThreadController* threads)
    {
        const auto first =
            std::dynamic_pointer_cast<Thread>(threads->threadTable()->rowsForSection(0).value(firstThreadRow(threads).row));
        if (!first) {
            ADD_FAILURE() << "no thread on the list's first ordinary row";
            return nullptr;
        }
        return openThreadByKeys(threads, first->threadid());
    }
};

}  // namespace

TEST_F(KeyboardScenarioTest, ANewThreadGoesWhereTheKeyboardAloneChoseAndIsSent)
{
    ASSERT_NE(signInAs(QStringLiteral("alice"), QStringLiteral("secret1")), nullptr);
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);
    clickBarButton(Window::keyWindow(), threads->navigationItem()->rightBarButtonItem());
    finishAnimations();
    auto* editor = topScreenAs<CreateContent>();
    ASSERT_NE(editor, nullptr);
    settleAndFinish();
    ASSERT_EQ(editor->forum()->forumid(), 3);
    ASSERT_TRUE(editor->selectPrefixButton()->isEnabled()) << "the forum offers prefixes";

    // The title by a click, then Tab from stop to stop: the prefix button,
    // the text (Tab types nothing there), the tags button, then where the
    // thread goes. Nothing shows a mark before the keyboard brought it.
    EXPECT_FALSE(editor->publishArea()->changePublishBtn()->showsFocusMark());
    TextField* title = editor->messageTitle();
    click(title->convertRect(title->bounds(), nullptr).center());
    typeKeys(QStringLiteral("Keys only"));
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), editor->selectPrefixButton());
    EXPECT_TRUE(editor->selectPrefixButton()->showsFocusMark());
    EXPECT_FALSE(title->isFirstResponder());
    key(Qt::Key_Tab);
    finishAnimations();
    ASSERT_TRUE(editor->content()->isFirstResponder());
    typeKeys(QStringLiteral("Written without the mouse."));
    key(Qt::Key_Tab);
    finishAnimations();
    EXPECT_EQ(focused(), named<Button>(editor, "tagsButton"));
    EXPECT_EQ(editor->messageText(), QStringLiteral("Written without the mouse."));
    SegmentedControl* change = editor->publishArea()->changePublishBtn();
    key(Qt::Key_Tab);
    finishAnimations();
    ASSERT_EQ(focused(), change) << "Publish in: the forum chosen, and the control that changes it";
    picture(QStringLiteral("keyboard-editor-publish-in.png"));

    // Space changes it: the choice of targets comes and keeps the keyboard;
    // Right takes the forums, whose picker opens with the list under the keys.
    key(Qt::Key_Space);
    finishAnimations();
    ASSERT_TRUE(editor->publishArea()->selectedForumInfo()->isHidden());
    SegmentControlHidding* publishIn = editor->publishArea()->publishIn();
    EXPECT_EQ(focused(), publishIn);
    EXPECT_EQ(publishIn->selectedSegmentIndex(), -1);
    picture(QStringLiteral("keyboard-editor-publish-choice.png"));
    key(Qt::Key_Right);
    settleAndFinish();
    auto* picker = topScreenAs<SelectForumController>();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(focused(), picker->forumTable());
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_EQ(topScreen(), editor);
    ASSERT_NE(editor->forum(), nullptr);
    EXPECT_EQ(editor->forum()->forumid(), 6);
    EXPECT_EQ(editor->publishArea()->forumName()->text(), QStringLiteral("Introductions"));

    // Back on the editor, the keyboard on the row it chose from; Shift+Tab
    // goes up, past the text (whose editing turns "submit" into "done" and
    // back, so the bar's button is read afresh at each stop), to the bar's
    // send button, and Return sends.
    EXPECT_EQ(focused(), editor->publishArea()->changePublishBtn());
    NavigationBar* bar = delegate()->controller()->navigationBar();
    for (int presses = 0; presses < 16 && focused() != bar->rightButtonView(); ++presses) {
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        finishAnimations();
    }
    BarButtonView* send = bar->rightButtonView();
    ASSERT_NE(send, nullptr);
    ASSERT_EQ(focused(), send);
    EXPECT_EQ(send->item()->title(), Bundle::main().localizedString(QStringLiteral("submit")));
    EXPECT_TRUE(send->showsFocusMark());
    picture(QStringLiteral("keyboard-editor-send.png"));
    key(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    const qint32 threadid = editor->threadBuilder()->threadid();
    ASSERT_GT(threadid, 0);
    const QJsonObject made = forum().threadState(threadid);
    EXPECT_EQ(made.value(QStringLiteral("forumid")).toInt(), 6);
    EXPECT_EQ(made.value(QStringLiteral("title")).toString(), QStringLiteral("Keys only"));
    const int first = made.value(QStringLiteral("posts")).toArray().first().toInt();
    EXPECT_EQ(forum().postState(first).value(QStringLiteral("bbcode")).toString(),
              QStringLiteral("Written without the mouse."));
}

TEST_F(KeyboardScenarioTest, TheSearchSettingsAndKindAreReachedByTabAndAClickLeavesNoMark)
{
    HomeController* homeScreen = signInAs(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_NE(homeScreen, nullptr);
    clickSegment(named<SegmentedControl>(homeScreen, "search"), 0);
    finishAnimations();
    auto* search = topScreenAs<SearchController>();
    ASSERT_NE(search, nullptr);
    settleAndFinish();
    TextField* words = search->searchBar()->textField();
    SegmentedControl* kinds = search->searchCriteria();

    // The settings' rows are stops too, under the kinds: Return opens the
    // row's choices as a click does.
    click(words->convertRect(words->bounds(), nullptr).center());
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), kinds);
    key(Qt::Key_Tab);
    TableViewCell* searchIn = search->settings()->cellForRowAtIndexPath(IndexPath{0, 0});
    ASSERT_NE(searchIn, nullptr);
    ASSERT_EQ(focused(), searchIn);
    picture(QStringLiteral("keyboard-search-settings-row.png"));
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_NE(topScreenAs<SearchForController>(), nullptr);
    back();
    ASSERT_EQ(topScreen(), search);

    click(words->convertRect(words->bounds(), nullptr).center());
    typeKeys(QStringLiteral("daily chat"));
    key(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return !search->resultsTable()->rowsForSection(0).isEmpty(); }));
    settleAndFinish();

    // Tab from the words to the kinds; Right goes from keywords to members,
    // which forgets what the keywords found.
    ASSERT_EQ(kinds->selectedSegmentIndex(), SearchController::Keywords);
    click(words->convertRect(words->bounds(), nullptr).center());
    ASSERT_TRUE(words->isFirstResponder());
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), kinds);
    EXPECT_FALSE(words->isFirstResponder());
    key(Qt::Key_Right);
    finishAnimations();
    EXPECT_EQ(kinds->selectedSegmentIndex(), SearchController::Usernames);
    EXPECT_TRUE(search->resultsTable()->rowsForSection(0).isEmpty());
    picture(QStringLiteral("keyboard-search-kind.png"));
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(kinds->selectedSegmentIndex(), SearchController::Tags) << "the last kind stays at the end";
    key(Qt::Key_Left);
    EXPECT_EQ(kinds->selectedSegmentIndex(), SearchController::Usernames);

    // Back to the words with Shift+Tab: Return there still searches, for
    // members now.
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(words->isFirstResponder());
    const qsizetype searches = asked("search_process").size();
    key(Qt::Key_Return);
    settleAndFinish();
    EXPECT_EQ(asked("search_process").size(), searches + 1);

    // The mouse leaves no mark: a click on the kinds after Tab had brought
    // the keyboard there takes the mark away, and a click alone never shows one.
    click(words->convertRect(words->bounds(), nullptr).center());
    key(Qt::Key_Tab);
    ASSERT_TRUE(kinds->showsFocusMark());
    click(kinds->convertRect(kinds->rectForSegment(0), nullptr).center());
    EXPECT_EQ(kinds->selectedSegmentIndex(), SearchController::Keywords);
    EXPECT_FALSE(kinds->showsFocusMark());
    click(kinds->convertRect(kinds->rectForSegment(2), nullptr).center());
    EXPECT_FALSE(kinds->showsFocusMark());
    EXPECT_NE(focused(), kinds);
}

TEST_F(KeyboardScenarioTest, AThreadIsChosenFromItsListAndItsTabBarIsPressedWithTheKeyboardAlone)
{
    ASSERT_NE(signInAs(QStringLiteral("bob"), QStringLiteral("secret2")), nullptr);
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);
    // Tab reaches the list; the arrows walk its rows, marking each; Return
    // opens the row, as a click does.
    auto* page = openFirstThreadByKeys(threads);
    ASSERT_NE(page, nullptr);

    // The tab bar is one stop: its first item marked, Right moves the mark,
    // Space and Return press the marked item.
    TabBar* bar = page->actions();
    ASSERT_TRUE(tabTo(bar)) << "Tab never reached the tab bar";
    EXPECT_EQ(bar->keyboardItemIndex(), int(PostController::Reload));
    EXPECT_TRUE(bar->showsFocusMark());
    const qsizetype loads = forum().requests(QStringLiteral("showthread")).size();
    key(Qt::Key_Space);
    settleAndFinish();
    EXPECT_EQ(forum().requests(QStringLiteral("showthread")).size(), loads + 1) << "Space reloads";
    ASSERT_TRUE(tabTo(bar));
    key(Qt::Key_Right);
    EXPECT_EQ(bar->keyboardItemIndex(), int(PostController::Subscribe));
    picture(QStringLiteral("keyboard-tab-bar.png"));
    key(Qt::Key_Return);
    finishAnimations();
    ASSERT_EQ(alertsOnScreen().size(), 1) << "Return asks whether to subscribe";
    picture(QStringLiteral("keyboard-subscribe.png"));
    key(Qt::Key_Return);
    settleAndFinish();
    EXPECT_EQ(forum().requests(QStringLiteral("subscription_addsubscription")).size(), 1) << "and Return says yes";
}


TEST_F(KeyboardScenarioTest, TheWholeWalkFromSignInToSignUpNeedsNoMouse)
{
    // Signed in as the moderator: Tab to the name, Tab to the password,
    // Return signs in.
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    key(Qt::Key_Tab);
    ASSERT_TRUE(login->fieldWithTag(1)->isFirstResponder());
    typeKeys(QStringLiteral("moderator"));
    key(Qt::Key_Tab);
    ASSERT_TRUE(login->fieldWithTag(2)->isFirstResponder());
    typeKeys(QStringLiteral("modpass"));
    key(Qt::Key_Return);
    HomeController* homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);
    ASSERT_EQ(asked("login_login").size(), 1);
    EXPECT_EQ(asked("login_login").first().field(QStringLiteral("mu_login_username")), QStringLiteral("moderator"));

    // The menu, the forums, General Discussion: Tab, the arrows, Return.
    auto* index = openForumsByKeys();
    ASSERT_NE(index, nullptr);
    EXPECT_TRUE(index->forumTable()->showsFocusRing()) << "the list shows it has the keys before a row is chosen";
    picture(QStringLiteral("keyboard-walk-forums.png"));
    auto* threads = openForumRowByKeys(index, 1);
    ASSERT_NE(threads, nullptr);
    EXPECT_EQ(threads->forum()->forumid(), 3);

    // The first ordinary thread, by the arrows and Return.
    auto* page = openFirstThreadByKeys(threads);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !page->postTable()->rowsForSection(0).isEmpty(); }));
    settleAndFinish();

    // A reply: the editor opens with the keys in its title and the first
    // Tab takes them to the text; Tab goes on to the bar's send button,
    // every press marked, and Return sends.
    NavigationBar* navBar = delegate()->controller()->navigationBar();
    ASSERT_TRUE(tabTo(navBar->rightButtonView()));
    key(Qt::Key_Space);
    settleAndFinish();
    auto* reply = topScreenAs<Reply>();
    ASSERT_NE(reply, nullptr);
    ASSERT_TRUE(reply->messageTitle()->isFirstResponder());
    key(Qt::Key_Tab);
    finishAnimations();
    ASSERT_TRUE(reply->content()->isFirstResponder());
    typeKeys(QStringLiteral("Typed without a mouse."));
    ASSERT_TRUE(tabOnMarksTo([&] { return navBar->rightButtonView(); }));
    EXPECT_EQ(navBar->rightButtonView()->item()->title(), Bundle::main().localizedString(QStringLiteral("submit")));
    EXPECT_TRUE(navBar->rightButtonView()->showsFocusMark());
    picture(QStringLiteral("keyboard-walk-reply-send.png"));
    key(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return topScreen() == page; }));
    settleAndFinish();
    ASSERT_EQ(asked("newreply_postreply").size(), 1);
    EXPECT_EQ(asked("newreply_postreply").first().field(QStringLiteral("message")), QStringLiteral("Typed without a mouse."));
    const QJsonArray posts = forum().threadState(page->thread()->threadid()).value(QStringLiteral("posts")).toArray();
    EXPECT_EQ(forum().postState(posts.last().toInt()).value(QStringLiteral("bbcode")).toString(),
              QStringLiteral("Typed without a mouse."));

    // Back to the list, and a new thread there: the title first, Tab to the
    // prefix, whose list takes the arrows and Return.
    ASSERT_TRUE(tabTo(navBar->backButtonView()));
    key(Qt::Key_Space);
    settleAndFinish();
    ASSERT_EQ(topScreen(), threads);
    ASSERT_TRUE(tabTo(navBar->rightButtonView()));
    key(Qt::Key_Space);
    settleAndFinish();
    auto* editor = topScreenAs<CreateContent>();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->messageTitle()->isFirstResponder());
    typeKeys(QStringLiteral("Keys all the way"));
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), editor->selectPrefixButton());
    EXPECT_TRUE(editor->selectPrefixButton()->showsFocusMark());
    key(Qt::Key_Space);
    settleAndFinish();
    auto* prefixes = topScreenAs<SelectThreadPrefix>();
    ASSERT_NE(prefixes, nullptr);
    ASSERT_EQ(focused(), prefixes->table());
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    picture(QStringLiteral("keyboard-walk-prefix-list.png"));
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_EQ(topScreen(), editor);
    EXPECT_EQ(editor->prefixTitle()->text(), QStringLiteral("Discussion"));
    EXPECT_EQ(focused(), editor->selectPrefixButton()) << "the keyboard is back where the list was asked for";
    key(Qt::Key_Tab);
    ASSERT_TRUE(editor->content()->isFirstResponder());
    typeKeys(QStringLiteral("Started with the keys."));
    // Shift+Tab up to the bar's send button, Return sends. The forum's
    // answer asks where to go: the mark is on "back", Left takes it to the
    // new thread and Return goes there.
    ASSERT_TRUE(tabOnMarksTo([&] { return navBar->rightButtonView(); }, false));
    key(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    settleAndFinish();
    const qint32 threadid = editor->threadBuilder()->threadid();
    ASSERT_GT(threadid, 0);
    auto* sent = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alertsOnScreen().last().get()));
    ASSERT_NE(sent, nullptr);
    ASSERT_EQ(alertsOnScreen().last()->buttonTitles().size(), 2);
    EXPECT_EQ(focused(), sent);
    EXPECT_EQ(sent->keyboardButtonIndex(), 1);
    key(Qt::Key_Left);
    EXPECT_EQ(sent->keyboardButtonIndex(), 0);
    picture(QStringLiteral("keyboard-walk-thread-sent.png"));
    key(Qt::Key_Return);
    settleAndFinish();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    const QJsonObject made = forum().threadState(threadid);
    EXPECT_EQ(made.value(QStringLiteral("title")).toString(), QStringLiteral("Keys all the way"));
    EXPECT_EQ(made.value(QStringLiteral("prefixid")).toString(), QStringLiteral("discussion"));
    auto* newPage = topScreenAs<PostController>();
    ASSERT_NE(newPage, nullptr);
    ASSERT_EQ(newPage->thread()->threadid(), threadid);
    ASSERT_TRUE(waitUntil([&] { return !newPage->postTable()->rowsForSection(0).isEmpty(); }));
    settleAndFinish();

    // Search in the thread: Tab to the tab bar, Right to the item, Return.
    TabBar* actions = newPage->actions();
    ASSERT_TRUE(tabTo(actions));
    for (int presses = 0; presses < 6 && actions->keyboardItemIndex() != int(PostController::SearchInThread); ++presses)
        key(Qt::Key_Right);
    ASSERT_EQ(actions->keyboardItemIndex(), int(PostController::SearchInThread));
    picture(QStringLiteral("keyboard-walk-tab-bar.png"));
    key(Qt::Key_Return);
    settleAndFinish();
    auto* inThread = topScreenAs<SearchPostController>();
    ASSERT_NE(inThread, nullptr);
    typeKeys(QStringLiteral("keys"));
    key(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return !inThread->table()->isHidden(); }));
    settleAndFinish();
    ASSERT_FALSE(asked("search_process").isEmpty());
    EXPECT_EQ(asked("search_process").last().field(QStringLiteral("searchthreadid")).toInt(), threadid);
    EXPECT_EQ(asked("search_process").last().field(QStringLiteral("query")), QStringLiteral("keys"));
    EXPECT_FALSE(inThread->table()->rowsForSection(0).isEmpty()) << "the new thread's text is found";
    // The results are a stop too: Tab reaches them, every press marked.
    TableView* found = inThread->table()->tableView();
    ASSERT_TRUE(tabOnMarksTo([&] { return found; }));
    key(Qt::Key_Down);
    picture(QStringLiteral("keyboard-walk-search.png"));

    // Back on the thread, the moderation: its item on the tab bar, the post
    // chosen on the list by the arrows and Space, the action on the
    // moderation bar, and the question answered by the keyboard.
    ASSERT_TRUE(tabTo(navBar->backButtonView()));
    key(Qt::Key_Space);
    settleAndFinish();
    ASSERT_EQ(topScreen(), newPage);
    ASSERT_TRUE(tabTo(actions));
    for (int presses = 0; presses < 6 && actions->keyboardItemIndex() != int(PostController::Moderate); ++presses)
        key(Qt::Key_Left);
    ASSERT_EQ(actions->keyboardItemIndex(), int(PostController::Moderate));
    key(Qt::Key_Return);
    settleAndFinish();
    auto* moderate = topScreenAs<PostModerateController>();
    ASSERT_NE(moderate, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !moderate->postTable()->rowsForSection(0).isEmpty(); }));
    settleAndFinish();
    const auto post = std::dynamic_pointer_cast<Post>(moderate->postTable()->rowsForSection(0).first());
    ASSERT_NE(post, nullptr);
    TableView* choice = moderate->postTable()->tableView();
    ASSERT_TRUE(tabOnMarksTo([&] { return choice; }));
    key(Qt::Key_Down);
    key(Qt::Key_Space);
    ASSERT_EQ(moderate->selectedPosts().size(), 1);
    EXPECT_EQ(moderate->selectedPosts().first()->postid(), post->postid());
    TabBar* moderation = moderate->actions();
    ASSERT_TRUE(tabOnMarksTo([&] { return moderation; }));
    const int deleteAt = int(moderation->items().indexOf(moderate->deleteBtn()));
    ASSERT_GE(deleteAt, 0);
    for (int presses = 0; presses < 6 && moderation->keyboardItemIndex() != deleteAt; ++presses)
        key(Qt::Key_Left);
    ASSERT_EQ(moderation->keyboardItemIndex(), deleteAt);
    picture(QStringLiteral("keyboard-walk-moderate-bar.png"));
    key(Qt::Key_Return);
    finishAnimations();
    ASSERT_EQ(alertsOnScreen().size(), 1) << "the delete is asked first";
    auto* question = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alertsOnScreen().first().get()));
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->keyboardButtonIndex(), 1) << "Return says OK";
    picture(QStringLiteral("keyboard-walk-moderate-question.png"));
    key(Qt::Key_Return);
    settleAndFinish();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    ASSERT_EQ(asked("inlinemod_dodeleteposts").size(), 1);
    EXPECT_TRUE(forum().postState(post->postid()).value(QStringLiteral("deleted")).toBool());

    // Back to the forums by the bar's back button, home by the menu, and
    // out: the question's mark is on "no", Left takes it to "yes".
    for (ViewController* on : {static_cast<ViewController*>(newPage), static_cast<ViewController*>(threads),
                               static_cast<ViewController*>(index)}) {
        ASSERT_TRUE(tabTo(navBar->backButtonView()));
        key(Qt::Key_Space);
        settleAndFinish();
        ASSERT_EQ(topScreen(), on);
    }
    ASSERT_TRUE(tabTo(index->navButton()));
    key(Qt::Key_Space);
    finishAnimations();
    ASSERT_TRUE(tabTo(index->globalNavigationView()->homeButton()));
    key(Qt::Key_Return);
    settleAndFinish();
    homeScreen = topScreenAs<HomeController>();
    ASSERT_NE(homeScreen, nullptr);
    // Home is the root of a new stack, under a bar of its own.
    navBar = delegate()->controller()->navigationBar();
    ASSERT_TRUE(tabOnMarksTo([&] { return navBar->leftButtonView(); }));
    EXPECT_EQ(navBar->leftButtonView()->item()->title(), Bundle::main().localizedString(QStringLiteral("home_logout")));
    key(Qt::Key_Space);
    finishAnimations();
    const QList<std::shared_ptr<AlertView>> logoutQuestion =
        visibleAlerts(Bundle::main().localizedString(QStringLiteral("home_logout_confirmation")));
    ASSERT_EQ(logoutQuestion.size(), 1);
    auto* out = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(logoutQuestion.first().get()));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->keyboardButtonIndex(), 1);
    key(Qt::Key_Left);
    EXPECT_EQ(out->keyboardButtonIndex(), 0);
    picture(QStringLiteral("keyboard-walk-sign-out.png"));
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_EQ(asked("login_logout").size(), 1);
    EXPECT_EQ(focused(), navBar->leftButtonView()) << "the keyboard stays where the button was";
    EXPECT_EQ(navBar->leftButtonView()->item()->title(), Bundle::main().localizedString(QStringLiteral("login")));

    // Sign up: Tab to the button, Space; the form filled by the keys.
    ASSERT_TRUE(tabOnMarksTo([&] { return named<View>(homeScreen, "signUp"); }));
    key(Qt::Key_Space);
    finishAnimations();
    auto* signUp = topScreenAs<RegistrationController>();
    ASSERT_NE(signUp, nullptr);
    ASSERT_TRUE(waitUntil([&] { return signUp->form() && !signUp->form()->fields().isEmpty(); }));
    settleAndFinish();
    RegistrationForm* form = signUp->form();
    const auto row = [&](const QString& name) {
        return form->cellForField(form->fieldWithName(name).get());
    };
    const auto textOf = [&](const QString& name) { return dynamic_cast<FieldTextCell*>(row(name))->field(); };
    const auto buttonOf = [&](const QString& name) { return dynamic_cast<FieldButtonCell*>(row(name))->field(); };

    // The texts: Tab to the first, Return from one to the next.
    ASSERT_TRUE(tabOnMarksTo([&] { return textOf(QStringLiteral("username")); }));
    typeKeys(QStringLiteral("keyboarder"));
    key(Qt::Key_Return);
    ASSERT_TRUE(textOf(QStringLiteral("password"))->isFirstResponder());
    typeKeys(QStringLiteral("pedal-on"));
    key(Qt::Key_Return);
    ASSERT_TRUE(textOf(QStringLiteral("passwordconfirm"))->isFirstResponder());
    typeKeys(QStringLiteral("pedal-on"));
    key(Qt::Key_Return);
    ASSERT_TRUE(textOf(QStringLiteral("email"))->isFirstResponder());
    typeKeys(QStringLiteral("keyboarder@example.net"));

    // The date: Tab to its row, Space opens its panel, Escape leaves it with
    // no date; again, the arrows go to the year and back ten, Return takes it.
    key(Qt::Key_Tab);
    finishAnimations();
    ASSERT_EQ(focused(), buttonOf(QStringLiteral("date_of_birth")));
    EXPECT_TRUE(buttonOf(QStringLiteral("date_of_birth"))->showsFocusMark());
    key(Qt::Key_Space);
    finishAnimations();
    auto* date = dynamic_cast<FieldDateCell*>(row(QStringLiteral("date_of_birth")));
    ASSERT_NE(date->picker(), nullptr);
    ASSERT_TRUE(date->picker()->isAncestorOf(focused()) || focused() == date->picker());
    key(Qt::Key_Up);
    key(Qt::Key_Escape);
    finishAnimations();
    EXPECT_FALSE(form->values().contains(QStringLiteral("date_of_birth"))) << "Escape chose nothing";
    ASSERT_EQ(focused(), buttonOf(QStringLiteral("date_of_birth")));
    key(Qt::Key_Space);
    finishAnimations();
    date = dynamic_cast<FieldDateCell*>(row(QStringLiteral("date_of_birth")));
    const QDate today = date->picker()->date();
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    for (int year = 0; year < 10; ++year)
        key(Qt::Key_Up);
    picture(QStringLiteral("keyboard-walk-sign-up-date.png"));
    PickerView* wheels = date->picker()->pickerView();
    ASSERT_EQ(focused(), wheels);
    ASSERT_EQ(wheels->keyboardComponent(), 2);
    const QRectF year = wheels->convertRect(wheels->componentRect(2), nullptr);
    EXPECT_TRUE(markedAt(QStringLiteral("keyboard-walk-sign-up-date.png"), QPointF(year.left() - 2.5, year.center().y())))
        << "the wheel the arrows turn wears the mark";
    EXPECT_FALSE(markedAt(QStringLiteral("keyboard-walk-sign-up-date.png"),
                          QPointF(wheels->convertRect(wheels->componentRect(0), nullptr).left() - 2.5, year.center().y())));
    key(Qt::Key_Return);
    finishAnimations();
    const QDate born = today.addYears(-10);
    EXPECT_EQ(dynamic_cast<FieldDateCell*>(row(QStringLiteral("date_of_birth")))->field()->currentTitle(),
              QLocale(QLocale::English).toString(born, QStringLiteral("MMMM d, yyyy")));

    // A choice: Tab to the season, Space opens it, Down and Return choose.
    ASSERT_TRUE(tabOnMarksTo([&] { return buttonOf(QStringLiteral("userfield[field6]")); }));
    key(Qt::Key_Space);
    finishAnimations();
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    finishAnimations();
    EXPECT_EQ(dynamic_cast<FieldButtonCell*>(row(QStringLiteral("userfield[field6]")))->field()->currentTitle(),
              QStringLiteral("Autumn"));
    ASSERT_TRUE(tabOnMarksTo([&] { return textOf(QStringLiteral("userfield[field2]")); }));
    typeKeys(QStringLiteral("Porto"));

    // The rules' tick box is a stop too, and Space ticks it.
    auto* agreement = dynamic_cast<FieldCheckboxCell*>(row(QStringLiteral("forum_rules_agreement")));
    ASSERT_NE(agreement, nullptr);
    ASSERT_TRUE(tabOnMarksTo([&] {
        return dynamic_cast<FieldCheckboxCell*>(row(QStringLiteral("forum_rules_agreement")))->checkbox();
    }));
    key(Qt::Key_Space);
    agreement = dynamic_cast<FieldCheckboxCell*>(row(QStringLiteral("forum_rules_agreement")));
    EXPECT_TRUE(agreement->checkbox()->isSelected());
    picture(QStringLiteral("keyboard-walk-sign-up-agreed.png"));

    // Shift+Tab round to the bar's send button; Return sends, and the new
    // member is at home.
    ASSERT_TRUE(tabOnMarksTo([&] { return navBar->rightButtonView(); }, false));
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_EQ(asked("register_addmember").size(), 1);
    const TestForumRequest signedUp = asked("register_addmember").first();
    EXPECT_EQ(signedUp.field(QStringLiteral("username")), QStringLiteral("keyboarder"));
    EXPECT_EQ(signedUp.field(QStringLiteral("email")), QStringLiteral("keyboarder@example.net"));
    EXPECT_EQ(signedUp.field(QStringLiteral("year")).toInt(), born.year());
    EXPECT_EQ(signedUp.field(QStringLiteral("userfield[field6]")), QStringLiteral("3"));
    EXPECT_EQ(signedUp.field(QStringLiteral("userfield[field2]")), QStringLiteral("Porto"));
    EXPECT_EQ(signedUp.field(QStringLiteral("agree")), QStringLiteral("1"));
    ASSERT_NE(home(), nullptr);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(QStringLiteral("keyboarder")));
}

TEST_F(KeyboardScenarioTest, ThreadsPastTheFirstPageAreReachedByTheArrowsAndByThePageStripAndTheRowOpenedStaysChosen)
{
    HomeController* homeScreen = enterAsGuest();
    ASSERT_NE(homeScreen, nullptr);
    ForumController* index = openForumsByKeys();
    ASSERT_NE(index, nullptr);
    auto* threads = openForumRowByKeys(index, 1);
    ASSERT_NE(threads, nullptr);
    ASSERT_EQ(threads->forum()->forumid(), 3);
    PaginableTableView* paged = threads->threadTable();
    TableView* list = paged->tableView();
    ASSERT_GE(threads->forum()->totalpages(), 3u) << "the forum has pages enough";

    // Down, one press at a time, each answer waited for: the mark goes on
    // from row to row into page 2 as it comes, stays in sight, and never
    // falls back to the top.
    ASSERT_TRUE(tabTo(list));
    ASSERT_NO_FATAL_FAILURE(downTo(list, IndexPath{1, 0}, true));
    ASSERT_EQ(list->indexPathForSelectedRow(), (IndexPath{1, 0}));

    // Page 3 held back by the forum: Down goes on to the row that loads it,
    // and stays there; once the page comes, that row's mark is on its first thread.
    forum().holdAtGate(QStringLiteral("forumdisplay"), QStringLiteral("page3"));
    ASSERT_NO_FATAL_FAILURE(downTo(list, IndexPath{2, 0}, false));
    const IndexPath loading = list->indexPathForSelectedRow();
    ASSERT_TRUE(paged->isLoadNextRow(loading)) << "the mark waits on the row that loads the page";
    ASSERT_TRUE(waitUntil([&] { return forum().arrivedAtGate(QStringLiteral("page3")) == 1; }));
    EXPECT_EQ(list->indexPathForSelectedRow(), loading);
    forum().openGate(QStringLiteral("page3"));
    ASSERT_TRUE(waitUntil([&] { return list->numberOfSections() == 3; }));
    settleAndFinish();
    ASSERT_EQ(list->indexPathForSelectedRow(), (IndexPath{2, 0}));
    EXPECT_TRUE(inSight(list, IndexPath{2, 0}));
    const IndexPath target{2, 3};
    ASSERT_NO_FATAL_FAILURE(downTo(list, target, true));
    ASSERT_EQ(list->indexPathForSelectedRow(), target);
    EXPECT_EQ(paged->pageForSection(2), 3u);
    const auto marked = std::dynamic_pointer_cast<Thread>(paged->rowsForSection(2).value(3));
    ASSERT_NE(marked, nullptr);
    picture(QStringLiteral("keyboard-page-three-row.png"));
    EXPECT_TRUE(rowMarkedIn(QStringLiteral("keyboard-page-three-row.png"), list, target));

    // Return opens the thread marked; back, the keys are on its row still,
    // in sight, and the arrows go on from it.
    key(Qt::Key_Return);
    settleAndFinish();
    auto* page = topScreenAs<PostController>();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->thread()->threadid(), marked->threadid());
    backByKeys();
    ASSERT_EQ(topScreen(), threads);
    EXPECT_EQ(focused(), list);
    ASSERT_EQ(list->indexPathForSelectedRow(), target) << "the page seen last came again, and the row with it";
    EXPECT_TRUE(inSight(list, target));
    key(Qt::Key_Down);
    EXPECT_EQ(list->indexPathForSelectedRow(), (IndexPath{2, 4}));
    // Up, back over the page's start: every row marked shows whole.
    for (int presses = 0; presses < 7; ++presses) {
        key(Qt::Key_Up);
        finishAnimations();
        EXPECT_TRUE(inSight(list, list->indexPathForSelectedRow())) << "Up " << presses + 1;
    }
    EXPECT_EQ(list->indexPathForSelectedRow(), (IndexPath{1, 17}));

    // Shift+Tab to the page strip: its mark on the page on screen; the
    // arrows move it along the numbers, Return loads the marked page.
    PageNavView* strip = paged->navView();
    ASSERT_TRUE(tabTo(strip, false)) << "the page strip is a Tab stop";
    EXPECT_EQ(strip->keyboardPage(), strip->currentPage());
    for (int presses = 0; presses < 6 && strip->keyboardPage() != 1; ++presses)
        key(Qt::Key_Left);
    ASSERT_EQ(strip->keyboardPage(), 1u);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    ASSERT_EQ(strip->keyboardPage(), 3u);
    picture(QStringLiteral("keyboard-page-strip.png"));
    const auto numberAt = [&](int row) {
        const QRectF cell = strip->cellForRow(row)->convertRect(strip->cellForRow(row)->bounds(), nullptr);
        return QPointF(cell.left() + 3.5, cell.center().y());
    };
    ASSERT_NE(strip->cellForRow(2), nullptr);
    EXPECT_EQ(strip->cellForRow(2)->number()->text(), QStringLiteral("3"));
    EXPECT_TRUE(markedAt(QStringLiteral("keyboard-page-strip.png"), numberAt(2))) << "the marked number wears the mark";
    EXPECT_FALSE(markedAt(QStringLiteral("keyboard-page-strip.png"), numberAt(0)));
    key(Qt::Key_Return);
    settleAndFinish();
    EXPECT_EQ(asked("forumdisplay").last().field(QStringLiteral("pagenumber")), QStringLiteral("3"));
    ASSERT_EQ(paged->pageForSection(0), 3u) << "the list starts at the page chosen";
    EXPECT_EQ(focused(), strip);
    EXPECT_EQ(strip->keyboardPage(), 3u);

    // Tab down to the list, Down marks page 3's first thread, Return opens it.
    ASSERT_TRUE(tabTo(list));
    key(Qt::Key_Down);
    ASSERT_EQ(list->indexPathForSelectedRow(), (IndexPath{0, 0}));
    const auto first = std::dynamic_pointer_cast<Thread>(paged->rowsForSection(0).value(0));
    ASSERT_NE(first, nullptr);
    key(Qt::Key_Return);
    settleAndFinish();
    page = topScreenAs<PostController>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->thread()->threadid(), first->threadid());

    // Back twice: on the index, the forum opened is marked and has the keys.
    backByKeys();
    ASSERT_EQ(topScreen(), threads);
    EXPECT_EQ(list->indexPathForSelectedRow(), (IndexPath{0, 0}));
    backByKeys();
    ASSERT_EQ(topScreen(), index);
    EXPECT_EQ(focused(), index->forumTable());
    ASSERT_EQ(index->forumTable()->indexPathForSelectedRow(), (IndexPath{0, 1})) << "the tree came afresh, the row with it";
    picture(QStringLiteral("keyboard-index-back.png"));
    EXPECT_TRUE(rowMarkedIn(QStringLiteral("keyboard-index-back.png"), index->forumTable(), IndexPath{0, 1}));
    EXPECT_FALSE(rowMarkedIn(QStringLiteral("keyboard-index-back.png"), index->forumTable(), IndexPath{0, 2}));
    key(Qt::Key_Down);
    EXPECT_EQ(index->forumTable()->indexPathForSelectedRow(), (IndexPath{0, 2}));
}

TEST_F(KeyboardScenarioTest, TheMouseLeavesNoRingTheWholeSubforumsHeaderOpensThemAndARowClickedIsChosenOnReturn)
{
    ASSERT_NE(enterAsGuest(), nullptr);
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);
    PaginableTableView* paged = threads->threadTable();
    TableView* list = paged->tableView();
    SubforumsHeader* header = threads->header();
    ASSERT_NE(header, nullptr);
    ASSERT_FALSE(header->showChilds());
    const auto subforumFirst = [&] { return std::dynamic_pointer_cast<Forum>(paged->rowsForSection(0).value(0)) != nullptr; };
    // The ring's line, down the list's left edge, below the header.
    const QRectF listOnWindow = list->convertRect(list->bounds(), nullptr);
    const QPointF ringLine(listOnWindow.left() + 1.5, listOnWindow.top() + 100);

    // A click on the header's words opens the subforums, as one on its chevron does.
    const QRectF words = header->title()->convertRect(header->title()->bounds(), nullptr);
    click(QPointF(words.left() + 20, words.center().y()));
    settleAndFinish();
    EXPECT_TRUE(header->showChilds());
    EXPECT_TRUE(subforumFirst());
    EXPECT_FALSE(list->showsFocusRing());

    // The mouse pulls the list down and lets go: the list has the mouse's
    // focus, and no ring says it has the keyboard's.
    const QPointF from(listOnWindow.center().x(), listOnWindow.top() + 120);
    UserInput::press(Window::keyWindow(), from);
    for (int step = 1; step <= 10; ++step) {
        clock()->advance(16);
        UserInput::move(Window::keyWindow(), from + QPointF(0, 8 * step));
    }
    clock()->advance(200);
    UserInput::release(Window::keyWindow(), from + QPointF(0, 80));
    settleAndFinish();
    clock()->advance(PaginableTableView::kRefreshCloseDelayMs);
    finishAnimations();
    EXPECT_EQ(focused(), list);
    EXPECT_FALSE(list->showsFocusRing());
    picture(QStringLiteral("mouse-pulled-list.png"));
    EXPECT_FALSE(markedAt(QStringLiteral("mouse-pulled-list.png"), ringLine)) << "no ring after a drag";

    // Shift+Tab marks the header as a whole; Return and Space close and
    // open the subforums, and the keyboard stays on the header.
    ASSERT_TRUE(tabTo(header, false)) << "the header is a Tab stop";
    EXPECT_TRUE(header->showsFocusMark());
    picture(QStringLiteral("keyboard-subforums-header.png"));
    // On the blue bar the mark shows by its white inner line.
    const QRectF headerOnWindow = header->convertRect(header->bounds(), nullptr);
    const QPointF innerLine(headerOnWindow.center().x(), headerOnWindow.top() + 3.5);
    EXPECT_TRUE(lightAt(QStringLiteral("keyboard-subforums-header.png"), innerLine));
    EXPECT_FALSE(lightAt(QStringLiteral("mouse-pulled-list.png"), innerLine));
    key(Qt::Key_Return);
    settleAndFinish();
    EXPECT_FALSE(header->showChilds());
    EXPECT_FALSE(subforumFirst());
    EXPECT_EQ(focused(), header);
    key(Qt::Key_Space);
    settleAndFinish();
    EXPECT_TRUE(header->showChilds());
    EXPECT_EQ(focused(), header);

    // Tab brings the keyboard to the list: now the ring shows.
    ASSERT_TRUE(tabTo(list));
    EXPECT_TRUE(list->showsFocusRing());
    picture(QStringLiteral("keyboard-ringed-list.png"));
    EXPECT_TRUE(markedAt(QStringLiteral("keyboard-ringed-list.png"), ringLine));

    // A thread opened by a click: back by the bar's button, its row is
    // the list's chosen one, with the keys, and the arrows go on from it.
    const IndexPath clicked = firstThreadRow(threads);
    const auto thread = std::dynamic_pointer_cast<Thread>(paged->rowsForSection(0).value(clicked.row + 1));
    ASSERT_NE(thread, nullptr) << "the subforum's row comes first";
    ASSERT_NE(openThread(threads, thread->threadid()), nullptr);
    NavigationBar* bar = delegate()->controller()->navigationBar();
    tap(bar->backButtonView());
    settleAndFinish();
    ASSERT_EQ(topScreen(), threads);
    EXPECT_EQ(focused(), list);
    const IndexPath opened{0, clicked.row + 1};
    EXPECT_EQ(list->indexPathForSelectedRow(), opened);
    EXPECT_FALSE(list->showsFocusRing());
    key(Qt::Key_Down);
    EXPECT_EQ(list->indexPathForSelectedRow(), (IndexPath{0, opened.row + 1}));

    // Back to the index by the mouse: General Discussion, opened by a click,
    // is marked there and has the keys.
    tap(bar->backButtonView());
    settleAndFinish();
    auto* index = topScreenAs<ForumController>();
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(focused(), index->forumTable());
    ASSERT_EQ(index->forumTable()->indexPathForSelectedRow(), (IndexPath{0, 1}));
    picture(QStringLiteral("mouse-index-back.png"));
    EXPECT_TRUE(rowMarkedIn(QStringLiteral("mouse-index-back.png"), index->forumTable(), IndexPath{0, 1}));
    key(Qt::Key_Up);
    EXPECT_EQ(index->forumTable()->indexPathForSelectedRow(), (IndexPath{0, 0}));
}
