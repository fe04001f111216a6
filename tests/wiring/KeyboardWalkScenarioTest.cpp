#include "KeyboardScenario.h"
#include "NamedView.h"

#include "app/screens/RegistrationController.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/FieldCheckboxCell.h"
#include "app/widgets/FieldDateCell.h"
#include "app/widgets/FieldTextCell.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/PaginationCell.h"
#include "app/widgets/RegistrationForm.h"
#include "app/widgets/SegmentControlHidding.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorPublishArea.h"
#include "neighbours/screens/BlogSettingsController.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextView.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QMetaEnum>
#include <QStyleHints>
#include <QTest>
#include <QWindow>

// The keyboard's whole way through the forum with no mouse at all: signed in,
// a thread on the third page of a forum by the arrows and by the page strip,
// a quick reply whose box starts under the tab bar, a thread from home, a
// blog entry's category, and a sign-up the forum refuses until a field is
// mended. scripts/check-on-x.sh runs it on X at zoom 1 and 2, every key
// through the X server; ctest runs it on the window's queue. At each step the
// window's pixels must show where the keys are, and go to the gallery.
namespace {

// The mouse's events that reach the application, whatever they are sent to.
class MouseEvents : public QObject {
public:
    MouseEvents() { qApp->installEventFilter(this); }
    ~MouseEvents() override { qApp->removeEventFilter(this); }
    int count() const { return int(m_seen.size()); }
    QString seen() const { return m_seen.join(QStringLiteral(", ")); }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseMove:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            m_seen.append(QStringLiteral("%1 to %2")
                              .arg(QString::fromLatin1(QMetaEnum::fromType<QEvent::Type>().valueToKey(event->type())),
                                   QString::fromLatin1(receiver->metaObject()->className())));
            break;
        default:
            break;
        }
        return false;
    }

private:
    QStringList m_seen;
};

class KeyboardWalkScenarioTest : public KeyboardScenario {
protected:
    void SetUp() override
    {
        KeyboardScenario::SetUp();
        // A caret that blinks may be dark in the frame judged: lit, it
        // shows where the keys are in every picture.
        m_flashTime = QGuiApplication::styleHints()->cursorFlashTime();
        QGuiApplication::styleHints()->setCursorFlashTime(0);
    }
    void TearDown() override
    {
        QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
        KeyboardScenario::TearDown();
    }
    // What the window shows at this step of the walk, in the gallery; the
    // keys are on something, and it lies whole in the window.
    static QImage step(const QString& what)
    {
        Window* window = Window::keyWindow();
        QWidget* now = focused();
        EXPECT_TRUE(now && window->isAncestorOf(now)) << qPrintable(what) << ": the keys are in the window";
        if (now && window->isAncestorOf(now)) {
            const QRect place(now->mapTo(window, QPoint(0, 0)), now->size());
            EXPECT_TRUE(window->rect().contains(place))
                << qPrintable(what) << ": " << now->metaObject()->className() << " lies out of the window";
        }
        return shownPicture(stepName(what));
    }
    // Named by where it was shown: the X display at its zoom, or the
    // window's own pixels off screen.
    static QString stepName(const QString& what)
    {
        const QString shownOn = XInput::available()
                                    ? QStringLiteral("zoom-%1").arg(Window::keyWindow()->devicePixelRatioF())
                                    : QStringLiteral("offscreen");
        return QStringLiteral("x-keyboard-walk-%1-%2.png").arg(what, shownOn);
    }
    // The list's chosen row wears the selection in the picture, and the
    // row beside it does not.
    static void rowMarked(const QImage& picture, TableView* list, const IndexPath& row, const char* what)
    {
        const IndexPath beside{row.section, row.row > 0 ? row.row - 1 : row.row + 1};
        EXPECT_GT(rowMarkShare(picture, list, row), 0.25) << what << ": the chosen row is marked";
        EXPECT_LT(rowMarkShare(picture, list, beside), 0.05) << what << ": only the chosen row is marked";
    }
    static AlertOverlay* alertOnTop()
    {
        const auto alerts = alertsOnScreen();
        return alerts.isEmpty() ? nullptr : qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alerts.last().get()));
    }
    // The alert's button wears the keyboard's mark in the picture.
    static bool alertButtonMarked(const QImage& picture, AlertOverlay* alert, int button)
    {
        const QList<QRectF> buttons = alert->buttonRects();
        return button < buttons.size() && markShare(picture, alert->convertRect(buttons.at(button), nullptr)) > 0.15;
    }
    // The page strip's number for the page, as the window shows it.
    static QPointF numberOnStrip(PageNavView* strip, unsigned page)
    {
        PaginationCell* cell = strip->cellForRow(int(page) - 1);
        if (!cell)
            return {};
        const QRectF shown = onWindow(cell);
        return {shown.left() + 3.5, shown.center().y()};
    }
    // The row of the sign-up form for the field.
    static FieldCell* row(RegistrationForm* form, const QString& name)
    {
        return form->cellForField(form->fieldWithName(name).get());
    }
    static TextField* textOf(RegistrationForm* form, const QString& name)
    {
        auto* cell = dynamic_cast<FieldTextCell*>(row(form, name));
        return cell ? cell->field() : nullptr;
    }
    // The share of the text field's pixels in the blue of selected text.
    static double selectedShare(const QImage& picture, const View* field)
    {
        const qreal zoom = picture.width() / Window::kWidth;
        const QRectF shown = onWindow(field);
        const QRect pixels = QRectF(shown.topLeft() * zoom, shown.size() * zoom).toAlignedRect() & picture.rect();
        int selected = 0;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                selected += qAbs(c.red() - 183) < 12 && qAbs(c.green() - 207) < 12 && qAbs(c.blue() - 240) < 12;
            }
        }
        return pixels.isEmpty() ? 0 : double(selected) / (pixels.width() * pixels.height());
    }

