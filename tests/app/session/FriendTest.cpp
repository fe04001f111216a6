#include "AppTest.h"

#include "app/media/ImageCache.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "app/session/Profile.h"
#include "app/session/SessionEvents.h"

#include <QJsonArray>

using SessionTest = AppTest;
using FriendTest = AppTest;
using CurrentUserTest = AppTest;

namespace {

QJsonObject previewErrors(const QJsonArray& errors)
{
    return {{QStringLiteral("response"),
             QJsonObject{{QStringLiteral("postpreview"), QJsonObject{{QStringLiteral("errorlist"), errors}}}}}};
}

QJsonObject code(const char16_t* errormessage)
{
    return {{QStringLiteral("errormessage"), QString::fromUtf16(errormessage)}};
}

}  // namespace

TEST_F(SessionTest, VisitorMessagesAreSentAndTheirAnswersJudged)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const FriendPtr bob = Model::createWithDictionary<Friend>(
        Value(ValueDict{{QStringLiteral("userid"), Value(QStringLiteral("2"))},
                        {QStringLiteral("username"), Value(QStringLiteral("bob"))}}));
    RecordingObserver observer;
    bob->addObserver(&observer);
    forum().clearLog();
    const auto memberFetches = [&] { return forum().requests(QStringLiteral("member")).size(); };

    bob->postVisitorMessage(QString());
    bob->postVisitorMessage(QStringLiteral(""));
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);

    // Accepted: the profile is fetched again to show it.
    bob->postVisitorMessage(QStringLiteral("Hello & bye"));
    ASSERT_TRUE(waitFor([&] { return memberFetches() == 1; }));
    ASSERT_TRUE(settle());
    const TestForumRequest sent = lastRequest(QStringLiteral("visitormessage_message"));
    EXPECT_TRUE(sent.signatureValid);
    EXPECT_EQ(sent.formPairs, (QList<QPair<QString, QString>>{{QStringLiteral("message"), QStringLiteral("Hello & bye")},
                                                              {QStringLiteral("userid"), QStringLiteral("2")}}));
    EXPECT_EQ(lastRequest(QStringLiteral("member")).field(QStringLiteral("userid")), QStringLiteral("2"));
    EXPECT_EQ(bob->profile()->username(), QStringLiteral("bob"));
    EXPECT_TRUE(observer.failures.isEmpty());

    // Refused as the answer's own code.
    forum().answerError(QStringLiteral("visitormessage_message"), QStringLiteral("nopermission_loggedout"));
    bob->postVisitorMessage(QStringLiteral("again"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("nopermission_loggedout"))});

    // Refused in the preview's error list: the first code the table knows.
    forum().setAnswer(QStringLiteral("visitormessage_message"), previewErrors({code(u"zz_unknown"), code(u"tooshort")}), 1);
    bob->postVisitorMessage(QStringLiteral("x"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures.value(1), tableText(QStringLiteral("tooshort")));

    // Only codes the table does not know (one dictionary for a list of one): nothing.
    forum().setAnswer(QStringLiteral("visitormessage_message"),
                    QJsonObject{{QStringLiteral("response"),
                                 QJsonObject{{QStringLiteral("postpreview"),
                                              QJsonObject{{QStringLiteral("errorlist"), code(u"zz_unknown")}}}}}},
                    1);
    bob->postVisitorMessage(QStringLiteral("y"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures.size(), 2);

    forum().answerHttpStatus(QStringLiteral("visitormessage_message"), 500);
    bob->postVisitorMessage(QStringLiteral("z"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures.value(2), tableText(QStringLiteral("unexpected_server_response")));
    EXPECT_EQ(memberFetches(), 1);

    // A preview list the verdict cannot read (an element that is no
    // dictionary) names no code, and the verdict is what counts: accepted,
    // not refused by the code further down.
    forum().setAnswer(QStringLiteral("visitormessage_message"),
                      previewErrors({QStringLiteral("not a dictionary"), code(u"tooshort")}), 1);
    bob->postVisitorMessage(QStringLiteral("w"));
    ASSERT_TRUE(waitFor([&] { return memberFetches() == 2; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures.size(), 3);
    bob->removeObserver(&observer);
}

TEST_F(SessionTest, AskingToBecomeFriendsSendsTheList)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto bob = Model::create<Friend>();
    bob->setUserid(2);
    RecordingObserver observer;
    bob->addObserver(&observer);
    bob->addAsFriend();
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("profile_doaddlist")).formPairs,
              (QList<QPair<QString, QString>>{{QStringLiteral("userid"), QStringLiteral("2")},
                                              {QStringLiteral("userlist"), QStringLiteral("friend")},
                                              {QStringLiteral("friend"), QStringLiteral("1")}}));
    // The forum's confirmation is a text of the error table.
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("redirect_friendrequested"))});
    bob->removeObserver(&observer);
}

