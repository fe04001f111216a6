#include "ForumScreenTest.h"
#include "ControlClicks.h"

#include "app/json/JSONConvenience.h"
#include "forum/cells/SelectForumCell.h"
#include "forum/screens/ComposingScreens.h"
#include "forum/screens/ContentTags.h"
#include "forum/screens/InsertTextController.h"
#include "forum/screens/SelectForumController.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include "platform/foundation/Bundle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

// The helpers the composing and moderation screens open by class name, on
// the loopback forum: the forum picker on the forum's real tree, the
// one-line prompt and the tag screen, each handing its answer to the screen
// that opened it.
namespace {

QString text(const char* key)
{
    return Bundle::main().localizedString(QString::fromLatin1(key));
}

// Keys typed on the keyboard, which the input has.
void typeInto(QWidget* input, const QString& typed)
{
    ASSERT_EQ(QApplication::focusWidget(), input) << "keys go to the input that has the keyboard";
    UserInput::type(typed, input->window());
}

void pressReturnIn(QWidget* input)
{
    ASSERT_EQ(QApplication::focusWidget(), input) << "keys go to the input that has the keyboard";
    UserInput::key(Qt::Key_Return, Qt::NoModifier, QString(), input->window());
}

// A screen that opens the helpers and hears from them, as a composing or a
// moderation screen does.
class Opener : public UIViewControllerCommon,
               public SelectForumDelegate,
               public InsertTextDelegate,
               public ContentTagsDelegate {
public:
    QList<ForumPtr> chosen;
    bool closePicker = true;
    QStringList inserted;
    QStringList tags;
    std::function<void(const ForumPtr&)> onChosen;
    std::function<void(InsertTextController*)> onInserted;

    bool forumWasSelected(const ForumPtr& forum) override
    {
        chosen.append(forum);
        if (onChosen)
            onChosen(forum);
        return closePicker;
    }
    void textWasInserted(InsertTextController* prompt) override
    {
        inserted.append(prompt->text());
        if (onInserted)
            onInserted(prompt);
    }
    void setTags(const QString& typed) override { tags.append(typed); }

    template <typename Screen>
    std::shared_ptr<Screen> push(const char* className)
    {
        auto screen = std::dynamic_pointer_cast<Screen>(ViewControllerRegistry::create(QString::fromLatin1(className)));
        if (screen)
            navigationController()->pushViewController(screen, true);
        return screen;
    }
};

class ComposingHelpersTest : public ForumScreenTest {
protected:
    void SetUp() override
    {
        ForumScreenTest::SetUp();
        ComposingScreens::registerClasses(context());
        showRoot(std::make_shared<UIViewControllerCommon>());
        opener = std::make_shared<Opener>();
        navigation()->pushViewController(opener, false);
        finishMoving();
    }
    void TearDown() override
    {
        for (const QString& name : ComposingScreens::classNames()) {
            ViewControllerRegistry::unregisterClass(name);
            ScreenInputs::unregisterSetter(name);
        }
        opener.reset();
        ForumScreenTest::TearDown();
    }
    std::shared_ptr<SelectForumController> openPicker()
    {
        auto picker = opener->push<SelectForumController>("SelectForumController");
        EXPECT_NE(picker, nullptr);
        if (picker)
            picker->setDelegate(opener.get());
        finishMoving();
        return picker;
    }
    QString rowTitle(SelectForumController* picker, const IndexPath& path)
    {
        picker->forumTable()->scrollToRowAtIndexPath(path, TableViewScrollPosition::Middle, false);
        finishMoving();
        auto* cell = dynamic_cast<SelectForumCell*>(picker->forumTable()->cellForRowAtIndexPath(path));
        return cell ? cell->forum()->text() : QStringLiteral("(no row)");
    }
    void picture(const char* name)
    {
        finishMoving();
        ASSERT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(QString::fromLatin1(name))));
    }
    void pressBarButton(const std::shared_ptr<BarButtonItem>& item)
    {
        ASSERT_NE(item, nullptr);
        clickBarButton(window.get(), item);
    }

    std::shared_ptr<Opener> opener;
};

}  // namespace

