#include "UiTestSupport.h"

#include "platform/ui/Button.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include <QKeyEvent>
#include <QTest>

namespace {

class Watcher : public KeyboardObserver, public TextFieldDelegate {
public:
    QStringList log;
    QRectF lastFrame;
    bool allowBegin = true;
    void keyboardWillShow(const KeyboardInfo& info) override
    {
        log.append(QStringLiteral("willShow"));
        lastFrame = info.frameEnd;
    }
    void keyboardWillHide(const KeyboardInfo& info) override
    {
        log.append(QStringLiteral("willHide"));
        lastFrame = info.frameEnd;
    }
    bool textFieldShouldBeginEditing(TextField*) override
    {
        log.append(QStringLiteral("shouldBegin"));
        return allowBegin;
    }
    void textFieldDidBeginEditing(TextField*) override { log.append(QStringLiteral("didBegin")); }
    void textFieldDidEndEditing(TextField*) override { log.append(QStringLiteral("didEnd")); }
    bool textFieldShouldReturn(TextField*) override
    {
        log.append(QStringLiteral("return"));
        return true;
    }
};

class KeyboardTest : public UiTest {};

}  // namespace

TEST_F(KeyboardTest, FocusOnTextInputShowsAHardwareKeyboardThatTakesNoRoom)
{
    Watcher watcher;
    Keyboard::addObserver(&watcher);
    auto* field = new TextField(QRectF(25, 30, 270, 25));
    field->setDelegate(&watcher);
    window->addSubview(field);

    watcher.allowBegin = false;
    EXPECT_FALSE(field->becomeFirstResponder());
    EXPECT_EQ(watcher.log, QStringList({QStringLiteral("shouldBegin")}));
    EXPECT_FALSE(Keyboard::isShown());

    watcher.allowBegin = true;
    watcher.log.clear();
    EXPECT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("willShow")));
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("didBegin")));
    EXPECT_EQ(watcher.lastFrame, QRectF(0, 480, 320, 0)) << "the keyboard is on the desk, not on the screen";

    field->pressReturn();
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("return")));
    watcher.log.clear();
    field->resignFirstResponder();
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("willHide")));
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("didEnd")));
    EXPECT_EQ(watcher.lastFrame, QRectF(0, 480, 320, 0));
    EXPECT_FALSE(Keyboard::isShown());
    Keyboard::removeObserver(&watcher);
}

TEST_F(KeyboardTest, TabAndShiftTabGoRoundTheTextInputsOfOneScreenInReadingOrder)
{
    auto* screen = new View(QRectF(0, 20, 320, 460));
    window->addSubview(screen);
    auto* name = new TextField(QRectF(20, 20, 280, 31));
    auto* notes = new TextView(QRectF(20, 80, 280, 100));
    auto* city = new TextField(QRectF(20, 200, 130, 31));
    auto* zip = new TextField(QRectF(170, 200, 130, 31));
    auto* off = new TextField(QRectF(20, 260, 280, 31));
    off->setEnabled(false);
    auto* hidden = new TextField(QRectF(20, 300, 280, 31));
    hidden->setHidden(true);
    auto* readOnly = new TextView(QRectF(20, 340, 280, 60));
    readOnly->setEditable(false);
    // Added out of order: the order is the screen's, top to bottom, left to right.
    for (View* view : std::initializer_list<View*>{zip, notes, off, name, hidden, city, readOnly})
        screen->addSubview(view);
    // Another layer of the window (an alert's field) is another screen.
    auto* layer = new View(QRectF(0, 0, 320, 480));
    auto* other = new TextField(QRectF(20, 400, 280, 31));
    layer->addSubview(other);
    window->addSubview(layer);
    layer->setHidden(true);

    // Keys go where the keyboard's focus is, as the user's do.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        UserInput::key(key, modifiers, QString(), window.get());
    };
    ASSERT_TRUE(name->becomeFirstResponder());
    press(Qt::Key_Tab);
    EXPECT_TRUE(notes->isFirstResponder());
    EXPECT_FALSE(name->isFirstResponder());
    press(Qt::Key_Tab);
    EXPECT_TRUE(city->isFirstResponder());
    EXPECT_TRUE(notes->text().isEmpty()) << "Tab leaves a text view; it types no tab";
    press(Qt::Key_Tab);
    EXPECT_TRUE(zip->isFirstResponder());
    press(Qt::Key_Tab);
    EXPECT_TRUE(name->isFirstResponder()) << "round, past the disabled, hidden and read-only ones";
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(zip->isFirstResponder());
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(city->isFirstResponder());
    EXPECT_TRUE(Keyboard::isShown());

    // The field of another layer keeps Tab to itself.
    layer->setHidden(false);
    ASSERT_TRUE(other->becomeFirstResponder());
    press(Qt::Key_Tab);
    EXPECT_TRUE(other->isFirstResponder());
}

