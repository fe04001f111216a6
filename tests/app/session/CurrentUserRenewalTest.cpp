#include "AppTest.h"

#include "app/config/ConnectionError.h"
#include "app/net/ApiClient.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"

#include <QJsonArray>

using SessionTest = AppTest;

namespace {

QList<std::shared_ptr<AlertView>> renewalAlerts()
{
    return AppTest::visibleAlerts(Bundle::main().localizedString(QStringLiteral("renovate_session")));
}

// The forum's log started afresh, and every token it gave out expired.
void expireTokens(TestForum& forum)
{
    forum.clearLog();
    forum.expireToken();
}

// A model that asks the forum something any session may ask.
struct Probe {
    Probe() { model->addObserver(&observer); }
    ~Probe() { model->removeObserver(&observer); }
    void send() { model->requestURL(QStringLiteral("member"), ValueDict(), RequestMethod::POST); }
    bool answered() const { return observer.changes + observer.failures.size() > 0; }
    // Sent, and waited on until it is answered and nothing is left in flight.
    void sendAndSettle()
    {
        send();
        ASSERT_TRUE(AppTest::waitFor([&] { return answered(); }));
        ASSERT_TRUE(AppTest::settle());
    }

    std::shared_ptr<Model> model = std::make_shared<Model>();
    RecordingObserver observer;
};

}  // namespace

TEST_F(SessionTest, AGuestsRenewalEndsAfterApiInit)
{
    const CurrentUserPtr user = openGuestSession();
    const QString expired = user->apiaccesstoken();
    expireTokens(forum());

    Probe probe;
    ASSERT_NO_FATAL_FAILURE(probe.sendAndSettle());

    EXPECT_EQ(probe.observer.changes, 1);
    EXPECT_EQ(apiLog(), (QStringList{QStringLiteral("member"), QStringLiteral("api_init"), QStringLiteral("member")}));
    const TestForumRequest resent = lastRequest(QStringLiteral("member"));
    EXPECT_EQ(resent.token, user->apiaccesstoken());
    EXPECT_NE(resent.token, expired);
    EXPECT_TRUE(resent.signatureValid);
    EXPECT_FALSE(user->isRenewing());
    EXPECT_TRUE(ApiClient::current().renewal().waiting().isEmpty());
    EXPECT_TRUE(renewalAlerts().isEmpty());
}

TEST_F(SessionTest, AMembersRenewalSignsInAgain)
{
    const CurrentUserPtr user = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    expireTokens(forum());

    Probe probe;
    ASSERT_NO_FATAL_FAILURE(probe.sendAndSettle());

    EXPECT_EQ(probe.observer.changes, 1);
    // The buddy list of a member follows every session opening; it waits for
    // the sign-in like the probe does.
    const QStringList log = apiLog();
    EXPECT_EQ(log.mid(0, 3), (QStringList{QStringLiteral("member"), QStringLiteral("api_init"),
                                          QStringLiteral("login_login")}));
    EXPECT_EQ(QSet<QString>(log.begin() + 3, log.end()),
              (QSet<QString>{QStringLiteral("member"), QStringLiteral("profile_buddylist")}));
    EXPECT_EQ(log.size(), 5);
    EXPECT_EQ(lastRequest(QStringLiteral("profile_buddylist")).status, 200);
    EXPECT_EQ(lastRequest(QStringLiteral("profile_buddylist")).token, user->apiaccesstoken());
    EXPECT_EQ(lastRequest(QStringLiteral("login_login")).field(QStringLiteral("mu_login_md5password_utf")),
              user->passwordmd5());
    EXPECT_EQ(forum().memberIdForToken(user->apiaccesstoken()), 1);
    EXPECT_EQ(user->userid(), 1);
    EXPECT_FALSE(user->isRenewing());
}

TEST_F(SessionTest, ARefusedRenewalFailsEveryWaitingRequestAndAlertsOnce)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    expireTokens(forum());
    forum().answerError(QStringLiteral("login_login"), QJsonArray{QStringLiteral("badlogin")});

    Probe first, second, third;
    first.send();
    second.send();
    third.send();
    ASSERT_TRUE(waitFor([&] { return first.answered() && second.answered() && third.answered(); }));
    ASSERT_TRUE(settle());

    const QString lost = Bundle::main().localizedString(QStringLiteral("renovate_session"));
    for (const Probe* probe : {&first, &second, &third}) {
        EXPECT_EQ(probe->observer.failures, QStringList{lost});
        EXPECT_EQ(probe->observer.changes, 0);
    }
    // The member is signed out; the name stays for the login screen.
    const CurrentUserPtr user = CurrentUser::currentUser();
    EXPECT_EQ(user->userid(), 0);
    EXPECT_TRUE(user->anonymous());
    EXPECT_EQ(user->username(), QStringLiteral("alice"));
    EXPECT_TRUE(user->passwordmd5().isEmpty());
    EXPECT_EQ(forum().requests(QStringLiteral("api_init")).size(), 1);
    EXPECT_EQ(forum().requests(QStringLiteral("login_login")).size(), 1);
    EXPECT_EQ(forum().requests(QStringLiteral("member")).size(), 3);
    const QList<std::shared_ptr<AlertView>> alerts = renewalAlerts();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_TRUE(alerts.first()->title().isEmpty());
    EXPECT_EQ(alerts.first()->buttonTitles(), QStringList{Bundle::main().localizedString(QStringLiteral("ok"))});
    // The presenter's: the waiting requests' failures read the same and add none.
    EXPECT_EQ(alerts.first()->delegate(), &ConnectionError::getInstance());
    EXPECT_EQ(alertMessages().size(), 1);
}