TEST_F(ComposingHelpersTest, TheForumPickerWalksTheRealTreeAndHandsOverTheForumChosen)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    forum().clearLog();
    std::shared_ptr<SelectForumController> picker = opener->push<SelectForumController>("SelectForumController");
    ASSERT_NE(picker, nullptr);
    picker->setDelegate(opener.get());
    // Never loaded before: the tree is asked for, and the screen says so meanwhile.
    EXPECT_FALSE(picker->emptyLabel()->isHidden());
    EXPECT_EQ(picker->emptyLabel()->text(), text("loading"));
    settleAll();
    EXPECT_EQ(requestsOf("api_forumlist").size(), 1);
    EXPECT_TRUE(picker->emptyLabel()->isHidden());
    EXPECT_EQ(picker->navigationItem()->leftBarButtonItem()->title(), text("back"));

    TableView* table = picker->forumTable();
    ASSERT_EQ(table->numberOfSections(), 4);
    EXPECT_EQ(picker->titleOfSection(0), QStringLiteral("Community"));
    EXPECT_EQ(picker->titleOfSection(1), QStringLiteral("Help & Support"));
    EXPECT_EQ(picker->titleOfSection(2), QString()) << "a forum at the top heads its own section";
    EXPECT_EQ(table->rectForHeaderInSection(0).height(), SelectForumController::kSectionHeaderHeight);
    EXPECT_EQ(table->rectForHeaderInSection(2).height(), 0) << "no empty band over a forum without a category";
    EXPECT_EQ(table->headerViewForSection(2), nullptr);
    EXPECT_EQ(rowTitle(picker.get(), IndexPath{0, 0}), QStringLiteral("Announcements & News"));
    picture("select-forum.png");

    // A forum with subforums opens its level; its own row there picks it.
    tapRow(table, IndexPath{0, 1});
    ASSERT_NE(picker->level(), nullptr);
    EXPECT_EQ(picker->level()->title_clean(), QStringLiteral("General Discussion"));
    EXPECT_TRUE(opener->chosen.isEmpty());
    EXPECT_EQ(picker->titleOfSection(0), text("nav_forums"));
    EXPECT_EQ(picker->titleOfSection(1), QStringLiteral("Subforums (1)"));
    EXPECT_EQ(rowTitle(picker.get(), IndexPath{1, 0}), QStringLiteral("Off-topic"));
    picture("select-forum-level.png");
    // A subforum with subforums of its own opens its level in turn; back
    // returns to the top in one step.
    tapRow(table, IndexPath{1, 0});
    ASSERT_NE(picker->level(), nullptr);
    EXPECT_EQ(rowTitle(picker.get(), IndexPath{1, 0}), QStringLiteral("Jokes & Games"));
    pressBarButton(picker->navigationItem()->leftBarButtonItem());
    finishMoving();
    EXPECT_EQ(picker->level(), nullptr);
    EXPECT_EQ(top(), picker.get());
    EXPECT_TRUE(opener->chosen.isEmpty());

    // A delegate that answers no keeps the picker; the chosen forum reads "&".
    opener->closePicker = false;
    tapRow(table, IndexPath{0, 0});
    ASSERT_EQ(opener->chosen.size(), 1);
    EXPECT_EQ(opener->chosen[0]->forumid(), 2);
    EXPECT_EQ(opener->chosen[0]->title_clean(), QStringLiteral("Announcements & News"));
    EXPECT_EQ(top(), picker.get());
    EXPECT_FALSE(table->indexPathForSelectedRow().isValid()) << "the row is only deselected";

    // One that answers yes closes it.
    opener->closePicker = true;
    tapRow(table, IndexPath{1, 1});
    ASSERT_EQ(opener->chosen.size(), 2);
    EXPECT_EQ(opener->chosen[1]->forumid(), 12);
    EXPECT_EQ(top(), opener.get());

    // Back at the top closes a picker without a word to the delegate.
    picker = openPicker();
    EXPECT_EQ(requestsOf("api_forumlist").size(), 1) << "the tree loaded once serves again";
    pressBarButton(picker->navigationItem()->leftBarButtonItem());
    finishMoving();
    EXPECT_EQ(top(), opener.get());
    EXPECT_EQ(opener->chosen.size(), 2);
}

