#include "UiTestSupport.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/TextField.h"

#include "platform/foundation/AlertView.h"

#include <QKeyEvent>

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

class AlertTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        AlertPresenter::install();
    }
    void TearDown() override
    {
        for (const auto& alert : AlertView::visibleAlerts())
            alert->dismissWithoutButton();
        UiTest::TearDown();
    }
    Answers answers;
};

}  // namespace

TEST_F(AlertTest, ButtonsReportTheirIndexWithCancelFirstOnTheLeft)
{
    auto alert = AlertView::create(QStringLiteral("home_logout"), QStringLiteral("Sign out?"), &answers,
                                   {QStringLiteral("yes"), QStringLiteral("no")});
    alert->show();
    auto* overlay = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alert.get()));
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
    auto* column = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(three.get()));
    ASSERT_NE(column, nullptr);
    EXPECT_GT(column->buttonRects()[0].y(), column->buttonRects()[2].y());
    tap(column->buttonRects()[0].center());
    EXPECT_EQ(answers.clicked.last(), 0);
}

TEST_F(AlertTest, EscapeOrClosingTheWindowReportsNoIndex)
{
    auto alert = AlertView::create(QString(), QStringLiteral("Sign out?"), &answers,
                                   {QStringLiteral("yes"), QStringLiteral("no")});
    alert->show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(AlertPresenter::viewFor(alert.get()), &escape);
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(answers.clicked.isEmpty());
    EXPECT_TRUE(answers.dismissed.isEmpty());

    auto again = AlertView::create(QString(), QStringLiteral("Again"), &answers, {QStringLiteral("ok")});
    again->show();
    window->close();
    EXPECT_FALSE(AlertView::isAnyAlertShown());
    EXPECT_TRUE(answers.clicked.isEmpty()) << "closing the window presses no button";
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
