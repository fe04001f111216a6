#include "NeighbourScreenTest.h"

#include "neighbours/screens/MyProfile.h"
#include "neighbours/screens/ProfileController.h"

#include "app/session/Profile.h"
#include "app/widgets/GradientButton.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

namespace {

class MyProfileTest : public NeighbourScreenTest {
protected:
    static QStringList categories(MyProfile* screen) { return profileSections(screen); }
    void tapSegment(SegmentedControl* control, int segment)
    {
        tap(control->convertPoint(control->rectForSegment(segment).center(), nullptr));
        finishMoving();
    }
};

}  // namespace

TEST_F(MyProfileTest, TheOwnProfileSectionOpensTheMembersProfileWhichFillsAsTheAnswerArrives)
{
    const CurrentUserPtr carol = signIn(QStringLiteral("carol"), QStringLiteral("secret4"));
    // The profile's answer waits until the screen has been looked at.
    forum().holdAtGate(QStringLiteral("member"), QStringLiteral("profile"));
    auto section = showAsRoot<ProfileController>();

    // The profile screen stands above the section at once, not sliding in.
    const QList<ViewControllerPtr> stack = navigation()->viewControllers();
    ASSERT_EQ(stack.size(), 2);
    EXPECT_EQ(stack.first().get(), section.get());
    auto* profile = dynamic_cast<MyProfile*>(stack.last().get());
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->user().get(), carol.get());
    EXPECT_EQ(profile->sections()->selectedSegmentIndex(), int(MyProfile::ProfileSection));
    EXPECT_EQ(profile->sections()->numberOfSegments(), 4);
    EXPECT_EQ(shown(profile->emptyState()), text("loading"));
    EXPECT_EQ(profile->nameLabel()->text(), QStringLiteral("carol"));
    // Not the first screen of its stack: no menu button of its own.
    EXPECT_EQ(profile->navButton(), nullptr);

    forum().openGate(QStringLiteral("profile"));
    settleAll();
    const TestForumRequest asked = lastRequest(QStringLiteral("member"));
    EXPECT_EQ(asked.field(QStringLiteral("userid")), QString::number(forum().memberId(QStringLiteral("carol"))));
    EXPECT_EQ(categories(profile), QStringList({QStringLiteral(": Joined=2011-03-02, Posts=42"),
                                                QStringLiteral("About carol: Location=Lisbon, Interests=Cycling & maps")}));
    EXPECT_EQ(shown(profile->emptyState()), QStringLiteral("(hidden)"));
    EXPECT_EQ(profile->userTitleLabel()->text(), QStringLiteral("Member"));

    // The sections the application does not show say so; back to the fields.
    tapSegment(profile->sections(), MyProfile::AlbumsSection);
    EXPECT_EQ(shown(profile->emptyState()), text("profile_albums_empty_headline"));
    EXPECT_TRUE(profile->tableView()->isHidden());
    tapSegment(profile->sections(), MyProfile::MessagesSection);
    EXPECT_EQ(shown(profile->emptyState()), text("profile_messages_empty_headline"));
    tapSegment(profile->sections(), MyProfile::ProfileSection);
    EXPECT_EQ(categories(profile).size(), 2);

    // Back on the section: whose it is, and the way to the profile again,
    // which has its data already and asks for nothing.
    navigation()->popViewControllerAnimated(false);
    finishMoving();
    EXPECT_EQ(navigation()->topViewController(), section.get());
    EXPECT_EQ(shown(section->emptyState()), QStringLiteral("carol"));
    ASSERT_FALSE(section->openButton()->isHidden());
    const int memberAnswers = int(forum().requests(QStringLiteral("member")).size());
    tapView(section->openButton());
    finishMoving();
    auto* again = dynamic_cast<MyProfile*>(navigation()->topViewController());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(categories(again).size(), 2);
    settleAll();
    EXPECT_EQ(int(forum().requests(QStringLiteral("member")).size()), memberAnswers);

    // Another member signs in while the profile is open: the screen shows
    // that member's own profile, never the former one's fields.
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    settleAll();
    EXPECT_EQ(again->nameLabel()->text(), QStringLiteral("alice"));
    EXPECT_TRUE(categories(again).isEmpty());
    EXPECT_EQ(shown(again->emptyState()), text("profile_empty_headline"));
    EXPECT_EQ(lastRequest(QStringLiteral("member")).field(QStringLiteral("userid")),
              QString::number(forum().memberId(QStringLiteral("alice"))));
}

