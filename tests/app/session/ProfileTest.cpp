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

TEST_F(ProfileTest, TheNestedNotificationFillsLikeTheElement)
{
    const auto notification = Model::createWithDictionary<Notification>(
        json(R"({"name": "pm", "notification": {"phrase": "Unread Private Messages", "total": "3"}})"));
    EXPECT_EQ(notification->name(), QStringLiteral("pm"));
    EXPECT_EQ(notification->phrase(), QStringLiteral("Unread Private Messages"));
    EXPECT_EQ(notification->total(), 3);
}