TEST_F(KeyboardTest, TabStopsAtTheControlsAUserCouldClickAndTheirKeysPressOnce)
{
    // A screen beneath, with a button of its own, and the one on top.
    auto* beneath = new View(QRectF(0, 20, 320, 460));
    auto* under = new Button(QRectF(20, 20, 100, 30));
    beneath->addSubview(under);
    window->addSubview(beneath);
    auto* screen = new View(QRectF(0, 20, 320, 460));
    window->addSubview(screen);
    auto* field = new TextField(QRectF(20, 20, 280, 31));
    auto* send = new Button(QRectF(20, 70, 130, 30));
    auto* off = new Button(QRectF(170, 70, 130, 30));
    off->setEnabled(false);
    auto* hidden = new Button(QRectF(20, 120, 130, 30));
    hidden->setHidden(true);
    auto* flat = new Button(QRectF(170, 120, 0, 30));
    auto* clear = new Button(QRectF(20, 170, 130, 30));
    clear->setAlpha(0);
    auto* away = new Button(QRectF(20, 900, 130, 30));
    auto* backdrop = new Button(QRectF(170, 170, 130, 30));
    backdrop->setKeyboardFocusable(false);
    auto* kinds = new SegmentedControl({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
    kinds->setFrame(QRectF(20, 220, 280, 30));
    kinds->setEnabledForSegmentAtIndex(false, 1);
    for (View* view : std::initializer_list<View*>{kinds, away, clear, flat, hidden, off, send, field, backdrop})
        screen->addSubview(view);
    int sent = 0;
    send->addAction([&](Control*) { ++sent; }, ControlEvent::TouchUpInside);
    int changes = 0;
    kinds->addAction([&](Control*) { ++changes; }, ControlEvent::ValueChanged);
    Animator::shared().finishAll();

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        UserInput::key(key, modifiers, QString(), window.get());
    };
    ASSERT_TRUE(field->becomeFirstResponder());
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), send);
    EXPECT_TRUE(send->showsFocusMark());
    EXPECT_FALSE(Keyboard::isShown()) << "a button takes no text";
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), kinds) << "past the disabled, hidden, flat, see-through and far ones";
    press(Qt::Key_Tab);
    EXPECT_TRUE(field->isFirstResponder()) << "round the top screen only";
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), kinds);

    // Right skips the disabled segment and stops at the end; Left comes back.
    press(Qt::Key_Right);
    EXPECT_EQ(kinds->selectedSegmentIndex(), 0);
    press(Qt::Key_Right);
    EXPECT_EQ(kinds->selectedSegmentIndex(), 2);
    press(Qt::Key_Right);
    EXPECT_EQ(kinds->selectedSegmentIndex(), 2);
    press(Qt::Key_Left);
    EXPECT_EQ(kinds->selectedSegmentIndex(), 0);
    EXPECT_EQ(changes, 3);

    // Space and Return press once each; a key held down does not press again.
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), send);
    press(Qt::Key_Space);
    press(Qt::Key_Return);
    UserInput::keyRepeat(Qt::Key_Return, window.get());
    EXPECT_EQ(sent, 2);

    // Hidden while it has the focus: the next stop of the screen takes it.
    send->setHidden(true);
    EXPECT_EQ(QApplication::focusWidget(), kinds);
    // A click anywhere takes the mark away, and gives a button none.
    tap(off->convertRect(off->bounds(), nullptr).center());
    EXPECT_FALSE(kinds->showsFocusMark());
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    send->setHidden(false);
    tap(send->convertRect(send->bounds(), nullptr).center());
    EXPECT_EQ(sent, 3);
    EXPECT_FALSE(send->showsFocusMark());

    // From nothing, the window has the keys: Tab begins at the top screen's
    // first stop, Shift+Tab at its last.
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    UserInput::key(Qt::Key_Tab, Qt::NoModifier, QString(), window.get());
    EXPECT_TRUE(field->isFirstResponder());
    field->resignFirstResponder();
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    UserInput::key(Qt::Key_Backtab, Qt::ShiftModifier, QString(), window.get());
    EXPECT_EQ(QApplication::focusWidget(), kinds);
}

TEST_F(KeyboardTest, TextViewSelectionCountsUtf16Units)
{
    auto* view = new TextView(QRectF(0, 20, 320, 200));
    window->addSubview(view);
    // An emoji takes two UTF-16 units, as the platform counts.
    view->setText(QStringLiteral("a\U0001F600b[quote]"));
    view->setSelectedRange(TextRange{3, 0});
    EXPECT_EQ(view->selectedRange(), (TextRange{3, 0}));
    view->setSelectedRange(TextRange{4, 7});
    EXPECT_EQ(view->selectedRange(), (TextRange{4, 7}));
    EXPECT_EQ(view->text().mid(4, 7), QStringLiteral("[quote]"));
    view->setSelectedRange(TextRange{100, 5});
    EXPECT_EQ(view->selectedRange(), (TextRange{11, 0})) << "a range past the end is cut to the text";
}
