#pragma once

#include "services/SocialSessionDelegate.h"
#include "platform/foundation/Trackable.h"

#include <QDateTime>
#include <QString>

#include <memory>

// The social-network session, as far as this application uses it: made for an
// application key, it restores a login stored in the user defaults and tells
// its delegates. There is no login dialog in this build, so a login only
// exists when something stored one.
class SocialSession : public virtual Trackable, public std::enable_shared_from_this<SocialSession> {
public:
    SocialSession(const QString& apiKey, const QString& apiSecret);

    // The shared session: the first one made that is still alive, or null.
    static SocialSession* session();
    // A new session for the application, with the delegate added (not owned).
    // The caller keeps it; it becomes the shared session when there is none.
    static std::shared_ptr<SocialSession> sessionForApplication(const QString& key, const QString& secret,
                                                                SocialSessionDelegate* delegate);

    // Restores the stored login: false and no change when no user id is stored
    // or its expiry has passed; else takes the stored values, tells each
    // delegate didLogin and returns true.
    bool resume();
    // Forgets the login (here and in the store) and tells the delegates.
    void logout();

    void addDelegate(SocialSessionDelegate* delegate) { m_delegates.add(delegate); }
    void removeDelegate(SocialSessionDelegate* delegate) { m_delegates.remove(delegate); }
    const NonRetainingSet<SocialSessionDelegate>& delegates() const { return m_delegates; }

    QString apiKey() const { return m_apiKey; }
    QString apiSecret() const { return m_apiSecret; }
    quint64 uid() const { return m_uid; }
    QString sessionKey() const { return m_sessionKey; }
    QString sessionSecret() const { return m_sessionSecret; }
    QDateTime expirationDate() const { return m_expirationDate; }
    bool isConnected() const { return m_uid != 0; }

private:
    QString m_apiKey;
    QString m_apiSecret;
    NonRetainingSet<SocialSessionDelegate> m_delegates;
    quint64 m_uid = 0;
    QString m_sessionKey;
    QString m_sessionSecret;
    QDateTime m_expirationDate;
};
