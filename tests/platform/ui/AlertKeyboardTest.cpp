#include "AlertWindowTest.h"

#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"

namespace {

class Answers : public AlertViewDelegate {
public:
    QList<int> dismissed;
    void didDismissWithButtonIndex(AlertView*, int index) override { dismissed.append(index); }
};

class AlertKeyboardTest : public AlertWindowTest {
protected:
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        UserInput::key(key, modifiers, QString(), window.get());
        turnEventLoop();
    }
    Answers answers;
};

}  // namespace

// Two answers each put up an alert over a screen whose field was being
// written in. While any alert is up, the keyboard is the alerts': Tab goes
// round the one on top, typing reaches no field, and Return answers the
// alert, never the button behind it.
TEST_F(AlertKeyboardTest, WhileAnAlertIsUpNothingBehindItTakesTheKeyboard)
{
    auto* screen = new View(QRectF(0, 20, 320, 460));
    window->addSubview(screen);
    auto* name = new TextField(QRectF(20, 40, 280, 31));
    screen->addSubview(name);
    auto* back = new Button(QRectF(20, 100, 120, 40), ButtonType::RoundedRect);
    back->setTitle(QStringLiteral("Log in"));
    int backPresses = 0;
    back->addAction([&backPresses](Control*) { ++backPresses; }, ControlEvent::TouchUpInside);
    screen->addSubview(back);
    tap(name->convertRect(name->bounds(), nullptr).center());
    ASSERT_TRUE(name->isFirstResponder());
    UserInput::type(QStringLiteral("ana"), window.get());
    turnEventLoop();
    ASSERT_EQ(name->text(), QStringLiteral("ana"));

    const auto first = AlertView::create(QString(), QStringLiteral("Location"), &answers, {QStringLiteral("OK")});
    const auto second = AlertView::create(QStringLiteral("Location"), QStringLiteral("A required field is missing."),
                                          &answers, {QStringLiteral("OK")});
    first->show();
    second->show();
    EXPECT_EQ(QApplication::focusWidget(), overlayOf(second));

    // The one on top answered: the other keeps the keys.
    key(Qt::Key_Return);
    EXPECT_EQ(answers.dismissed, QList<int>({0}));
    ASSERT_TRUE(first->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), overlayOf(first));
    for (int i = 0; i < 3; ++i) {
        key(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), overlayOf(first)) << "Tab " << i;
    }
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), overlayOf(first));
    UserInput::type(QStringLiteral("zz"), window.get());
    turnEventLoop();
    EXPECT_EQ(name->text(), QStringLiteral("ana"));
    key(Qt::Key_Return);
    EXPECT_EQ(answers.dismissed, QList<int>({0, 0}));
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(backPresses, 0) << "Return answered the alert, not the button behind it";
    EXPECT_EQ(name->text(), QStringLiteral("ana"));
}
