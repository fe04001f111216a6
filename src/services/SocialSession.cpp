#include "services/SocialSession.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/UserDefaults.h"

namespace {
const QString kUserIdKey = QStringLiteral("SocialUserId");
const QString kExpiresKey = QStringLiteral("SocialSessionExpires");
const QString kSessionKeyKey = QStringLiteral("SocialSessionKey");
const QString kSessionSecretKey = QStringLiteral("SocialSessionSecret");

WeakRef<SocialSession>& sharedSession()
{
    static WeakRef<SocialSession> session;
    return session;
}
}  // namespace

SocialSession::SocialSession(const QString& apiKey, const QString& apiSecret)
    : m_apiKey(apiKey), m_apiSecret(apiSecret)
{
}

SocialSession* SocialSession::session()
{
    return sharedSession().get();
}

std::shared_ptr<SocialSession> SocialSession::sessionForApplication(const QString& key, const QString& secret,
                                                                    SocialSessionDelegate* delegate)
{
    auto session = std::make_shared<SocialSession>(key, secret);
    session->addDelegate(delegate);
    if (!sharedSession())
        sharedSession() = WeakRef<SocialSession>(session.get());
    return session;
}

bool SocialSession::resume()
{
    UserDefaults& defaults = UserDefaults::standard();
    const quint64 uid = defaults.objectForKey(kUserIdKey).toULongLong();
    if (uid == 0)
        return false;
    // No stored expiry means a login that does not expire; a stored value that
    // is not a date cannot be trusted and counts as expired.
    const Value expires = defaults.objectForKey(kExpiresKey);
    QDateTime expirationDate;
    if (!expires.isNothing()) {
        expirationDate = expires.date();
        if (!expires.isDate() || !expirationDate.isValid() || expirationDate <= Clock::current().now())
            return false;
    }

    m_uid = uid;
    m_sessionKey = defaults.objectForKey(kSessionKeyKey).toString();
    m_sessionSecret = defaults.objectForKey(kSessionSecretKey).toString();
    m_expirationDate = expirationDate;
    m_delegates.forEach([this, uid](SocialSessionDelegate* delegate) { delegate->didLogin(this, uid); });
    return true;
}

void SocialSession::logout()
{
    m_uid = 0;
    m_sessionKey.clear();
    m_sessionSecret.clear();
    m_expirationDate = QDateTime();
    UserDefaults& defaults = UserDefaults::standard();
    for (const QString& key : {kUserIdKey, kExpiresKey, kSessionKeyKey, kSessionSecretKey})
        defaults.removeObjectForKey(key);
    m_delegates.forEach([this](SocialSessionDelegate* delegate) { delegate->sessionDidLogout(this); });
}