TEST_F(ComposingHelpersTest, TheForumPickerIsWalkedWithTheKeyboardAlone)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    std::shared_ptr<SelectForumController> picker = openPicker();
    ASSERT_NE(picker, nullptr);
    settleAll();
    TableView* table = picker->forumTable();
    // The list has the keyboard as it opens: the arrows go from row to row,
    // Return takes the row as a click does.
    EXPECT_EQ(QApplication::focusWidget(), table);
    const auto press = [this](Qt::Key key) {
        UserInput::key(key, Qt::NoModifier, QString(), window.get());
        finishMoving();
    };
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 1}));
    EXPECT_TRUE(opener->chosen.isEmpty());
    press(Qt::Key_Return);
    ASSERT_NE(picker->level(), nullptr);
    EXPECT_EQ(picker->level()->title_clean(), QStringLiteral("General Discussion"));
    EXPECT_EQ(QApplication::focusWidget(), table);
    // On its level, the forum's own row is the first.
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    ASSERT_EQ(opener->chosen.size(), 1);
    EXPECT_EQ(opener->chosen[0]->forumid(), 3);
    EXPECT_EQ(top(), opener.get());
}

TEST_F(ComposingHelpersTest, ACategoryOrALinkCannotBeChosenAndAnEmptyTreeSaysSo)
{
    auto tree = std::make_shared<ForumInfo>();
    tree->setForums(JSONValue(QStringLiteral(
        R"([{"forumid": "30", "title_clean": "Archive &amp; old", "is_category": 1},
            {"forumid": "31", "title_clean": "Lobby"}])")));
    auto picker = std::make_shared<SelectForumController>(context());
    picker->setInfo(tree);
    picker->setDelegate(opener.get());
    navigation()->pushViewController(picker, true);
    finishMoving();
    EXPECT_EQ(picker->info(), tree) << "a tree given by the opener is the one shown";
    EXPECT_TRUE(requestsOf("api_forumlist").isEmpty());
    EXPECT_EQ(picker->titleOfSection(0), QStringLiteral("Archive & old"));
    EXPECT_EQ(rowTitle(picker.get(), IndexPath{0, 0}), QStringLiteral("Archive & old"));
    tapRow(picker->forumTable(), IndexPath{0, 0});
    EXPECT_TRUE(opener->chosen.isEmpty());
    EXPECT_EQ(top(), picker.get());
    tapRow(picker->forumTable(), IndexPath{1, 0});
    ASSERT_EQ(opener->chosen.size(), 1);
    EXPECT_EQ(opener->chosen[0]->forumid(), 31);

    // A forum that has no forums at all: the picker says there is nothing to choose.
    forum().answerHttpStatus(QStringLiteral("api_forumlist"), 500);
    auto empty = std::make_shared<SelectForumController>(context());
    navigation()->pushViewController(empty, true);
    settleAll();
    EXPECT_FALSE(empty->emptyLabel()->isHidden());
    EXPECT_EQ(empty->emptyLabel()->text(), text("select_forum_empty"));
    dismissAlerts();

    // Nor a forum that is only a link to a web page: nothing goes there.
    forum().clearControls();
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    auto real = openPicker();
    ASSERT_NE(real, nullptr);
    settleAll();
    IndexPath website;
    TableView* table = real->forumTable();
    for (int section = 0; section < table->numberOfSections(); ++section) {
        for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
            const ForumPtr shown = real->retrieveForumAtIndexPath(IndexPath{section, row});
            if (shown && shown->is_link())
                website = IndexPath{section, row};
        }
    }
    ASSERT_TRUE(website.isValid());
    EXPECT_EQ(rowTitle(real.get(), website), QStringLiteral("Project Website"));
    tapRow(table, website);
    EXPECT_EQ(opener->chosen.size(), 1);
    EXPECT_EQ(top(), real.get());
    real->handleBack();
    finishMoving();
}

