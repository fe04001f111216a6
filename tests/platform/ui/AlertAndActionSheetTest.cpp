#include "AlertWindowTest.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/TextField.h"

#include <QKeyEvent>
#include <QTest>

namespace {

class Answers : public AlertViewDelegate, public ActionSheetDelegate {
public:
    QList<int> clicked;
    QList<int> dismissed;
    QString fieldText;
    void clickedButtonAtIndex(AlertView* alert, int index) override
    {
        clicked.append(index);
        fieldText = alert->textFieldText();
    }
    void didDismissWithButtonIndex(AlertView*, int index) override { dismissed.append(index); }
    void clickedButtonAtIndex(ActionSheet*, int index) override { clicked.append(index); }
};

class AlertTest : public AlertWindowTest {
protected:
    Answers answers;
};

}  // namespace

TEST_F(AlertTest, ButtonsReportTheirIndexWithCancelFirstOnTheLeft)
{
    auto alert = AlertView::create(QStringLiteral("home_logout"), QStringLiteral("Sign out?"), &answers,
                                   {QStringLiteral("yes"), QStringLiteral("no")});
    alert->show();
    auto* overlay = overlayOf(alert);
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(overlay->isVisible());
    const QList<QRectF> buttons = overlay->buttonRects();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_LT(buttons[0].x(), buttons[1].x()) << "index 0 (the cancel button) stands on the left";
    // The user taps "no".
    tap(buttons[1].center());
    EXPECT_EQ(answers.clicked, QList<int>({1}));
    EXPECT_EQ(answers.dismissed, QList<int>({1}));
    EXPECT_FALSE(alert->isVisible());
    turnEventLoop();
    EXPECT_EQ(AlertPresenter::viewFor(alert.get()), nullptr);

    // Three buttons stand in a column with index 0 at the bottom.
    auto three = AlertView::create(QString(), QStringLiteral("m"), &answers,
                                   {QStringLiteral("cancel"), QStringLiteral("a"), QStringLiteral("b")});
    three->show();
    auto* column = overlayOf(three);
    ASSERT_NE(column, nullptr);
    EXPECT_GT(column->buttonRects()[0].y(), column->buttonRects()[2].y());
    tap(column->buttonRects()[0].center());
    EXPECT_EQ(answers.clicked.last(), 0);
}

TEST_F(AlertTest, EscapeIsAPressOfTheCancelButtonAndClosingTheWindowReportsNoIndex)
{
    // Focus moves only in an active window, as on a desktop.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // A field of the screen under the alerts, which has the keys before them.
    auto* field = new TextField(QRectF(20, 40, 200, 31));
    window->addSubview(field);
    field->becomeFirstResponder();
    ASSERT_TRUE(field->isFirstResponder());
    const auto escape = [this] {
        // A key as the keyboard sends it: to whatever the window gives the keys.
        QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
        turnEventLoop();
    };

    // Two buttons: the cancel button is the first, drawn as such.
    auto alert = AlertView::create(QString(), QStringLiteral("Discard?"), &answers,
                                   {QStringLiteral("cancel"), QStringLiteral("discard")});
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    alert->show();
    EXPECT_FALSE(field->isFirstResponder()) << "the alert takes the keys";
    escape();
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(answers.clicked, QList<int>({0}));
    EXPECT_EQ(answers.dismissed, QList<int>({0}));
    EXPECT_TRUE(field->isFirstResponder()) << "the screen under it has the keys again";

    // Another cancel button named: Escape presses that one.
    auto result = AlertView::create(QString(), QStringLiteral("Sent"), &answers,
                                    {QStringLiteral("view"), QStringLiteral("home")});
    result->setCancelButtonIndex(1);
    result->setCancelButtonIndex(2);  // no such button: ignored
    EXPECT_EQ(result->cancelButtonIndex(), 1);
    result->show();
    escape();
    EXPECT_EQ(answers.clicked, QList<int>({0, 1}));

    // One button is its own cancel button; a password prompt hands over what was typed.
    auto notice = AlertView::create(QString(), QStringLiteral("Closed"), &answers, {QStringLiteral("ok")});
    notice->addTextField(QStringLiteral("login_password"), true);
    notice->show();
    QTest::keyClick(window->windowHandle(), 'p');
    QTest::keyClick(window->windowHandle(), 'w');
    escape();
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(answers.clicked, QList<int>({0, 1, 0}));
    EXPECT_EQ(answers.fieldText, QStringLiteral("pw"));
    EXPECT_TRUE(field->isFirstResponder());

    // Two at once: Escape answers the one on top, then the one under it.
    auto under = AlertView::create(QString(), QStringLiteral("Under"), &answers,
                                   {QStringLiteral("no"), QStringLiteral("a"), QStringLiteral("b")});
    under->show();
    auto over = AlertView::create(QString(), QStringLiteral("Over"), nullptr, {QStringLiteral("ok")});
    over->show();
    escape();
    EXPECT_FALSE(over->isVisible());
    EXPECT_TRUE(under->isVisible());
    escape();
    EXPECT_FALSE(under->isVisible());
    EXPECT_EQ(answers.clicked, QList<int>({0, 1, 0, 0}));
    EXPECT_TRUE(field->isFirstResponder());

    // A notice without buttons answers nobody: Escape only takes it away.
    auto bare = AlertView::create(QStringLiteral("edit_successfully"), QString(), &answers, {});
    EXPECT_EQ(bare->cancelButtonIndex(), -1);
    bare->show();
    escape();
    EXPECT_FALSE(bare->isVisible());
    EXPECT_EQ(answers.clicked.size(), 4);

    auto again = AlertView::create(QString(), QStringLiteral("Again"), &answers, {QStringLiteral("ok")});
    again->show();
    window->close();
    EXPECT_FALSE(AlertView::isAnyAlertShown());
    EXPECT_EQ(answers.clicked.size(), 4) << "closing the window presses no button";
}

