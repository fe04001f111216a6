#pragma once

#include "app/net/SessionCredentials.h"
#include "app/net/SessionRenewal.h"

#include <QString>

// A session for the request tests that need no forum: it holds the three
// credentials and registers itself as the current session and renewer. A
// renewal is held until the test ends it (succeed / fail).
class SessionDouble : public SessionCredentials, public SessionRenewal {
public:
    SessionDouble();
    ~SessionDouble() override;

    QString apiaccesstoken() const override { return m_token; }
    QString apiclientid() const override { return m_clientId; }
    QString secret() const override { return m_secret; }
    void setCredentials(const QString& token, const QString& clientId, const QString& secret);

    void renovateAccessTokenAndCallSuccessSelector(const Selector& success, const Selector& fail,
                                                   const HTTPRequestPtr& object) override;

    // Ends the held renewal; success takes the new token first.
    void succeed(const QString& newToken);
    void fail();

    int renewals() const { return m_renewals; }
    bool isRenewing() const { return static_cast<bool>(m_object); }
    const HTTPRequestPtr& renewalObject() const { return m_object; }

private:
    void report(bool success);

    QString m_token;
    QString m_clientId;
    QString m_secret;
    int m_renewals = 0;
    Selector m_success;
    Selector m_fail;
    HTTPRequestPtr m_object;
};
