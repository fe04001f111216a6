#include "AppTest.h"

#include "app/session/Friend.h"
#include "app/session/Notification.h"
#include "app/session/Profile.h"

using ProfileTest = AppTest;
using NotificationTest = AppTest;

namespace {

class CountingObserver : public ModelObserver {
public:
    void modelHasChanged(Model*) override { ++changes; }
    int changes = 0;
};

Value dict(std::initializer_list<ValueDict::Entry> entries)
{
    return Value(ValueDict(entries));
}

}  // namespace

TEST_F(ProfileTest, OneSectionIsAListOfOne)
{
    const auto profile = Model::create<Profile>();
    const Value section = dict({{QStringLiteral("title"), Value(QStringLiteral("About"))}});
    profile->setDictionary(dict({{QStringLiteral("categories"), section}}));
    ASSERT_EQ(profile->categories().size(), 1u);
    EXPECT_EQ(profile->categories().front(), section);
    profile->setDictionary(dict({{QStringLiteral("categories"), Value(QStringLiteral("none"))}}));
    EXPECT_TRUE(profile->categories().empty());
}

TEST_F(ProfileTest, HandsItsOwnMemberTheRefreshedAddressesOnly)
{
    const auto member = Model::create<Friend>();
    member->setUserid(4);
    member->setUsername(QStringLiteral("carol"));
    CountingObserver observer;
    member->addObserver(&observer);
    const std::shared_ptr<Profile> profile = member->profile();

    // Another member's answer changes nothing of this one.
    profile->setDictionary(dict({{QStringLiteral("userid"), Value(QStringLiteral("5"))},
                                 {QStringLiteral("avatarurl"), Value(QStringLiteral(""))}}));
    EXPECT_EQ(observer.changes, 0);

    profile->setDictionary(dict({{QStringLiteral("userid"), Value(QStringLiteral("4"))},
                                 {QStringLiteral("usertitle"), Value(QStringLiteral("Moderator"))},
                                 {QStringLiteral("avatarurl"), Value(QStringLiteral(""))},
                                 {QStringLiteral("joindate"), Value(QStringLiteral("2011"))}}));
    EXPECT_EQ(observer.changes, 1);
    EXPECT_EQ(member->usertitle(), QStringLiteral("Moderator"));
    EXPECT_EQ(member->avatarurl(), QStringLiteral(""));
    EXPECT_EQ(member->username(), QStringLiteral("carol"));
    EXPECT_EQ(profile->usertitle(), QStringLiteral("Moderator"));
    member->removeObserver(&observer);
}

TEST_F(NotificationTest, TheNestedNotificationFillsLikeTheElement)
{
    const auto notification = Model::createWithDictionary<Notification>(
        dict({{QStringLiteral("name"), Value(QStringLiteral("pm"))},
              {QStringLiteral("notification"), dict({{QStringLiteral("phrase"), Value(QStringLiteral("Unread Private Messages"))},
                                                     {QStringLiteral("total"), Value(QStringLiteral("3"))}})}}));
    EXPECT_EQ(notification->name(), QStringLiteral("pm"));
    EXPECT_EQ(notification->phrase(), QStringLiteral("Unread Private Messages"));
    EXPECT_EQ(notification->total(), 3);
}
