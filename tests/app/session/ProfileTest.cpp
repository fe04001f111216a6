#include "AppTest.h"

#include "Answers.h"
#include "app/session/Friend.h"
#include "app/session/Notification.h"
#include "app/session/Profile.h"

using ProfileTest = AppTest;

TEST_F(ProfileTest, HandsItsOwnMemberTheRefreshedAddressesOnlyAndKeepsItsSections)
{
    const auto member = Model::create<Friend>();
    member->setUserid(4);
    member->setUsername(QStringLiteral("carol"));
    RecordingObserver observer;
    member->addObserver(&observer);
    const std::shared_ptr<Profile> profile = member->profile();

    // Another member's answer changes nothing of this one.
    profile->setDictionary(json(R"({"userid": "5", "avatarurl": ""})"));
    EXPECT_EQ(observer.changes, 0);
    profile->setDictionary(json(R"({"userid": "4", "usertitle": "Moderator", "avatarurl": "", "joindate": "2011",
        "categories": {"title": "About"}})"));
    EXPECT_EQ(observer.changes, 1);
    EXPECT_EQ(member->usertitle(), QStringLiteral("Moderator"));
    EXPECT_EQ(member->avatarurl(), QStringLiteral(""));
    EXPECT_EQ(member->username(), QStringLiteral("carol"));
    // One section is a list of one; anything else none.
    ASSERT_EQ(profile->categories().size(), 1u);
    EXPECT_EQ(profile->categories().front(), json(R"({"title": "About"})"));
    profile->setDictionary(json(R"({"categories": "none"})"));
    EXPECT_TRUE(profile->categories().empty());
}

TEST_F(ProfileTest, AMembersFieldsUnderPreparedFillItAndTheTopLevelWins)
{
    const auto member = Model::create<Friend>();
    member->setUserid(5);
    member->setUsername(QStringLiteral("dave"));
    const std::shared_ptr<Profile> profile = member->profile();
    profile->setDictionary(json(R"({"userid": "5", "usertitle": "Top", "prepared": {"userid": "5",
        "usertitle": "Nested", "username": "dave", "avatarurl": "images/dave.png", "joindate": "2012-07-19",
        "posts": "7", "categories": [{"title": "About dave"}]}})"));
    EXPECT_EQ(member->usertitle(), QStringLiteral("Top"));
    EXPECT_EQ(member->avatarurl(), QStringLiteral("images/dave.png"));
    EXPECT_EQ(profile->usertitle(), QStringLiteral("Top"));
    EXPECT_EQ(profile->joindate(), Value(QStringLiteral("2012-07-19")));
    EXPECT_EQ(profile->posts(), Value(QStringLiteral("7")));
    ASSERT_EQ(profile->categories().size(), 1u);
    // Another member's fields under "prepared" change nothing of this one.
    profile->setDictionary(json(R"({"prepared": {"userid": "6", "usertitle": "Other"}})"));
    EXPECT_EQ(member->usertitle(), QStringLiteral("Top"));
}

TEST_F(ProfileTest, TheNestedNotificationFillsLikeTheElement)
{
    const auto notification = Model::createWithDictionary<Notification>(
        json(R"({"name": "pm", "notification": {"phrase": "Unread Private Messages", "total": "3"}})"));
    EXPECT_EQ(notification->name(), QStringLiteral("pm"));
    EXPECT_EQ(notification->phrase(), QStringLiteral("Unread Private Messages"));
    EXPECT_EQ(notification->total(), 3);
}
