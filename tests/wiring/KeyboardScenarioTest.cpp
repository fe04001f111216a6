#include "AppScenario.h"
#include "ControlClicks.h"

#include "app/screens/GlobalNavigationViewController.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "app/widgets/SegmentControlHidding.h"
#include "forum/model/Thread.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/HomeController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/SearchController.h"
#include "forum/screens/SearchForController.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextView.h"

#include "platform/foundation/Bundle.h"

#include <QApplication>
#include <QJsonArray>

namespace {

// A member who leaves the mouse alone once the screen is open.
class KeyboardScenarioTest : public AppScenario {
protected:
    static QWidget* focused() { return QApplication::focusWidget(); }
    // Tab (or Shift+Tab) until the view has the focus; false when a whole
    // round of the screen never reached it.
    static bool tabTo(QWidget* target, bool forward = true)
    {
        for (int presses = 0; presses < 16; ++presses) {
            if (focused() == target)
                return true;
            key(forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? Qt::NoModifier : Qt::ShiftModifier);
            finishAnimations();
        }
        return focused() == target;
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
    EXPECT_EQ(focused(), editor->tagsButton());
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
    clickSegment(homeScreen->search(), 0);
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
    TableView* list = threads->threadTable()->tableView();

    // Tab reaches the list; the arrows walk its rows, marking each.
    ASSERT_TRUE(tabTo(list)) << "Tab never reached the thread list";
    const IndexPath wanted = firstThreadRow(threads);
    for (int row = 0; row <= wanted.row; ++row)
        key(Qt::Key_Down);
    finishAnimations();
    ASSERT_EQ(list->indexPathForSelectedRow(), wanted);
    const auto chosen = std::dynamic_pointer_cast<Thread>(threads->threadTable()->rowsForSection(0).value(wanted.row));
    ASSERT_NE(chosen, nullptr);

    // Return opens it, as a click does.
    key(Qt::Key_Return);
    settleAndFinish();
    auto* page = topScreenAs<PostController>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->thread()->threadid(), chosen->threadid());

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
