#include "PlatformTest.h"

#include "platform/foundation/AlertView.h"

#include <optional>

using AlertViewTest = PlatformTest;

namespace {

struct RecordingDelegate : AlertViewDelegate {
    QStringList calls;
    std::optional<bool> visibleWhenClicked;
    void clickedButtonAtIndex(AlertView* alert, int index) override
    {
        calls.append(QStringLiteral("clicked %1").arg(index));
        visibleWhenClicked = alert->isVisible();
    }
    void didDismissWithButtonIndex(AlertView*, int index) override
    {
        calls.append(QStringLiteral("dismissed %1").arg(index));
    }
};

}  // namespace

TEST_F(AlertViewTest, ShowAndDismissTellTheDelegateInOrder)
{
    RecordingDelegate delegate;
    const int shownBefore = AlertView::shownCount();
    QList<std::shared_ptr<AlertView>> presented;
    AlertView::setPresenter([&](const std::shared_ptr<AlertView>& alert) { presented.append(alert); });

    std::weak_ptr<AlertView> watch;
    {
        auto alert = AlertView::create(QString(), QStringLiteral("Hello"), &delegate,
                                       {QStringLiteral("OK"), QStringLiteral("Cancel")});
        watch = alert;
        alert->show();
        alert->show();  // already on screen: not a second time
    }
    ASSERT_FALSE(watch.expired()) << "the visible list keeps the alert alive";
    EXPECT_TRUE(AlertView::isAnyAlertShown());
    EXPECT_EQ(AlertView::shownCount(), shownBefore + 1);
    ASSERT_EQ(presented.size(), 1);
    EXPECT_EQ(presented.first()->message(), QStringLiteral("Hello"));
    presented.clear();

    watch.lock()->dismissWithClickedButtonIndex(1);
    EXPECT_EQ(delegate.calls, (QStringList{QStringLiteral("clicked 1"), QStringLiteral("dismissed 1")}));
    EXPECT_EQ(delegate.visibleWhenClicked, false);
    EXPECT_FALSE(AlertView::isAnyAlertShown());
    EXPECT_TRUE(watch.expired());
    AlertView::setPresenter(nullptr);
}

TEST_F(AlertViewTest, AGoneDelegateIsNotTold)
{
    auto delegate = std::make_unique<RecordingDelegate>();
    auto alert = AlertView::create(QStringLiteral("T"), QStringLiteral("M"), delegate.get(), {QStringLiteral("OK")});
    alert->show();
    auto other = AlertView::create(QString(), QStringLiteral("Second"), nullptr, {});
    other->show();
    EXPECT_EQ(AlertView::visibleAlerts().size(), 2);

    delegate.reset();
    alert->dismissWithClickedButtonIndex(0);  // must not touch the destroyed delegate
    EXPECT_EQ(AlertView::visibleAlerts(), QList<std::shared_ptr<AlertView>>{other});
    other->dismissWithClickedButtonIndex(0);
    EXPECT_FALSE(AlertView::isAnyAlertShown());
}
