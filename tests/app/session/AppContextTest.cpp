#include "AppTest.h"

#include "app/net/ApiClient.h"
#include "app/net/SessionCredentials.h"
#include "app/session/SessionEvents.h"

#include <QJsonArray>

using AppContextTest = AppTest;

// One run of the application after another, each on a context of its own:
// the next run restores the member from the store on objects of its own, and
// what is left of the last run reaches none of the next run's listeners.
TEST_F(AppContextTest, EachRunHasItsOwnSessionAndItsOwnListeners)
{
    int firstLost = 0;
    context().sessionEvents().sessionLost = [&] { ++firstLost; };
    const CurrentUserPtr first = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const std::shared_ptr<ApiClient> firstClient = ApiClient::currentShared();

    dropContext();
    buildContext();
    int secondLost = 0;
    int secondTreeDrops = 0;
    context().sessionEvents().sessionLost = [&] { ++secondLost; };
    context().sessionEvents().dropForumTree = [&] { ++secondTreeDrops; };

    const CurrentUserPtr second = CurrentUser::currentUser();
    ASSERT_NE(second, first);
    EXPECT_EQ(second->username(), QStringLiteral("alice"));
    EXPECT_TRUE(second->isMember());
    EXPECT_EQ(SessionCredentials::current(), second.get());
    EXPECT_NE(ApiClient::currentShared(), firstClient);

    // The last run's user, as a screen of it may still hold it, loses its
    // member: the new run's forum tree stays, and so does its member.
    first->setUserid(0);
    EXPECT_EQ(secondTreeDrops, 0);
    EXPECT_EQ(second->userid(), 1);

    // The new run's session cannot be renewed: its own login screen comes, once.
    forum().expireToken();
    forum().answerError(QStringLiteral("login_login"), QJsonArray{QStringLiteral("badlogin")});
    const auto probe = std::make_shared<Model>();
    RecordingObserver observer;
    probe->addObserver(&observer);
    probe->requestURL(QStringLiteral("member"), ValueDict(), RequestMethod::POST);
    ASSERT_TRUE(waitFor([&] { return observer.heardAnything(); }));
    ASSERT_TRUE(settle());
    probe->removeObserver(&observer);

    EXPECT_EQ(observer.failures.size(), 1);
    EXPECT_EQ(secondLost, 1);
    EXPECT_EQ(firstLost, 0);
    EXPECT_FALSE(second->isMember());
    EXPECT_EQ(secondTreeDrops, 1);
}

// A part of a layer above that nobody set is no stand-in made on the spot,
// connected to nothing: asking for it ends the program, naming the part's
// type and the place that asked, in every build. A part set is handed out
// until it is forgotten.
TEST_F(AppContextTest, AskingForAPartNobodySetEndsTheProgramNamingThePartAndTheAsker)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Unwired {};
    EXPECT_DEATH(context().part<Unwired>(),
                 "TestBody.*\\[Line [0-9]+\\] asked for the application context's part .*Unwired, which nothing set");
    EXPECT_EQ(context().existingPart<Unwired>(), nullptr) << "looking is not asking";

    const auto wired = std::make_shared<Unwired>();
    context().setPart(wired);
    EXPECT_EQ(context().part<Unwired>(), wired);
    context().setPart<Unwired>(nullptr);
    EXPECT_EQ(context().existingPart<Unwired>(), nullptr);
    EXPECT_DEATH(context().part<Unwired>(), "Unwired, which nothing set");
}