TEST_F(SessionTest, ARenewalWaitingForAnApiInitInFlightEndsWithIt)
{
    const CurrentUserPtr user = openGuestSession();
    expireTokens(forum());
    Probe probe;
    probe.send();
    // A session opening is on its way when the stale token is found: the
    // renewal sends none of its own and fails with that one.
    user->setApiaccesstoken(QString());
    forum().delayMethod(QStringLiteral("api_init"), 300);
    forum().answerHttpStatus(QStringLiteral("api_init"), 500);
    user->initializeAPI();

    ASSERT_TRUE(waitFor([&] { return probe.answered(); }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(probe.observer.failures.size(), 1);
    EXPECT_EQ(forum().requests(QStringLiteral("api_init")).size(), 1);
    EXPECT_FALSE(user->isRenewing());
    EXPECT_EQ(user->whenInitializedCall(), nullptr);
    EXPECT_EQ(renewalAlerts().size(), 1);
}

TEST_F(SessionTest, AnApiInitToldItsTokenIsStaleStillOpensTheSession)
{
    forum().answerError(QStringLiteral("api_init"), QStringLiteral("invalid_accesstoken"));
    const CurrentUserPtr user = CurrentUser::skipLogin();
    ASSERT_TRUE(waitFor([&] { return !user->apiaccesstoken().isEmpty(); }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(apiLog(), (QStringList{QStringLiteral("api_init"), QStringLiteral("api_init")}));
    EXPECT_EQ(forum().currentToken(user->apiclientid()), user->apiaccesstoken());
    EXPECT_FALSE(user->isRenewing());
    EXPECT_TRUE(renewalAlerts().isEmpty());
}

TEST_F(SessionTest, ACallMadeWithoutASessionWaitsForOneAndNeverGoesOutBare)
{
    // A guest whose session was never opened.
    forum();
    const CurrentUserPtr user = CurrentUser::currentUser();
    Probe guest;
    ASSERT_NO_FATAL_FAILURE(guest.sendAndSettle());
    EXPECT_EQ(guest.observer.changes, 1);
    EXPECT_EQ(apiLog(), (QStringList{QStringLiteral("api_init"), QStringLiteral("member")}));
    EXPECT_EQ(lastRequest(QStringLiteral("member")).token, user->apiaccesstoken());
    EXPECT_TRUE(lastRequest(QStringLiteral("member")).signatureValid);

    // A member whose token is gone: the session opens and the member signs
    // in again before the call goes out.
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    forum().clearLog();
    user->setApiaccesstoken(QString());
    Probe member;
    ASSERT_NO_FATAL_FAILURE(member.sendAndSettle());
    EXPECT_EQ(member.observer.changes, 1);
    EXPECT_EQ(apiLog().mid(0, 2), (QStringList{QStringLiteral("api_init"), QStringLiteral("login_login")}));
    EXPECT_EQ(lastRequest(QStringLiteral("member")).memberId, 1);
    EXPECT_FALSE(user->isRenewing());
    EXPECT_TRUE(renewalAlerts().isEmpty());
}

TEST_F(SessionTest, ACallWhoseStaleTokenIsToldAfterAFailedRenewalOpensNoSessionOfItsOwn)
{
    const CurrentUserPtr user = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    expireTokens(forum());
    forum().answerError(QStringLiteral("login_login"), QJsonArray{QStringLiteral("badlogin")});

    // Two calls on the expired token: the first answer begins the renewal,
    // which fails; the second answer comes only after the member is signed out.
    Probe quick;
    Probe late;
    forum().delayMethod(QStringLiteral("forum"), 400);
    late.model->requestURL(QStringLiteral("forum"), ValueDict(), RequestMethod::POST);
    quick.send();
    ASSERT_TRUE(waitFor([&] { return quick.answered() && late.answered(); }));
    ASSERT_TRUE(settle());

    // One sign-out, and no session opened after it: the late call ends as the
    // calls that waited for the renewal did, and is not sent again.
    const QStringList log = apiLog();
    ASSERT_TRUE(log.contains(QStringLiteral("login_logout")));
    EXPECT_EQ(log.mid(log.indexOf(QStringLiteral("login_logout")) + 1).count(QStringLiteral("api_init")), 0)
        << log.join(u',').toStdString();
    EXPECT_EQ(forum().requests(QStringLiteral("api_init")).size(), 1);
    EXPECT_EQ(forum().requests(QStringLiteral("login_logout")).size(), 1);
    EXPECT_EQ(forum().requests(QStringLiteral("forum")).size(), 1);
    const QString lost = Bundle::main().localizedString(QStringLiteral("renovate_session"));
    EXPECT_EQ(quick.observer.failures, QStringList{lost});
    EXPECT_EQ(late.observer.failures, QStringList{lost});
    EXPECT_EQ(late.observer.changes, 0);
    EXPECT_TRUE(user->apiaccesstoken().isNull());
    EXPECT_EQ(user->userid(), 0);
    EXPECT_FALSE(user->isRenewing());
    EXPECT_EQ(renewalAlerts().size(), 1);

    // A call made now, with no session, opens one: the guest's, once.
    forum().clearLog();
    Probe guest;
    ASSERT_NO_FATAL_FAILURE(guest.sendAndSettle());
    EXPECT_EQ(guest.observer.changes, 1);
    EXPECT_EQ(apiLog(), (QStringList{QStringLiteral("api_init"), QStringLiteral("member")}));
    EXPECT_EQ(lastRequest(QStringLiteral("member")).memberId, 0);
}
