#include "NeighbourScreenTest.h"

#include "neighbours/screens/FriendCell.h"
#include "neighbours/screens/FriendsController.h"
#include "neighbours/screens/MyProfile.h"

#include "app/widgets/GradientButton.h"
#include "app/widgets/LoadMoreButtonCell.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

#include <QJsonArray>

namespace {

class FriendsControllerTest : public NeighbourScreenTest {
protected:
    // The names of the rows, and "(more)" for the row that loads more, each
    // scrolled into view.
    static QStringList rows(FriendsController* screen)
    {
        QStringList shown;
        TableView* table = screen->tableView();
        if (table->isHidden())
            return shown;
        for (int row = 0; row < table->numberOfRowsInSection(0); ++row) {
            const IndexPath path = IndexPath::indexPathForRow(row, 0);
            table->scrollToRowAtIndexPath(path, TableViewScrollPosition::None, false);
            TableViewCell* cell = table->cellForRowAtIndexPath(path);
            if (auto* member = dynamic_cast<FriendCell*>(cell))
                shown.append(member->name()->text());
            else if (dynamic_cast<LoadMoreButtonCell*>(cell))
                shown.append(QStringLiteral("(more)"));
            else
                shown.append(QStringLiteral("(off screen)"));
        }
        return shown;
    }
    static QStringList sections(MyProfile* screen) { return profileSections(screen); }
    // A buddy-list page of `count` friends numbered from `first`, page `page` of `pages`.
    static QJsonObject buddyPage(int first, int count, int page, int pages)
    {
        QJsonArray entries;
        for (int i = first; i < first + count; ++i) {
            entries.append(QJsonObject{{QStringLiteral("userid"), QString::number(100 + i)},
                                       {QStringLiteral("username"), QStringLiteral("friend%1").arg(i)},
                                       {QStringLiteral("usertitle"), QStringLiteral("Member")},
                                       {QStringLiteral("friendcheck_checked"), 1}});
        }
        return {{QStringLiteral("response"),
                 QJsonObject{{QStringLiteral("HTML"),
                              QJsonObject{{QStringLiteral("buddylist"), entries},
                                          {QStringLiteral("pagenav"), QJsonObject{{QStringLiteral("pagenumber"), page},
                                                                                  {QStringLiteral("totalpages"), pages}}}}}}}};
    }
};

}  // namespace

TEST_F(FriendsControllerTest, TheMembersFriendsAreListedAndOneOpensThatFriendsWholeProfile)
{
    signIn(QStringLiteral("carol"), QStringLiteral("secret4"));
    forum().clearLog();
    auto screen = showAsRoot<FriendsController>();
    settleAll();
    // Asked afresh as the view loads; friends only, not contacts nor requests.
    EXPECT_EQ(apiLog().count(QStringLiteral("profile_buddylist")), 1);
    EXPECT_EQ(rows(screen.get()), QStringList({QStringLiteral("alice"), QStringLiteral("bob"), QStringLiteral("dave")}));
    EXPECT_EQ(shown(screen->emptyState()), QStringLiteral("(hidden)"));
    EXPECT_FALSE(screen->offersMore());
    ASSERT_NE(screen->navButton(), nullptr);
    EXPECT_EQ(screen->getBarTitle(), text("nav_friends"));
    auto* daveRow = dynamic_cast<FriendCell*>(screen->tableView()->cellForRowAtIndexPath(IndexPath::indexPathForRow(2, 0)));
    ASSERT_NE(daveRow, nullptr);
    EXPECT_EQ(daveRow->userTitle()->text(), QStringLiteral("Member"));
    // The picture takes the place of the initial once it has come.
    ASSERT_TRUE(waitFor([&] { return !daveRow->picture()->isHidden(); }));
    EXPECT_TRUE(daveRow->initial()->isHidden());

    // This forum writes a member's fields under "prepared": the profile
    // shows them all the same.
    forum().setMemberFieldsUnderPrepared(true);
    tapView(daveRow);
    finishMoving();
    auto* profile = dynamic_cast<MyProfile*>(navigation()->topViewController());
    ASSERT_NE(profile, nullptr);
    settleAll();
    EXPECT_TRUE(lastRequest(QStringLiteral("member")).answer.contains("\"prepared\""));
    EXPECT_EQ(lastRequest(QStringLiteral("member")).field(QStringLiteral("userid")),
              QString::number(forum().memberId(QStringLiteral("dave"))));
    EXPECT_EQ(profile->nameLabel()->text(), QStringLiteral("dave"));
    EXPECT_EQ(profile->userTitleLabel()->text(), QStringLiteral("Member"));
    EXPECT_FALSE(profile->avatarView()->isHidden());
    EXPECT_EQ(sections(profile), QStringList({QStringLiteral(": Joined=2012-07-19, Posts=7"),
                                              QStringLiteral("About dave: Location=Oslo")}));
    // What the application does not show of a member still says so.
    profile->sections()->setSelectedSegmentIndex(MyProfile::FriendsSection);
    profile->sectionChanged();
    EXPECT_EQ(shown(profile->emptyState()), text("profile_friends_empty_headline"));
    EXPECT_TRUE(profile->tableView()->isHidden());
}