TEST_F(AlertTest, TextFieldAlertsAndTitleOnlyAlertsOnATimer)
{
    auto prompt = AlertView::create(QStringLiteral("Private forum"), QStringLiteral("\n                "), &answers,
                                    {QStringLiteral("ok")});
    prompt->addTextField(QStringLiteral("login_password"), true);
    prompt->show();
    TextField* field = AlertPresenter::textFieldFor(prompt.get());
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isSecureTextEntry());
    EXPECT_EQ(field->placeholder(), QStringLiteral("login_password"));
    field->setText(QStringLiteral("s3cret"));
    EXPECT_TRUE(AlertPresenter::pressButton(prompt.get(), 0));
    EXPECT_EQ(answers.fieldText, QStringLiteral("s3cret"));

    // A title alone, no buttons, taken down by its owner's timer.
    auto done = AlertView::create(QStringLiteral("edit_successfully"), QString(), nullptr, {});
    done->show();
    ASSERT_NE(AlertPresenter::viewFor(done.get()), nullptr);
    ClockTimer timer = Clock::current().after(1500, [done]() { done->dismissWithClickedButtonIndex(0); });
    clock->advance(1499);
    EXPECT_TRUE(done->isVisible());
    clock->advance(1);
    EXPECT_FALSE(done->isVisible());
    turnEventLoop();
    EXPECT_EQ(AlertPresenter::viewFor(done.get()), nullptr);
}

TEST_F(AlertTest, ActionSheetNumbersTheDestructiveButtonFirstAndCancelLast)
{
    auto* sheet = new ActionSheet(QString(), &answers, QStringLiteral("cancel"), QStringLiteral("home_avatar_delete"),
                                  {QStringLiteral("home_avatar_change")});
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);
    EXPECT_EQ(sheet->cancelButtonIndex(), 2);
    EXPECT_EQ(sheet->addButtonWithTitle(QStringLiteral("more")), 2);
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    EXPECT_EQ(sheet->buttonTitleAtIndex(3), QStringLiteral("cancel"));
    sheet->showInView(window.get());
    clock->runOneShots();
    Animator::shared().finishAll();
    tap(sheet->convertRect(sheet->buttonRect(0), nullptr).center());
    EXPECT_EQ(answers.clicked, QList<int>({0}));
    turnEventLoop();

    auto* other = new ActionSheet(QString(), &answers, QStringLiteral("cancel"), QString(),
                                  {QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(other->destructiveButtonIndex(), -1);
    EXPECT_EQ(other->cancelButtonIndex(), 2);
    other->showInView(window.get());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(other, &escape);
    EXPECT_EQ(answers.clicked, QList<int>({0, 2}));
}