TEST_F(ComposingHelpersTest, ThePromptHandsOverItsLineAndTakesOnlyItselfOffTheStack)
{
    // As a moving moderator does: the picker's choice opens the prompt over
    // it, and the prompt's answer takes both off the stack.
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    std::shared_ptr<InsertTextController> prompt;
    opener->closePicker = false;
    opener->onChosen = [&](const ForumPtr&) {
        prompt = opener->push<InsertTextController>("InsertTextController");
        prompt->setTitleText(QStringLiteral("Title of the new thread"));
        prompt->setDelegate(opener.get());
    };
    opener->onInserted = [&](InsertTextController*) {
        QList<ViewControllerPtr> kept;
        for (const ViewControllerPtr& screen : navigation()->viewControllers()) {
            if (!dynamic_cast<SelectForumController*>(screen.get()) && !dynamic_cast<InsertTextController*>(screen.get()))
                kept.append(screen);
        }
        navigation()->setViewControllers(kept, true);
    };
    std::shared_ptr<SelectForumController> picker = openPicker();
    settleAll();
    tapRow(picker->forumTable(), IndexPath{0, 2});
    finishMoving();
    ASSERT_NE(prompt, nullptr);
    ASSERT_EQ(top(), prompt.get());
    EXPECT_EQ(navigation()->viewControllers().size(), 4);
    EXPECT_EQ(prompt->label()->text(), QStringLiteral("Title of the new thread"));
    EXPECT_TRUE(prompt->input()->isFirstResponder()) << "the line takes the keyboard when the prompt shows";

    auto* line = prompt->input()->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    typeInto(line, QStringLiteral("Moved: the best jokes"));
    picture("insert-text.png");
    pressReturnIn(line);
    finishMoving();
    EXPECT_EQ(opener->inserted, QStringList{QStringLiteral("Moved: the best jokes")});
    ASSERT_EQ(navigation()->viewControllers().size(), 2);
    EXPECT_EQ(top(), opener.get()) << "the prompt's pop never takes the screen below it";

    // On its own, "done" hands over the line and pops the prompt; going back hands over nothing.
    opener->onInserted = nullptr;
    prompt = opener->push<InsertTextController>("InsertTextController");
    prompt->setDelegate(opener.get());
    prompt->setText(QStringLiteral("https://video.example/clip"));
    finishMoving();
    EXPECT_EQ(prompt->input()->text(), QStringLiteral("https://video.example/clip"));
    pressBarButton(prompt->navigationItem()->rightBarButtonItem());
    prompt->finish();
    finishMoving();
    EXPECT_EQ(opener->inserted.size(), 2) << "told once";
    EXPECT_EQ(opener->inserted.last(), QStringLiteral("https://video.example/clip"));
    EXPECT_EQ(top(), opener.get());
    prompt = opener->push<InsertTextController>("InsertTextController");
    prompt->setDelegate(opener.get());
    finishMoving();
    back();
    EXPECT_EQ(opener->inserted.size(), 2);
    EXPECT_EQ(top(), opener.get());
}

TEST_F(ComposingHelpersTest, TheTagScreenHandsBackWhatWasTyped)
{
    auto tags = opener->push<ContentTags>("ContentTags");
    ASSERT_NE(tags, nullptr);
    tags->setDelegate(opener.get());
    tags->setTagsText(QStringLiteral("photo, trip"));
    finishMoving();
    EXPECT_TRUE(tags->tags()->isFirstResponder()) << "the text takes the keyboard at once";
    EXPECT_EQ(tags->navigationItem()->rightBarButtonItem()->title(), text("done"));
    auto* edit = tags->tags()->findChild<QPlainTextEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(QApplication::focusWidget(), edit) << "the keys typed go there, not only the word";
    // Typing goes on after the text given, where the caret stands.
    typeInto(edit, QStringLiteral(", sea"));
    picture("content-tags.png");
    pressBarButton(tags->navigationItem()->rightBarButtonItem());
    finishMoving();
    EXPECT_EQ(opener->tags, QStringList{QStringLiteral("photo, trip, sea")});
    EXPECT_EQ(top(), opener.get());

    // An empty text is handed back as it is.
    tags = opener->push<ContentTags>("ContentTags");
    tags->setDelegate(opener.get());
    finishMoving();
    pressBarButton(tags->navigationItem()->rightBarButtonItem());
    finishMoving();
    EXPECT_EQ(opener->tags, (QStringList{QStringLiteral("photo, trip, sea"), QString()}));
}
