#include "KeyboardScenario.h"
#include "NamedView.h"
#include "ShownPixels.h"

#include "app/screens/FieldLinkDetails.h"
#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/RegistrationController.h"
#include "app/widgets/FieldLinkCell.h"
#include "app/widgets/RegistrationForm.h"
#include "app/widgets/SegmentControlHidding.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/cells/HomeCell.h"
#include "forum/cells/QuickReplyCell.h"
#include "forum/model/Thread.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorPublishArea.h"
#include "neighbours/screens/BlogSettingsController.h"
#include "neighbours/screens/MyProfile.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"

#include <QApplication>
#include <QJsonArray>
#include <QTextBrowser>

#include <functional>

// A member with the keyboard alone reaches every control a mouse reaches,
// and sees where the keys are: the quick reply's send and close buttons
// from a box that starts under the tab bar, a home row's picture from its
// row, the blog entry's categories, the rules page's link, the menu's
// entries, the home header's picture button. What is marked is judged by
// the pixels the window shows.
namespace {

class KeyboardReachScenarioTest : public KeyboardScenario {};

}  // namespace

TEST_F(KeyboardReachScenarioTest, AQuickReplyWhoseBoxStartsUnderTheTabBarIsWrittenAndSentByTheKeysAlone)
{
    ASSERT_NE(signInAs(QStringLiteral("alice"), QStringLiteral("secret1")), nullptr);
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);
    // "Coast ride route": its page ends with the reply box mostly under the tab bar.
    PostController* page = openThreadByKeys(threads, 312);
    ASSERT_NE(page, nullptr);
    QuickReplyCell* row = quickReplyRow(page);
    ASSERT_NE(row, nullptr);
    TabBarHidding* bar = page->actions();
    ASSERT_GT(onWindow(row->textView()).center().y(), onWindow(bar).top()) << "the box starts under the bar";
    const int postsBefore = int(forum().threadState(312).value(QStringLiteral("posts")).toArray().size());

    // Tab into the box: the whole row comes into view, above the bar.
    ASSERT_TRUE(tabUntil([&] { return row->textView()->isFirstResponder(); }));
    EXPECT_LE(onWindow(row->textView()).bottom(), onWindow(bar).top());
    const QRectF box = onWindow(row->textView());
    EXPECT_EQ(pixelAt(shown(), QPointF(box.center().x(), box.bottom() - 3)), QColor(Qt::white))
        << "the foot of the box shows, not the bar over it";
    typeKeys(QStringLiteral("Count me in"));
    picture(QStringLiteral("keyboard-quick-reply-box.png"));

    // Shift+Tab: send, then close, each marked; the buttons stay while the
    // keys are in the row. Once more and the keys leave the row upwards.
    tab(false);
    ASSERT_EQ(focused(), row->submitButton());
    EXPECT_TRUE(marked(row->submitButton()));
    EXPECT_FALSE(row->cancelButton()->isHidden());
    picture(QStringLiteral("keyboard-quick-reply-send.png"));
    tab(false);
    ASSERT_EQ(focused(), row->cancelButton());
    EXPECT_TRUE(marked(row->cancelButton()));
    EXPECT_TRUE(unmarked(row->submitButton()));
    tab(false);
    EXPECT_NE(focused(), bar);
    EXPECT_FALSE(row->isAncestorOf(focused()));
    EXPECT_TRUE(row->submitButton()->isHidden());

    // Tab goes back into the box, then up to close and send, then on to the bar.
    tab();
    ASSERT_TRUE(row->textView()->isFirstResponder());
    tab();
    EXPECT_EQ(focused(), row->cancelButton());
    tab();
    ASSERT_EQ(focused(), row->submitButton());
    EXPECT_TRUE(marked(row->submitButton()));
    tab();
    EXPECT_EQ(focused(), bar);
    EXPECT_EQ(bar->keyboardItemIndex(), int(PostController::Reload));

    // Shift+Tab from the bar to the box, and to send: Return sends what was typed.
    tab(false);
    ASSERT_TRUE(row->textView()->isFirstResponder());
    EXPECT_EQ(row->textView()->text(), QStringLiteral("Count me in"));
    tab(false);
    ASSERT_EQ(focused(), row->submitButton());
    key(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] {
        return forum().threadState(312).value(QStringLiteral("posts")).toArray().size() == postsBefore + 1;
    }));
    settleAndFinish();
    const int sent = forum().threadState(312).value(QStringLiteral("posts")).toArray().last().toInt();
    EXPECT_EQ(forum().postState(sent).value(QStringLiteral("bbcode")).toString(), QStringLiteral("Count me in"));
}