TEST_F(FriendTest, FillsFromANestedMemberAndAsksForTheAvatarAtOnce)
{
    const FriendPtr member = Model::createWithDictionary<Friend>(Value(ValueDict{
        {QStringLiteral("user"),
         Value(ValueDict{{QStringLiteral("userid"), Value(7)},
                         {QStringLiteral("username"), Value(QStringLiteral("x"))},
                         {QStringLiteral("usertitle"), Value(QStringLiteral("t"))},
                         {QStringLiteral("avatarurl"), Value(QStringLiteral("images/a.png?s=1&amp;t=2"))}})}}));
    EXPECT_EQ(member->userid(), 7);
    EXPECT_EQ(member->username(), QStringLiteral("x"));
    EXPECT_EQ(member->usertitle(), QStringLiteral("t"));
    EXPECT_EQ(member->avatarurl(), QStringLiteral("images/a.png?s=1&t=2"));
    ASSERT_EQ(member->imagesRequests().count(), 1);
    EXPECT_EQ(member->imagesRequests().snapshot().first()->url(), QStringLiteral("images/a.png?s=1&t=2"));

    // Anything but a text stores nothing.
    member->setDictionary(Value(ValueDict{{QStringLiteral("avatarurl"), Value::null()}}));
    EXPECT_TRUE(member->avatarurl().isNull());
}

TEST_F(FriendTest, TheProfileIsMadeOnceAndDoesNotOwnItsMember)
{
    FriendPtr member = Model::create<Friend>();
    member->setUserid(5);
    const std::shared_ptr<Profile> profile = member->profile();
    EXPECT_EQ(member->profile(), profile);
    EXPECT_EQ(profile->user(), member.get());

    const std::weak_ptr<Friend> watch = member;
    member.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(profile->user(), nullptr);
    profile->fetchInfo();
    EXPECT_FALSE(profile->hasRequests());
}

TEST_F(CurrentUserTest, TheProfileFollowsTheUserId)
{
    int treeDrops = 0;
    const auto events = std::make_shared<SessionEvents>();
    events->dropForumTree = [&] { ++treeDrops; };
    const auto user = std::make_shared<CurrentUser>();
    user->setEvents(events);

    user->setUserid(3);
    const std::shared_ptr<Profile> profile = user->existingProfile();
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->user(), user.get());
    EXPECT_EQ(treeDrops, 1);

    user->setDictionary(Value(ValueDict{{QStringLiteral("userid"), Value(QStringLiteral("3"))}}));
    EXPECT_EQ(user->existingProfile(), profile);
    EXPECT_EQ(treeDrops, 1);

    // Another member signing in gets a profile of its own, never the former one's.
    user->setUserid(5);
    ASSERT_NE(user->existingProfile(), nullptr);
    EXPECT_NE(user->existingProfile(), profile);
    EXPECT_EQ(treeDrops, 2);

    user->setUserid(0);
    EXPECT_EQ(user->existingProfile(), nullptr);
    EXPECT_EQ(treeDrops, 3);
    // A guest has no profile to fetch.
    user->fetchInfo();
    EXPECT_EQ(user->existingProfile(), nullptr);
}
