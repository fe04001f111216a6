#include "PlatformTest.h"

#include "platform/foundation/Clock.h"

#include "services/SocialSession.h"
#include "platform/foundation/UserDefaults.h"

#include <QDateTime>

using SocialSessionTest = PlatformTest;

namespace {

class RecordingDelegate : public SocialSessionDelegate {
public:
    QList<quint64> logins;
    int logouts = 0;

    void didLogin(SocialSession*, quint64 uid) override { logins.append(uid); }
    void sessionDidLogout(SocialSession*) override { ++logouts; }
};

void storeLogin(const Value& uid, const Value& expires)
{
    UserDefaults& defaults = UserDefaults::standard();
    defaults.setObject(QStringLiteral("SocialUserId"), uid);
    defaults.setObject(QStringLiteral("SocialSessionExpires"), expires);
    defaults.setObject(QStringLiteral("SocialSessionKey"), Value(QStringLiteral("key-1")));
    defaults.setObject(QStringLiteral("SocialSessionSecret"), Value(QStringLiteral("secret-1")));
}

TEST_F(SocialSessionTest, FirstLiveSessionIsShared)
{
    EXPECT_EQ(SocialSession::session(), nullptr);
    RecordingDelegate delegate;
    {
        auto first = SocialSession::sessionForApplication(QStringLiteral("app"), QStringLiteral("s"), &delegate);
        auto second = SocialSession::sessionForApplication(QStringLiteral("app"), QStringLiteral("s"), nullptr);
        EXPECT_EQ(SocialSession::session(), first.get());
        EXPECT_TRUE(first->delegates().contains(&delegate));
        EXPECT_TRUE(second->delegates().isEmpty());
    }
    EXPECT_EQ(SocialSession::session(), nullptr);
}

TEST_F(SocialSessionTest, ResumeWithoutStoredLoginChangesNothing)
{
    RecordingDelegate delegate;
    auto session = SocialSession::sessionForApplication(QStringLiteral("app"), QStringLiteral("s"), &delegate);
    EXPECT_FALSE(session->resume());

    storeLogin(Value(42), Value(Clock::current().now().addSecs(-60)));
    EXPECT_FALSE(session->resume());
    storeLogin(Value(QStringLiteral("42")), Value(QStringLiteral("tomorrow")));
    EXPECT_FALSE(session->resume());
    storeLogin(Value(0), Value());
    EXPECT_FALSE(session->resume());

    EXPECT_TRUE(delegate.logins.isEmpty());
    EXPECT_FALSE(session->isConnected());
    EXPECT_TRUE(session->sessionKey().isNull());
}

TEST_F(SocialSessionTest, ResumeRestoresStoredLogin)
{
    RecordingDelegate delegate;
    auto session = SocialSession::sessionForApplication(QStringLiteral("app"), QStringLiteral("s"), &delegate);
    const QDateTime expires = Clock::current().now().addDays(1);
    storeLogin(Value(quint64(5000000000ULL)), Value(expires));

    EXPECT_TRUE(session->resume());
    EXPECT_EQ(delegate.logins, QList<quint64>{5000000000ULL});
    EXPECT_EQ(session->uid(), 5000000000ULL);
    EXPECT_EQ(session->sessionKey(), QStringLiteral("key-1"));
    EXPECT_EQ(session->sessionSecret(), QStringLiteral("secret-1"));

    // A login stored without an expiry does not expire.
    storeLogin(Value(QStringLiteral("77")), Value());
    EXPECT_TRUE(session->resume());
    EXPECT_EQ(delegate.logins.last(), 77u);

    session->logout();
    EXPECT_EQ(delegate.logouts, 1);
    EXPECT_TRUE(UserDefaults::standard().objectForKey(QStringLiteral("SocialUserId")).isAbsent());
    EXPECT_FALSE(session->resume());
}

}  // namespace