private:
    int m_flashTime = 0;
};

}  // namespace

TEST_F(KeyboardWalkScenarioTest, AThreadOnPageThreeAQuickReplyAThreadFromHomeABlogCategoryAndASignUpByTheKeysAlone)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    Window* window = Window::keyWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->windowHandle()));
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == window->windowHandle(); }));
    // The pointer rests off the window: from here on, nothing of the mouse.
    if (XInput::available()) {
        ASSERT_TRUE(XInput::movePointerAway(window));
    }
    finishAnimations();
    const MouseEvents mouse;

    // Signed in: Tab to the name, Tab to the password, Return.
    tab();
    ASSERT_TRUE(login->fieldWithTag(1)->isFirstResponder());
    typeKeys(QStringLiteral("alice"));
    finishAnimations();
    EXPECT_TRUE(caretShownIn(step(QStringLiteral("01-sign-in")))) << "the caret stands in the name";
    tab();
    ASSERT_TRUE(login->fieldWithTag(2)->isFirstResponder());
    typeKeys(QStringLiteral("secret1"));
    key(Qt::Key_Return);
    HomeController* homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);
    ASSERT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(QStringLiteral("alice")));

    // The menu, opened on home's entry; Down to the forums, Return.
    GlobalNavigationViewController* menu = openMenuByKeys();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(focused(), menu->homeButton());
    key(Qt::Key_Down);
    finishAnimations();
    ASSERT_EQ(focused(), menu->forumsButton());
    QImage shown = step(QStringLiteral("02-menu-forums"));
    EXPECT_TRUE(marked(shown, menu->forumsButton()));
    EXPECT_TRUE(unmarked(shown, menu->homeButton()));
    key(Qt::Key_Return);
    settleAndFinish();
    auto* index = topScreenAs<ForumController>();
    ASSERT_NE(index, nullptr);

    // General Discussion, the index's second row, by the arrows.
    ASSERT_TRUE(tabTo(index->forumTable()));
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    finishAnimations();
    ASSERT_EQ(index->forumTable()->indexPathForSelectedRow(), (IndexPath{0, 1}));
    rowMarked(step(QStringLiteral("03-forum-index")), index->forumTable(), IndexPath{0, 1}, "the forum index");
    key(Qt::Key_Return);
    settleAndFinish();
    auto* threads = topScreenAs<ThreadController>();
    ASSERT_NE(threads, nullptr);
    ASSERT_EQ(threads->forum()->forumid(), 3);
    ASSERT_GE(threads->forum()->totalpages(), 3u) << "the forum has pages enough";
    PaginableTableView* paged = threads->threadTable();
    TableView* list = paged->tableView();

    // Tab to the list; Down, row by row, through pages 1 and 2 as they come,
    // into page 3; Return opens the thread marked there.
    ASSERT_TRUE(tabTo(list));
    EXPECT_TRUE(marked(step(QStringLiteral("04-thread-list-ringed")), list))
        << "the list wears the ring before a row is chosen";
    const IndexPath onPageThree{2, 3};
    ASSERT_NO_FATAL_FAILURE(downTo(list, onPageThree, true));
    ASSERT_EQ(list->indexPathForSelectedRow(), onPageThree);
    ASSERT_EQ(paged->pageForSection(2), 3u);
    rowMarked(step(QStringLiteral("05-page-three-row")), list, onPageThree, "a row of page 3");
    const auto marked3 = std::dynamic_pointer_cast<Thread>(paged->rowsForSection(2).value(onPageThree.row));
    ASSERT_NE(marked3, nullptr);
    key(Qt::Key_Return);
    settleAndFinish();
    auto* page = topScreenAs<PostController>();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->thread()->threadid(), marked3->threadid()) << "Return opened the thread marked";

    // Back, the keys on its row still, marked.
    ASSERT_NO_FATAL_FAILURE(backByKeys());
    ASSERT_EQ(topScreen(), threads);
    EXPECT_EQ(focused(), list);
    ASSERT_EQ(list->indexPathForSelectedRow(), onPageThree);
    rowMarked(step(QStringLiteral("06-back-on-the-row")), list, onPageThree, "the row opened, back");

    // The page strip: Shift+Tab to it, the arrows to "3", Return loads page 3.
    PageNavView* strip = paged->navView();
    ASSERT_NE(strip, nullptr);
    ASSERT_TRUE(tabTo(strip, false)) << "the page strip is a Tab stop";
    for (int presses = 0; presses < 6 && strip->keyboardPage() != 1; ++presses)
        key(Qt::Key_Left);
    ASSERT_EQ(strip->keyboardPage(), 1u);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    finishAnimations();
    ASSERT_EQ(strip->keyboardPage(), 3u);
    ASSERT_NE(strip->cellForRow(2), nullptr);
    ASSERT_EQ(strip->cellForRow(2)->number()->text(), QStringLiteral("3"));
    shown = step(QStringLiteral("07-page-strip"));
    EXPECT_TRUE(markedAt(shown, numberOnStrip(strip, 3))) << "the number the arrows reached wears the mark";
    EXPECT_FALSE(markedAt(shown, numberOnStrip(strip, 1)));
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_EQ(paged->pageForSection(0), 3u) << "the list starts at the page chosen";
    EXPECT_EQ(focused(), strip);

    // Tab to the list, Down marks page 3's first thread, Return opens it.
    ASSERT_TRUE(tabTo(list));
    key(Qt::Key_Down);
    finishAnimations();
    ASSERT_EQ(list->indexPathForSelectedRow(), (IndexPath{0, 0}));
    rowMarked(step(QStringLiteral("08-page-three-first-row")), list, IndexPath{0, 0}, "page 3's first row");
    page = openChosenThreadByKeys(threads);
    ASSERT_NE(page, nullptr);
    const auto firstOfThree = std::dynamic_pointer_cast<Thread>(paged->rowsForSection(0).value(0));
    ASSERT_NE(firstOfThree, nullptr);
    EXPECT_EQ(page->thread()->threadid(), firstOfThree->threadid());

    // Back, and by the strip to page 1, where "Coast ride route" ends with
    // the quick reply's box under the tab bar.
    ASSERT_NO_FATAL_FAILURE(backByKeys());
    ASSERT_EQ(topScreen(), threads);
    EXPECT_EQ(focused(), list);
    EXPECT_EQ(list->indexPathForSelectedRow(), (IndexPath{0, 0}));
    ASSERT_TRUE(tabTo(strip, false));
    for (int presses = 0; presses < 6 && strip->keyboardPage() != 1; ++presses)
        key(Qt::Key_Left);
    ASSERT_EQ(strip->keyboardPage(), 1u);
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_EQ(paged->pageForSection(0), 1u);
    ASSERT_TRUE(chooseThreadByKeys(threads, 312));
    const IndexPath coastRide = list->indexPathForSelectedRow();
    rowMarked(step(QStringLiteral("09-coast-ride-row")), list, coastRide, "the thread to reply to");
    page = openChosenThreadByKeys(threads);
    ASSERT_NE(page, nullptr);
    QuickReplyCell* reply = quickReplyRow(page);
    ASSERT_NE(reply, nullptr);
    TabBarHidding* bar = page->actions();
    ASSERT_GT(onWindow(reply->textView()).center().y(), onWindow(bar).top()) << "the box starts under the bar";
    const auto postsOf312 = [&] { return forum().threadState(312).value(QStringLiteral("posts")).toArray(); };
    const qsizetype postsBefore = postsOf312().size();

    // Tab into the box: it comes whole into view above the bar, with its
    // caret; the text typed there.
    ASSERT_TRUE(tabUntil([&] { return reply->textView()->isFirstResponder(); }));
    EXPECT_LE(onWindow(reply->textView()).bottom(), onWindow(bar).top());
    typeKeys(QStringLiteral("Count me in, by the keys"));
    finishAnimations();
    shown = step(QStringLiteral("10-quick-reply-box"));
    EXPECT_TRUE(caretShownIn(shown)) << "the caret stands in the box";
    const QRectF box = onWindow(reply->textView());
    EXPECT_EQ(pixelAt(shown, QPointF(box.center().x(), box.bottom() - 3)), QColor(Qt::white))
        << "the foot of the box shows, not the bar over it";

    // Tab on to the close button, then the send arrow, each marked; Space sends.
    tab();
    ASSERT_EQ(focused(), reply->cancelButton());
    EXPECT_TRUE(marked(reply->cancelButton()));
    tab();
    ASSERT_EQ(focused(), reply->submitButton());
    shown = step(QStringLiteral("11-quick-reply-send"));
    EXPECT_TRUE(marked(shown, reply->submitButton()));
    EXPECT_TRUE(unmarked(shown, reply->cancelButton()));
    key(Qt::Key_Space);
    ASSERT_TRUE(waitUntil([&] { return postsOf312().size() == postsBefore + 1; }))
        << "Space on the arrow sent the reply";
    settleAndFinish();
    const int sent = postsOf312().last().toInt();
    const QJsonObject post = forum().postState(sent);
    EXPECT_EQ(post.value(QStringLiteral("bbcode")).toString(), QStringLiteral("Count me in, by the keys"));
    EXPECT_EQ(post.value(QStringLiteral("userid")).toInt(), forum().memberId(QStringLiteral("alice")));

    // Back to the index, and home by the menu (opened on the forums' entry).
    ASSERT_NO_FATAL_FAILURE(backByKeys());
    ASSERT_EQ(topScreen(), threads);
    ASSERT_NO_FATAL_FAILURE(backByKeys());
    ASSERT_EQ(topScreen(), index);
    menu = openMenuByKeys();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(focused(), menu->forumsButton());
    key(Qt::Key_Up);
    finishAnimations();
    ASSERT_EQ(focused(), menu->homeButton());
    shown = step(QStringLiteral("12-menu-home"));
    EXPECT_TRUE(marked(shown, menu->homeButton()));
    key(Qt::Key_Return);
    homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);

    // Home: Tab to the list, Down twice, Return opens the second row's thread.
    PaginableTableView* news = named<PaginableTableView>(homeScreen, "news");
    TableView* homeList = news->tableView();
    ASSERT_TRUE(tabTo(homeList));
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    finishAnimations();
    ASSERT_EQ(homeList->indexPathForSelectedRow(), (IndexPath{0, 1}));
    rowMarked(step(QStringLiteral("13-home-row")), homeList, IndexPath{0, 1}, "home's second row");
    const auto homeThread = std::dynamic_pointer_cast<Thread>(news->rowsForSection(0).value(1));
    ASSERT_NE(homeThread, nullptr);
    key(Qt::Key_Return);
    settleAndFinish();
    page = topScreenAs<PostController>();
    ASSERT_NE(page, nullptr) << "Return opened the marked row's thread";
    EXPECT_EQ(page->thread()->threadid(), homeThread->threadid());
    ASSERT_NO_FATAL_FAILURE(backByKeys());
    ASSERT_EQ(topScreen(), homeScreen);
    EXPECT_EQ(focused(), homeList);
    ASSERT_EQ(homeList->indexPathForSelectedRow(), (IndexPath{0, 1})) << "back, the row opened is still the chosen one";
    rowMarked(step(QStringLiteral("14-home-back-on-the-row")), homeList, IndexPath{0, 1}, "home's row opened, back");

    // A blog entry: the bar's compose button, then where it goes (Left from
    // no choice takes the blog); its settings' categories by Tab, Maps
    // ticked by the arrows and Space, then Done.
    NavigationBar* navBar = delegate()->controller()->navigationBar();
    ASSERT_TRUE(tabUntil([&] { return navBar->rightButtonView() && focused() == navBar->rightButtonView(); }));
    key(Qt::Key_Space);
    settleAndFinish();
    auto* editor = topScreenAs<CreateContent>();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(tabTo(editor->publishArea()->publishIn()));
    key(Qt::Key_Left);
    settleAndFinish();
    auto* blog = topScreenAs<BlogSettingsController>();
    ASSERT_NE(blog, nullptr);
    ASSERT_TRUE(waitUntil([&] { return blog->categories().size() == 3; }));
    settleAndFinish();
    TableView* categories = blog->categoryTable();
    ASSERT_TRUE(tabTo(categories)) << "Tab reaches the categories";
    EXPECT_TRUE(marked(step(QStringLiteral("15-blog-categories")), categories)) << "the list wears the ring";
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Space);
    finishAnimations();
    TableViewCell* maps = categories->cellForRowAtIndexPath(IndexPath{0, 1});
    ASSERT_NE(maps, nullptr);
    EXPECT_EQ(maps->textLabel()->text(), QStringLiteral("Maps"));
    EXPECT_EQ(maps->accessoryType(), TableViewCellAccessoryType::Checkmark);
    ASSERT_EQ(categories->indexPathForSelectedRow(), (IndexPath{0, 1}));
    rowMarked(step(QStringLiteral("16-blog-category-ticked")), categories, IndexPath{0, 1}, "the category ticked");
    ASSERT_TRUE(tabUntil([&] { return navBar->rightButtonView() && focused() == navBar->rightButtonView(); }, false));
    key(Qt::Key_Space);
    settleAndFinish();
    ASSERT_EQ(topScreen(), editor);
    EXPECT_EQ(editor->publishArea()->selectedBlogCategorys()->text(), QStringLiteral("Maps"));

    // Out of the editor by its Discard: the text the Tabs passed through
    // counts as begun, so it asks first, its mark on "cancel"; Right takes
    // the mark to "discard" and Return leaves.
    ASSERT_TRUE(tabOnMarksTo([&] { return navBar->leftButtonView(); }));
    key(Qt::Key_Space);
    finishAnimations();
    AlertOverlay* question = alertOnTop();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(focused(), question);
    key(Qt::Key_Right);
    finishAnimations();
    ASSERT_EQ(question->keyboardButtonIndex(), 1);
    EXPECT_TRUE(alertButtonMarked(step(QStringLiteral("17-editor-discard")), question, 1));
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_TRUE(waitUntil([&] { return topScreen() == homeScreen; }));

    // Signed out by the bar's button: the question's mark is on "no", Left
    // takes it to "yes".
    navBar = delegate()->controller()->navigationBar();
    ASSERT_TRUE(tabOnMarksTo([&] { return navBar->leftButtonView(); }));
    key(Qt::Key_Space);
    finishAnimations();
    question = alertOnTop();
    ASSERT_NE(question, nullptr);
    key(Qt::Key_Left);
    finishAnimations();
    ASSERT_EQ(question->keyboardButtonIndex(), 0);
    EXPECT_TRUE(alertButtonMarked(step(QStringLiteral("18-sign-out")), question, 0));
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_EQ(asked("login_logout").size(), 1);

    // Sign up: the form opens with the keys in its first field.
    ASSERT_TRUE(tabOnMarksTo([&] { return named<View>(homeScreen, "signUp"); }));
    key(Qt::Key_Space);
    finishAnimations();
    auto* signUp = topScreenAs<RegistrationController>();
    ASSERT_NE(signUp, nullptr);
    ASSERT_TRUE(waitUntil([&] { return signUp->form() && !signUp->form()->fields().isEmpty(); }));
    settleAndFinish();
    RegistrationForm* form = signUp->form();
    ASSERT_TRUE(textOf(form, QStringLiteral("username"))->isFirstResponder()) << "the form opens on its first field";
    // A name the forum already has; the password twice, the address.
    typeKeys(QStringLiteral("alice"));
    tab();
    typeKeys(QStringLiteral("pedal-on"));
    tab();
    typeKeys(QStringLiteral("pedal-on"));
    tab();
    typeKeys(QStringLiteral("walker@example.net"));
    // The date: Tab to its row, Space opens the wheels, Right twice to the
    // year, twenty years back, Return takes it.
    tab();
    auto* date = dynamic_cast<FieldDateCell*>(row(form, QStringLiteral("date_of_birth")));
    ASSERT_NE(date, nullptr);
    ASSERT_EQ(focused(), date->field());
    key(Qt::Key_Space);
    finishAnimations();
    ASSERT_NE(date->picker(), nullptr);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    for (int year = 0; year < 20; ++year)
        key(Qt::Key_Up);
    key(Qt::Key_Return);
    finishAnimations();
    ASSERT_TRUE(form->values().contains(QStringLiteral("date_of_birth")));
    // Where the member lives, and the rules ticked.
    ASSERT_TRUE(tabOnMarksTo([&] { return textOf(form, QStringLiteral("userfield[field2]")); }));
    typeKeys(QStringLiteral("Porto"));
    ASSERT_TRUE(tabOnMarksTo([&] {
        auto* agreement = dynamic_cast<FieldCheckboxCell*>(row(form, QStringLiteral("forum_rules_agreement")));
        return agreement ? agreement->checkbox() : nullptr;
    }));
    key(Qt::Key_Space);
    finishAnimations();
    // Shift+Tab round to the bar's send button, Return: the forum refuses
    // the name, and Return answers its alert.
    ASSERT_TRUE(tabOnMarksTo([&] { return navBar->rightButtonView(); }, false));
    EXPECT_TRUE(marked(step(QStringLiteral("19-sign-up-send")), navBar->rightButtonView()));
    key(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    settleAndFinish();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->title(), QStringLiteral("Username"));
    question = alertOnTop();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(alertButtonMarked(step(QStringLiteral("20-sign-up-refused")), question, 0));
    key(Qt::Key_Return);
    finishAnimations();
    ASSERT_TRUE(alertsOnScreen().isEmpty());

    // The keys are in the name, shown by its caret; Ctrl+A marks what is
    // there, and a new name typed over it is taken.
    TextField* name = textOf(form, QStringLiteral("username"));
    ASSERT_NE(name, nullptr);
    ASSERT_TRUE(name->isFirstResponder()) << "the keys are on the field the forum refused";
    EXPECT_TRUE(inSight(form->table(), form->indexPathForField(form->fieldWithName(QStringLiteral("username")).get())));
    EXPECT_TRUE(caretShownIn(step(QStringLiteral("21-refused-name-focused")))) << "the caret stands in the name";
    key(Qt::Key_A, Qt::ControlModifier);
    finishAnimations();
    EXPECT_GT(selectedShare(step(QStringLiteral("22-refused-name-selected")), name), 0.05)
        << "the name shows selected where the keys are";
    typeKeys(QStringLiteral("keywalker"));
    finishAnimations();
    EXPECT_EQ(name->text(), QStringLiteral("keywalker"));
    ASSERT_TRUE(tabOnMarksTo([&] { return navBar->rightButtonView(); }, false));
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_NE(home(), nullptr);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(QStringLiteral("keywalker")));
    EXPECT_EQ(asked("register_addmember").last().field(QStringLiteral("userfield[field2]")), QStringLiteral("Porto"));
    shownPicture(stepName(QStringLiteral("23-signed-up")));

    EXPECT_EQ(mouse.count(), 0) << "the mouse reached the window: " << qPrintable(mouse.seen());
}
