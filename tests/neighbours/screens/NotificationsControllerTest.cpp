#include "NeighbourScreenTest.h"

#include "neighbours/screens/NotificationsController.h"

#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

namespace {

class NotificationsControllerTest : public NeighbourScreenTest {
protected:
    static QStringList rows(NotificationsController* screen)
    {
        QStringList shown;
        TableView* table = screen->tableView();
        for (int row = 0; row < table->numberOfRowsInSection(0); ++row) {
            TableViewCell* cell = table->cellForRowAtIndexPath(IndexPath::indexPathForRow(row, 0));
            // Each text has the room it needs on screen.
            Label* count = NotificationsController::countLabel(cell);
            if (!cell || !count) {
                shown.append(QStringLiteral("(no row)"));
                continue;
            }
            for (Label* label : {cell->textLabel(), count})
                EXPECT_GE(label->frame().width() + 0.5, label->sizeThatFits(QSizeF()).width()) << label->text().toStdString();
            shown.append(cell->textLabel()->text() + QLatin1Char('=') + count->text());
        }
        return shown;
    }
};

}  // namespace

TEST_F(NotificationsControllerTest, AMemberSeesTheCountersOfTheForumsHomeAnswerAsTheyArrive)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const int homeAnswersBefore = int(forum().requests(QStringLiteral("forum")).size());
    forum().holdAtGate(QStringLiteral("forum"), QStringLiteral("home"));
    auto screen = showAsRoot<NotificationsController>();

    // Asked for as the view loads; while the answer is on its way the screen
    // says so rather than claiming there is nothing.
    EXPECT_TRUE(ForumInfo::getInstance()->hasRequests());
    EXPECT_EQ(shown(screen->emptyState()), text("loading"));
    EXPECT_TRUE(screen->tableView()->isHidden());

    forum().openGate(QStringLiteral("home"));
    settleAll();
    EXPECT_EQ(int(forum().requests(QStringLiteral("forum")).size()), homeAnswersBefore + 1);
    EXPECT_EQ(rows(screen.get()),
              QStringList({QStringLiteral("Unread Private Messages=2"), QStringLiteral("Friend Requests=0")}));
    EXPECT_EQ(shown(screen->emptyState()), QStringLiteral("(hidden)"));
    EXPECT_FALSE(screen->tableView()->isHidden());
    // As the first screen of its stack it carries the menu button, titled
    // with the section's name.
    ASSERT_NE(screen->navButton(), nullptr);
    EXPECT_EQ(screen->getBarTitle(), text("nav_notifications"));

    // Signing out empties the shared info in place: the list follows it.
    ForumInfo::clearInstance();
    EXPECT_TRUE(rows(screen.get()).isEmpty());
    EXPECT_EQ(shown(screen->emptyState()), text("message_no_notification"));
}

TEST_F(NotificationsControllerTest, AGuestWithNoCountersIsToldThereAreNone)
{
    openGuestSession();
    auto screen = showAsRoot<NotificationsController>();
    settleAll();
    EXPECT_TRUE(screen->notifications().isEmpty());
    EXPECT_EQ(shown(screen->emptyState()), text("message_no_notification"));
    EXPECT_EQ(screen->emptyState()->message(), text("notifications_empty_message"));
    EXPECT_TRUE(screen->tableView()->isHidden());
}

TEST_F(NotificationsControllerTest, AFailedLoadIsReportedNotShownAsNoNotifications)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    forum().answerHttpStatus(QStringLiteral("forum"), 500, "broken");
    const int alertsBefore = int(alertMessages().size());
    auto screen = showAsRoot<NotificationsController>();
    settleAll();
    EXPECT_EQ(shown(screen->emptyState()), text("notifications_failed_headline"));
    EXPECT_FALSE(screen->emptyState()->message().isEmpty());
    // One alert, though the menu's count would show the same failure.
    EXPECT_EQ(int(alertMessages().size()), alertsBefore + 1);
    dismissAlerts();
}

TEST_F(NotificationsControllerTest, AScreenThatWentBeforeTheAnswerIsNotTold)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    std::weak_ptr<NotificationsController> gone;
    {
        auto screen = showAsRoot<NotificationsController>();
        gone = screen;
        // The stack goes: a new section replaces it.
        context().part<RootNavigation>()->setController(std::make_shared<ViewController>());
        finishMoving();
    }
    turnEventLoop();
    EXPECT_TRUE(gone.expired());
    settleAll();
    EXPECT_TRUE(ForumInfo::getInstance()->observers().isEmpty());
    EXPECT_EQ(ForumInfo::getInstance()->notifications().size(), 2);
}
