#pragma once

#include "services/SocialRequestDelegate.h"
#include "services/SocialSession.h"
#include "platform/foundation/ClockTimer.h"
#include "platform/foundation/Trackable.h"
#include "platform/foundation/Value.h"

#include <QString>

#include <memory>
#include <optional>

// A REST call of the social-network client. This build has no social-network
// connection: a call sends nothing and answers its delegate with a failure,
// later on the clock as a network answer would come; it is recorded so that
// its callers can be checked. A request that goes first answers nothing.
class SocialRequest : public virtual Trackable {
public:
    struct Call {
        QString method;
        ValueDict params;
    };

    // A new request bound to the session, with the delegate (neither owned).
    static std::shared_ptr<SocialRequest> requestWithSession(SocialSession* session,
                                                             SocialRequestDelegate* delegate);

    // Starts the REST call with no data parameter.
    void call(const QString& method, const ValueDict& params);
    // The failure every call ends in here.
    static Error unreachable();

    SocialSession* session() const { return m_session.get(); }
    SocialRequestDelegate* delegate() const { return m_delegate.get(); }
    // This request's call, when it was made.
    const std::optional<Call>& madeCall() const { return m_call; }

    // The last call made by any request in this process.
    static std::optional<Call> lastCall();

private:
    WeakRef<SocialSession> m_session;
    WeakRef<SocialRequestDelegate> m_delegate;
    std::optional<Call> m_call;
    ClockTimer m_answer;
};
