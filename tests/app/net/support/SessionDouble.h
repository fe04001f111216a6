#pragma once

#include "app/net/SessionCredentials.h"
#include "app/net/SessionRenewal.h"

#include <QString>

class TestForum;

// A session for the request tests: it holds the three credentials and
// registers itself as the current session and renewer. A renewal is either
// held until the test ends it (succeed / fail), or run against a forum: the
// token is dropped, a real "api_init" goes out with tag 1, and its answer's
// token, secret and client id are adopted.
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

    // Renewals are sent to the forum at once instead of being held.
    void renewWith(TestForum* forum) { m_forum = forum; }
    // Holds the forum renewal until continueRenewal().
    void setHoldRenewal(bool hold) { m_hold = hold; }
    void continueRenewal();

    // Ends the held renewal; success takes the new token first.
    void succeed(const QString& newToken);
    void fail();

    int renewals() const { return m_renewals; }
    bool isRenewing() const { return static_cast<bool>(m_object); }
    const HTTPRequestPtr& renewalObject() const { return m_object; }

    // The "api_init" answer (tag 1).
    void initAnswered(const HTTPRequestPtr& request);

private:
    void sendInit();
    void report(bool success);

    QString m_token;
    QString m_clientId;
    QString m_secret;
    TestForum* m_forum = nullptr;
    bool m_hold = false;
    int m_renewals = 0;
    Selector m_success;
    Selector m_fail;
    HTTPRequestPtr m_object;
};