TEST_F(KeyboardReachScenarioTest, HomeIsRoundedByTabWithTheListOneStopAndARowsPictureIsReachedFromItsRow)
{
    // Erin has no picture: the header offers the place for one.
    HomeController* homeScreen = signInAs(QStringLiteral("erin"), QStringLiteral("secret6"));
    ASSERT_NE(homeScreen, nullptr);
    ShadowedTableView* list = named<PaginableTableView>(homeScreen, "news")->tableView();
    Button* changePicture = named<Button>(homeScreen, "changePicture");

    // Round the screen: the list is one stop; no row's picture is one, and
    // no stop lies out of sight.
    ASSERT_TRUE(tabTo(list));
    int listStops = 0;
    for (int presses = 0; presses < 30; ++presses) {
        tab();
        QWidget* now = focused();
        ASSERT_NE(now, nullptr);
        listStops += now == list;
        auto* view = qobject_cast<View*>(now);
        if (view) {
            EXPECT_TRUE(QRectF(0, 0, Window::kWidth, Window::kHeight).intersects(onWindow(view)))
                << "a stop out of sight: " << now->metaObject()->className() << "/" << now->objectName().toStdString();
        }
        EXPECT_FALSE(now != list && list->isAncestorOf(now)) << "Tab went into the list's rows";
        if (now == list)
            break;
    }
    EXPECT_EQ(listStops, 1) << "the round came back to the list";

    // The header's picture button wears the mark over the place for a picture.
    ASSERT_TRUE(tabTo(changePicture));
    EXPECT_TRUE(marked(changePicture));
    picture(QStringLiteral("keyboard-home-picture-button.png"));

    // The list; Down marks the first row, Right hands the keys to its
    // picture, marked; Down gives them back to the list on the next row,
    // and Return opens that row's thread.
    ASSERT_TRUE(tabTo(list));
    key(Qt::Key_Down);
    finishAnimations();
    auto* first = dynamic_cast<HomeCell*>(list->cellForRowAtIndexPath(IndexPath{0, 0}));
    ASSERT_NE(first, nullptr);
    ASSERT_FALSE(first->thumb()->isHidden()) << "the first row shows its author's picture";
    EXPECT_TRUE(unmarked(first->thumbButton()));
    key(Qt::Key_Right);
    finishAnimations();
    ASSERT_EQ(focused(), first->thumbButton());
    EXPECT_TRUE(marked(first->thumbButton()));
    EXPECT_EQ(list->indexPathForSelectedRow(), (IndexPath{0, 0})) << "the row stays marked under its picture";
    picture(QStringLiteral("keyboard-home-row-picture.png"));
    key(Qt::Key_Down);
    finishAnimations();
    EXPECT_EQ(focused(), list);
    EXPECT_EQ(list->indexPathForSelectedRow(), (IndexPath{0, 1}));
    EXPECT_TRUE(unmarked(first->thumbButton()));
    PaginableTableView* news = named<PaginableTableView>(homeScreen, "news");
    const auto second = std::dynamic_pointer_cast<Thread>(news->rowsForSection(0).value(1));
    ASSERT_NE(second, nullptr);
    key(Qt::Key_Return);
    settleAndFinish();
    auto* opened = topScreenAs<PostController>();
    ASSERT_NE(opened, nullptr) << "Return opened the marked row's thread";
    EXPECT_EQ(opened->thread()->threadid(), second->threadid());
    back();
    ASSERT_EQ(topScreen(), homeScreen);

    // Back, the row opened is still the marked one. Left gives the keys
    // back to the row; from the picture Return opens the author's profile.
    ASSERT_TRUE(tabTo(list));
    EXPECT_EQ(list->indexPathForSelectedRow(), (IndexPath{0, 1}));
    key(Qt::Key_Right);
    finishAnimations();
    auto* marking = dynamic_cast<HomeCell*>(list->cellForRowAtIndexPath(list->indexPathForSelectedRow()));
    ASSERT_NE(marking, nullptr);
    ASSERT_EQ(focused(), marking->thumbButton());
    key(Qt::Key_Left);
    EXPECT_EQ(focused(), list);
    key(Qt::Key_Right);
    ASSERT_EQ(focused(), marking->thumbButton());
    key(Qt::Key_Return);
    settleAndFinish();
    EXPECT_NE(topScreenAs<MyProfile>(), nullptr) << "Return on the picture opened the author's profile";
}

