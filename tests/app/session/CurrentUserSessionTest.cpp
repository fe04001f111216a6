#include "AppTest.h"

#include "app/model/Config.h"
#include "app/media/ImageCache.h"
#include "app/net/SessionCredentials.h"
#include "app/net/SessionRenewal.h"
#include "app/session/SessionEvents.h"
#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"

#include <QFile>
#include <QJsonArray>

using SessionTest = AppTest;

namespace {

// printf 'secret1' | md5sum
const QString kAliceDigest = QStringLiteral("e52d98c459819a11775936d8dfbb7929");

ValueDict storedUser()
{
    const Value stored = UserDefaults::standard().objectForKey(QStringLiteral("current_user"));
    return KeyedArchive::unarchive(stored.bytes()).value_or(ValueDict());
}

}  // namespace

TEST_F(SessionTest, SignInWithoutSessionOpensItFirstAndKeepsOnlyTheDigest)
{
    // First start: a guest, who is the session.
    const CurrentUserPtr guest = CurrentUser::currentUser();
    EXPECT_TRUE(guest->anonymous());
    EXPECT_EQ(guest->userid(), 0);
    EXPECT_EQ(SessionCredentials::current(), guest.get());
    EXPECT_EQ(SessionRenewal::current(), guest.get());

    const CurrentUserPtr user = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    EXPECT_EQ(user, guest);

    EXPECT_EQ(apiLog(), (QStringList{QStringLiteral("api_init"), QStringLiteral("login_login")}));
    const TestForumRequest init = lastRequest(QStringLiteral("api_init"));
    EXPECT_EQ(init.httpMethod, QStringLiteral("POST"));
    EXPECT_EQ(init.field(QStringLiteral("clientname")), QStringLiteral("mu Mobile iOS"));
    EXPECT_EQ(init.field(QStringLiteral("platformname")), DeviceInfo::model());
    EXPECT_EQ(init.field(QStringLiteral("uniqueid")).size(), 36);
    const TestForumRequest login = lastRequest(QStringLiteral("login_login"));
    EXPECT_TRUE(login.signatureValid);
    EXPECT_EQ(login.formPairs,
              (QList<QPair<QString, QString>>{{QStringLiteral("cookieuser"), QStringLiteral("true")},
                                              {QStringLiteral("mu_login_username"), QStringLiteral("alice")},
                                              {QStringLiteral("mu_login_md5password_utf"), kAliceDigest}}));

    EXPECT_EQ(user->userid(), 1);
    EXPECT_FALSE(user->anonymous());
    EXPECT_EQ(forum().memberIdForToken(user->apiaccesstoken()), 1);
    EXPECT_EQ(Config::getInstance().bbtitle(), QStringLiteral("Test Forum"));
    EXPECT_EQ(Config::getInstance().show(),
              (QSet<QString>{QStringLiteral("registration"), QStringLiteral("search"),
                             QStringLiteral("privatemessages")}));

    EXPECT_EQ(storedUser().value(QStringLiteral("passwordmd5")).string(), kAliceDigest);
    QFile file(UserDefaults::standard().filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("secret1"));
    EXPECT_EQ(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
}

TEST_F(SessionTest, RestartRestoresTheMemberAndReloadsItsAvatar)
{
    const CurrentUserPtr before = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_TRUE(waitFor([&] { return !before->avatar().isNull(); }));

    forum().clearLog();
    CurrentUser::resetInstance();
    UserDefaults::standard().reload();
    ImageCache::clearRegistry();
    const CurrentUserPtr after = CurrentUser::currentUser();

    ASSERT_NE(after, before);
    EXPECT_EQ(after->userid(), 1);
    EXPECT_EQ(after->username(), QStringLiteral("alice"));
    EXPECT_FALSE(after->anonymous());
    EXPECT_EQ(after->apiaccesstoken(), before->apiaccesstoken());
    EXPECT_EQ(after->secret(), before->secret());
    EXPECT_EQ(after->apiclientid(), before->apiclientid());
    EXPECT_EQ(after->passwordmd5(), kAliceDigest);
    EXPECT_EQ(after->avatarurl(), QStringLiteral("images/alice.png"));
    EXPECT_TRUE(waitFor([&] { return !after->avatar().isNull(); }));
    // A restored session needs no new one.
    after->initializeAPI();
    EXPECT_TRUE(forum().requests(QStringLiteral("api_init")).isEmpty());
}

TEST_F(SessionTest, SignOutKeepsTheClientAndDropsTheMember)
{
    int treeDrops = 0;
    int noticeClears = 0;
    context().sessionEvents().dropForumTree = [&] { ++treeDrops; };
    context().sessionEvents().clearDismissedNotices = [&] { ++noticeClears; };
    const CurrentUserPtr user = signIn(QStringLiteral("carol"), QStringLiteral("secret4"));
    EXPECT_EQ(treeDrops, 1);  // 0 -> 4
    EXPECT_EQ(noticeClears, 1);
    // The seeded buddy list, sorted; without page navigation it is page 1 of 1.
    user->fetchFriends();
    ASSERT_TRUE(waitFor([&] { return !user->friends().isEmpty(); }));
    QStringList friends;
    for (const FriendPtr& member : user->friends())
        friends.append(member->username());
    EXPECT_EQ(friends, QStringLiteral("alice bob dave").split(u' '));
    EXPECT_EQ(user->contacts().value(0)->username(), u"erin");
    EXPECT_EQ(user->incoming_friends().value(0)->username(), u"frank");
    ASSERT_EQ(user->outgoing_friends().size(), 1);
    EXPECT_EQ(user->outgoing_friends().value(0)->username(), u"grace");
    EXPECT_EQ(user->buddylist_totalpages(), 1);
    EXPECT_FALSE(user->hasMoreFriendsPage());
    const QString token = user->apiaccesstoken();
    const QString secret = user->secret();
    const QString clientId = user->apiclientid();

    user->logout();

    EXPECT_EQ(treeDrops, 2);
    EXPECT_EQ(noticeClears, 2);
    EXPECT_TRUE(user->apiaccesstoken().isNull());
    EXPECT_EQ(user->secret(), secret);
    EXPECT_EQ(user->apiclientid(), clientId);
    EXPECT_EQ(user->userid(), 0);
    EXPECT_TRUE(user->anonymous());
    EXPECT_TRUE(user->avatarurl().isNull());
    EXPECT_TRUE(user->friends().isEmpty() && user->contacts().isEmpty() && user->incoming_friends().isEmpty()
                && user->outgoing_friends().isEmpty());
    EXPECT_EQ(user->buddylist_totalpages(), 0);
    EXPECT_EQ(user->existingProfile(), nullptr);
    const ValueDict stored = storedUser();
    EXPECT_FALSE(stored.contains(QStringLiteral("apiaccesstoken")));
    EXPECT_EQ(stored.value(QStringLiteral("secret")).string(), secret);

    ASSERT_TRUE(settle());
    const TestForumRequest logout = lastRequest(QStringLiteral("login_logout"));
    EXPECT_EQ(logout.httpMethod, QStringLiteral("GET"));
    EXPECT_EQ(logout.token, token);
    EXPECT_EQ(forum().memberIdForToken(token), 0);
    // The answer's session (user id 0) leaves the guest a guest.
    EXPECT_EQ(user->userid(), 0);
    EXPECT_EQ(treeDrops, 2);
}

TEST_F(SessionTest, AnApiInitIsNeverSentTwiceAtOnce)
{
    forum().delayMethod(QStringLiteral("api_init"), 200);
    const CurrentUserPtr user = CurrentUser::skipLogin();
    CurrentUser::skipLogin();
    user->initializeAPI(true);
    ASSERT_NE(user->session_hash_request(), nullptr);
    ASSERT_TRUE(settle());
    EXPECT_EQ(forum().requests(QStringLiteral("api_init")).size(), 1);
    EXPECT_FALSE(user->apiaccesstoken().isEmpty());
    EXPECT_EQ(user->session_hash_request(), nullptr);

    // An open session sends nothing more.
    user->initializeAPI();
    EXPECT_EQ(user->session_hash_request(), nullptr);
}

TEST_F(SessionTest, ApiInitFailuresLeaveTheForumSettingsAlone)
{
    const CurrentUserPtr user = CurrentUser::currentUser();
    RecordingObserver observer;
    user->addObserver(&observer);
    Config::getInstance().setBbtitle(QStringLiteral("Before"));

    // A known code as a plain text.
    forum().answerError(QStringLiteral("api_init"), QStringLiteral("api_disabled"));
    CurrentUser::skipLogin();
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("api_disabled"))});

    // An error status, whatever its body says.
    forum().answerHttpStatus(QStringLiteral("api_init"), 500,
                           R"({"apiaccesstoken":"t","secret":"s","apiclientid":5,"bbtitle":"Evil"})");
    CurrentUser::skipLogin();
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures.value(1), tableText(QStringLiteral("unexpected_server_response")));

    // A known code in a list also signs out (nothing to send without a session).
    forum().answerError(QStringLiteral("api_init"), QJsonArray{QStringLiteral("api_version_too_low")});
    CurrentUser::skipLogin();
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures.value(2), tableText(QStringLiteral("api_version_too_low")));

    EXPECT_EQ(observer.failures.size(), 3);
    EXPECT_EQ(observer.changes, 0);
    EXPECT_TRUE(user->apiaccesstoken().isNull());
    EXPECT_TRUE(user->secret().isNull());
    EXPECT_EQ(Config::getInstance().bbtitle(), QStringLiteral("Before"));
    EXPECT_EQ(forum().requests(QStringLiteral("api_init")).size(), 3);
    EXPECT_TRUE(forum().requests(QStringLiteral("login_logout")).isEmpty());
    EXPECT_EQ(user->session_hash_request(), nullptr);
    user->removeObserver(&observer);
}

