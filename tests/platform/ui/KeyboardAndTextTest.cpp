#include "UiTestSupport.h"

#include "platform/ui/Keyboard.h"
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
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(focused, &event);
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