TEST_F(FriendsControllerTest, ALongListLoadsMoreByItsButtonAndAFailureSaysSo)
{
    // Ten friends a page fill a screen, so the next page waits for the button.
    forum().setMethodHandler(QStringLiteral("profile_buddylist"), [](const TestForumRequest& request, int) {
        const bool second = request.field(QStringLiteral("page")) == QStringLiteral("2");
        return second ? buddyPage(10, 3, 2, 2) : buddyPage(0, 10, 1, 2);
    });
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    auto screen = showAsRoot<FriendsController>();
    settleAll();
    QStringList expected;
    for (int i = 0; i < 10; ++i)
        expected.append(QStringLiteral("friend%1").arg(i));
    EXPECT_EQ(rows(screen.get()), expected + QStringList{QStringLiteral("(more)")});
    ASSERT_TRUE(screen->offersMore());

    screen->tableView()->scrollToRowAtIndexPath(IndexPath::indexPathForRow(10, 0), TableViewScrollPosition::Bottom, false);
    auto* more = dynamic_cast<LoadMoreButtonCell*>(screen->tableView()->cellForRowAtIndexPath(IndexPath::indexPathForRow(10, 0)));
    ASSERT_NE(more, nullptr);
    EXPECT_FALSE(more->loadMoreButton()->isHidden());
    EXPECT_EQ(more->loadMoreButton()->titleForState(ControlState::Normal), text("load_more"));
    forum().holdAtGate(QStringLiteral("profile_buddylist"), QStringLiteral("page2"));
    tapView(more->loadMoreButton());
    // While the page comes the row shows the loading sign, not the button.
    auto* loading = dynamic_cast<LoadMoreButtonCell*>(screen->tableView()->cellForRowAtIndexPath(IndexPath::indexPathForRow(10, 0)));
    ASSERT_NE(loading, nullptr);
    EXPECT_TRUE(loading->loadMoreButton()->isHidden());
    EXPECT_FALSE(loading->loadingLabel()->isHidden());
    forum().openGate(QStringLiteral("page2"));
    settleAll();
    const TestForumRequest page2 = lastRequest(QStringLiteral("profile_buddylist"));
    EXPECT_EQ(page2.httpMethod, QStringLiteral("POST"));
    EXPECT_EQ(page2.field(QStringLiteral("page")), QStringLiteral("2"));
    EXPECT_EQ(screen->friends().size(), 13);
    EXPECT_FALSE(screen->offersMore());
    EXPECT_EQ(screen->tableView()->numberOfRowsInSection(0), 13);

    // A list that cannot be loaded says so, once, instead of "no friends".
    forum().setMethodHandler(QStringLiteral("profile_buddylist"), {});
    forum().answerHttpStatus(QStringLiteral("profile_buddylist"), 500, "broken");
    CurrentUser::currentUser()->buddyList()->clear();
    const int alertsBefore = int(alertMessages().size());
    auto failed = showAsRoot<FriendsController>();
    settleAll();
    EXPECT_EQ(shown(failed->emptyState()), text("friends_failed_headline"));
    EXPECT_FALSE(failed->emptyState()->message().isEmpty());
    EXPECT_EQ(int(alertMessages().size()), alertsBefore + 1);
    dismissAlerts();
}

TEST_F(FriendsControllerTest, NoFriendsAndAGuestEachSayWhatIsTheMatter)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    forum().holdAtGate(QStringLiteral("profile_buddylist"), QStringLiteral("list"));
    auto screen = showAsRoot<FriendsController>();
    EXPECT_EQ(shown(screen->emptyState()), text("loading"));
    forum().openGate(QStringLiteral("list"));
    settleAll();
    EXPECT_TRUE(rows(screen.get()).isEmpty());
    EXPECT_TRUE(screen->tableView()->isHidden());
    EXPECT_EQ(shown(screen->emptyState()), text("friends_empty_headline"));
    EXPECT_EQ(screen->emptyState()->message(), text("friends_empty_message"));

    CurrentUser::currentUser()->logout();
    settleAll();
    openGuestSession();
    const int asked = int(forum().requests(QStringLiteral("profile_buddylist")).size());
    auto guest = showAsRoot<FriendsController>();
    settleAll();
    EXPECT_EQ(int(forum().requests(QStringLiteral("profile_buddylist")).size()), asked);
    EXPECT_EQ(shown(guest->emptyState()), text("profile_no_member_headline"));
    EXPECT_EQ(guest->emptyState()->message(), text("friends_no_member_message"));
}