TEST_F(KeyboardReachScenarioTest, TheMenuTakesTheKeysOnItsSectionsEntryAndGivesThemBackOnEscape)
{
    HomeController* homeScreen = signInAs(QStringLiteral("bob"), QStringLiteral("secret2"));
    ASSERT_NE(homeScreen, nullptr);

    // Opened from home, its home entry has the keys, marked.
    GlobalNavigationViewController* menu = openMenuByKeys();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(focused(), menu->homeButton());
    EXPECT_TRUE(marked(menu->homeButton()));
    picture(QStringLiteral("keyboard-menu-home.png"));

    // The arrows walk the entries, round the panel.
    key(Qt::Key_Down);
    EXPECT_EQ(focused(), menu->forumsButton());
    EXPECT_TRUE(marked(menu->forumsButton()));
    EXPECT_TRUE(unmarked(menu->homeButton()));
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(focused(), menu->cancelButton()) << "up from the first entry to the last";
    key(Qt::Key_Down);
    EXPECT_EQ(focused(), menu->homeButton());

    // A click on the panel's title takes the keys off its entries: the
    // arrows find them again, and Escape still closes the menu.
    click(onWindow(menu->lblTitle()).center());
    finishAnimations();
    ASSERT_TRUE(menu->isOpen());
    EXPECT_TRUE(unmarked(menu->homeButton()));
    key(Qt::Key_Up);
    EXPECT_EQ(focused(), menu->homeButton());
    EXPECT_TRUE(marked(menu->homeButton()));
    click(onWindow(menu->lblTitle()).center());
    finishAnimations();

    // Escape closes it, the keys back on the menu button.
    key(Qt::Key_Escape);
    finishAnimations();
    EXPECT_FALSE(menu->isOpen());
    EXPECT_EQ(focused(), homeScreen->navButton());
    EXPECT_TRUE(marked(homeScreen->navButton()));

    // Return opens the entry marked; from the forums the menu opens on theirs.
    menu = openMenuByKeys();
    ASSERT_NE(menu, nullptr);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    settleAndFinish();
    auto* index = topScreenAs<ForumController>();
    ASSERT_NE(index, nullptr);
    menu = openMenuByKeys();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(focused(), menu->forumsButton());
    EXPECT_TRUE(marked(menu->forumsButton()));
    picture(QStringLiteral("keyboard-menu-forums.png"));
    key(Qt::Key_Escape);
    finishAnimations();
    EXPECT_FALSE(menu->isOpen());
    EXPECT_EQ(focused(), index->navButton());
}