TEST_F(SessionTest, ANumberClientIdIsTakenAsItsText)
{
    forum().setAnswer(QStringLiteral("api_init"),
                      QJsonObject{{QStringLiteral("apiaccesstoken"), QStringLiteral("tok")},
                                  {QStringLiteral("secret"), QStringLiteral("sec")},
                                  {QStringLiteral("apiclientid"), 12}},
                      1);
    const CurrentUserPtr user = openGuestSession();
    EXPECT_EQ(user->apiclientid(), QStringLiteral("12"));
    EXPECT_EQ(user->apiaccesstoken(), QStringLiteral("tok"));
}

TEST_F(SessionTest, SkippingAfterAFailedSignInDoesNotSignIn)
{
    const CurrentUserPtr user = CurrentUser::currentUser();
    RecordingObserver observer;
    user->addObserver(&observer);
    forum().answerHttpStatus(QStringLiteral("api_init"), 503);
    CurrentUser::login(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("unexpected_server_response"))});
    EXPECT_EQ(user->whenInitializedCall(), nullptr);

    // The login screen turns the user back into a guest, who skips.
    user->setAnonymous(true);
    CurrentUser::skipLogin();
    ASSERT_TRUE(waitFor([&] { return !user->apiaccesstoken().isEmpty(); }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(apiLog(), (QStringList{QStringLiteral("api_init"), QStringLiteral("api_init")}));
    EXPECT_EQ(user->userid(), 0);
    user->removeObserver(&observer);
}

TEST_F(SessionTest, AStaleSessionHashSignsOutOnceAndOpensAGuestSession)
{
    const CurrentUserPtr user = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    forum().clearLog();
    forum().delayMethod(QStringLiteral("api_init"), 300);
    EXPECT_FALSE(tableText(QStringLiteral("invalid_sessionhash")).isNull());
    EXPECT_EQ(user->userid(), 0);
    EXPECT_TRUE(user->anonymous());
    // While the guest session is being opened, another stale hash starts nothing.
    tableText(QStringLiteral("invalid_sessionhash"));
    ASSERT_TRUE(settle());
    // The two go out together, on two lines: either may reach the forum first.
    QStringList asked = apiLog();
    asked.sort();
    EXPECT_EQ(asked, (QStringList{QStringLiteral("api_init"), QStringLiteral("login_logout")}));
    EXPECT_FALSE(user->apiaccesstoken().isEmpty());

    // Once that is over, a new stale hash signs out again.
    tableText(QStringLiteral("invalid_sessionhash"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(apiLog().size(), 4);
    EXPECT_EQ(forum().requests(QStringLiteral("login_logout")).size(), 2);
}

TEST_F(SessionTest, TheRegistrationPictureStaysInTheDocumentsFolder)
{
    const QString folder = Paths::documentsDir() + u'/';
    EXPECT_EQ(CurrentUser::registrationPicturePath(QStringLiteral("carol")),
              folder + QStringLiteral("registration.carol.jpg"));
    EXPECT_EQ(CurrentUser::registrationPicturePath(QStringLiteral("../../etc/x")),
              folder + QStringLiteral("registration._._.._etc_x.jpg"));
    EXPECT_EQ(CurrentUser::registrationPicturePath(QStringLiteral("a\\b")), folder + QStringLiteral("registration.a_b.jpg"));
}