TEST_F(MyProfileTest, AMemberWithoutFieldsAGuestAndAFailedAnswerEachSayWhatIsTheMatter)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    auto screen = std::make_shared<MyProfile>(context(), QStringLiteral("MyProfile"), 0);
    showAsRoot(screen);
    screen->setUser(CurrentUser::currentUser());
    settleAll();
    EXPECT_EQ(shown(screen->emptyState()), text("profile_empty_headline"));

    // Another member: the former one and its profile are no longer observed.
    const std::shared_ptr<Profile> former = screen->profile();
    auto dave = Model::create<Friend>();
    dave->setUserid(forum().memberId(QStringLiteral("dave")));
    dave->setUsername(QStringLiteral("dave"));
    forum().answerHttpStatus(QStringLiteral("member"), 500, "broken");
    screen->setUser(dave);
    EXPECT_FALSE(former->observers().contains(screen.get()));
    EXPECT_FALSE(CurrentUser::currentUser()->observers().contains(screen.get()));
    EXPECT_TRUE(dave->observers().contains(screen.get()));
    settleAll();
    EXPECT_EQ(shown(screen->emptyState()), text("profile_failed_headline"));
    EXPECT_FALSE(screen->emptyState()->message().isEmpty());
    dismissAlerts();

    // Nobody: nothing to show, nothing asked.
    const int asked = int(forum().requests(QStringLiteral("member")).size());
    screen->setUser(nullptr);
    EXPECT_EQ(shown(screen->emptyState()), text("profile_no_member_headline"));
    EXPECT_TRUE(dave->observers().isEmpty());

    // A guest has no profile on the forum: nothing is asked for.
    CurrentUser::currentUser()->logout();
    ASSERT_TRUE(waitFor([] { return CurrentUser::currentUser()->userid() == 0; }));
    settleAll();
    screen->setUser(CurrentUser::currentUser());
    settleAll();
    EXPECT_EQ(int(forum().requests(QStringLiteral("member")).size()), asked);
    EXPECT_EQ(shown(screen->emptyState()), text("profile_no_member_headline"));
    EXPECT_EQ(screen->nameLabel()->text(), text("profile_no_member_name"));
}

TEST_F(MyProfileTest, OpensOnTheSectionItIsGivenAndReadsFieldsOfAnyShape)
{
    auto albums = std::make_shared<MyProfile>(context(), QStringLiteral("MyProfile"), 3);
    showAsRoot(albums);
    EXPECT_EQ(albums->sections()->selectedSegmentIndex(), int(MyProfile::AlbumsSection));
    EXPECT_EQ(shown(albums->emptyState()), text("profile_albums_empty_headline"));
    EXPECT_EQ(albums->nibName(), QStringLiteral("MyProfile"));

    // One field alone, a field without a value, a number, and no fields.
    const Value single(ValueDict{{QStringLiteral("fields"),
                                  Value(ValueDict{{QStringLiteral("name"), Value(QStringLiteral("Posts"))},
                                                  {QStringLiteral("value"), Value(42)}})}});
    EXPECT_EQ(MyProfile::fieldsOf(single),
              (QList<std::pair<QString, QString>>{{QStringLiteral("Posts"), QStringLiteral("42")}}));
    const Value list(ValueDict{{QStringLiteral("fields"),
                                Value(ValueList{Value(ValueDict{{QStringLiteral("name"), Value(QStringLiteral("Empty"))},
                                                                {QStringLiteral("value"), Value(QStringLiteral(" "))}}),
                                                Value(QStringLiteral("not a field")),
                                                Value(ValueDict{{QStringLiteral("name"), Value(QStringLiteral("City"))},
                                                                {QStringLiteral("value"), Value(QStringLiteral("Oslo"))}})})}});
    EXPECT_EQ(MyProfile::fieldsOf(list),
              (QList<std::pair<QString, QString>>{{QStringLiteral("City"), QStringLiteral("Oslo")}}));
    EXPECT_TRUE(MyProfile::fieldsOf(Value(QStringLiteral("nothing"))).isEmpty());
}