TEST_F(KeyboardReachScenarioTest, TheBlogEntrysCategoriesAreReachedByTabAndTickedByTheKeys)
{
    HomeController* homeScreen = signInAs(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_NE(homeScreen, nullptr);
    NavigationBar* navBar = delegate()->controller()->navigationBar();
    ASSERT_TRUE(tabUntil([&] { return navBar->rightButtonView() && focused() == navBar->rightButtonView(); }));
    key(Qt::Key_Space);
    settleAndFinish();
    auto* editor = topScreenAs<CreateContent>();
    ASSERT_NE(editor, nullptr);
    settleAndFinish();
    // Where it goes: Left from no choice takes the last one, the blog.
    ASSERT_TRUE(tabTo(editor->publishArea()->publishIn()));
    key(Qt::Key_Left);
    settleAndFinish();
    auto* blog = topScreenAs<BlogSettingsController>();
    ASSERT_NE(blog, nullptr);
    ASSERT_TRUE(waitUntil([&] { return blog->categories().size() == 3; }));
    settleAndFinish();

    // Tab reaches the categories; the arrows mark one, Space ticks it.
    TableView* categories = blog->categoryTable();
    ASSERT_TRUE(tabTo(categories)) << "Tab never reached the categories";
    EXPECT_TRUE(categories->showsFocusRing());
    EXPECT_TRUE(marked(categories)) << "the list wears the ring before a row is marked";
    picture(QStringLiteral("keyboard-blog-categories-focused.png"));
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Space);
    finishAnimations();
    TableViewCell* maps = categories->cellForRowAtIndexPath(IndexPath{0, 1});
    ASSERT_NE(maps, nullptr);
    EXPECT_EQ(maps->textLabel()->text(), QStringLiteral("Maps"));
    EXPECT_EQ(maps->accessoryType(), TableViewCellAccessoryType::Checkmark);
    EXPECT_EQ(categories->indexPathForSelectedRow(), (IndexPath{0, 1})) << "the keys stay on the row ticked";
    // The marked row shows the selection's blue, the others their white.
    const QRectF mapsRow = onWindow(maps);
    const QColor rowShown = pixelAt(shown(), QPointF(mapsRow.right() - 40, mapsRow.top() + 3));
    EXPECT_GT(rowShown.blue(), 200);
    EXPECT_LT(rowShown.red(), 60);
    picture(QStringLiteral("keyboard-blog-categories.png"));
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    finishAnimations();
    EXPECT_EQ(blog->selectedCategories().size(), 2);

    // Done, by the keys, hands them to the editor.
    ASSERT_TRUE(tabUntil([&] { return navBar->rightButtonView() && focused() == navBar->rightButtonView(); }, false));
    key(Qt::Key_Space);
    settleAndFinish();
    ASSERT_EQ(topScreen(), editor);
    EXPECT_EQ(editor->publishArea()->selectedBlogCategorys()->text(), QStringLiteral("Maps,Everyday"));
}

TEST_F(KeyboardReachScenarioTest, TheRulesPagesLinkIsReachedByTabAsSoonAsThePageShowsAndReturnFollowsIt)
{
    QList<QUrl> openedOutside;
    Application::sharedApplication().setOpenURLHandler([&](const QUrl& url) {
        openedOutside.append(url);
        return true;
    });
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(tabTo(login->registerButton()));
    key(Qt::Key_Space);
    finishAnimations();
    auto* signUp = topScreenAs<RegistrationController>();
    ASSERT_NE(signUp, nullptr);
    const QString rulesName = QStringLiteral("forum_rules");
    ASSERT_TRUE(waitUntil([&] { return signUp->form() && signUp->form()->fieldWithName(rulesName); }));
    settleAndFinish();
    RegistrationForm* form = signUp->form();
    const auto rulesRow = [&] {
        return dynamic_cast<FieldLinkCell*>(form->cellForField(form->fieldWithName(rulesName).get()));
    };
    ASSERT_TRUE(tabUntil([&] { return rulesRow() && focused() == rulesRow()->field(); }));
    key(Qt::Key_Space);
    settleAndFinish();
    auto* rules = topScreenAs<FieldLinkDetails>();
    ASSERT_NE(rules, nullptr);
    const QList<std::pair<QString, QRectF>> links = rules->web()->linkFrames();
    ASSERT_EQ(links.size(), 1);
    const QRectF link = rules->web()->convertRect(links.first().second, nullptr);
    const auto* browser = rules->web()->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    // The mark stands just round the link's words.
    const QRectF round = link.adjusted(-4, -2, 4, 2);
    EXPECT_LT(markShare(round), 0.03);

    // Tab, with no click first, reaches the link and marks it.
    ASSERT_TRUE(tabUntil([&] { return browser->hasFocus(); }));
    EXPECT_EQ(browser->textCursor().selectedText(), QStringLiteral("forum rules"));
    EXPECT_GT(markShare(round), 0.15) << "the link shows it is marked";
    picture(QStringLiteral("keyboard-rules-link.png"));
    // Tab goes on round the screen, and Shift+Tab comes back to the link.
    tab();
    EXPECT_FALSE(browser->hasFocus());
    ASSERT_TRUE(tabUntil([&] { return browser->hasFocus(); }, false));
    EXPECT_EQ(browser->textCursor().selectedText(), QStringLiteral("forum rules"));

    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_EQ(openedOutside.size(), 1) << "Return followed the link";
    EXPECT_EQ(openedOutside.first().query(), QUrl(links.first().first).query());
    Application::sharedApplication().setOpenURLHandler({});
}
