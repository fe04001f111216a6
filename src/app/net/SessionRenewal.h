#pragma once

#include "app/net/HTTPRequest.h"
#include "app/net/Selector.h"
#include "platform/foundation/Trackable.h"

// The session's side of renewing an expired access token: it drops the
// current token, opens a new API session and signs in again with tag-1
// requests, and when done performs `success` or `fail` on `object` (the
// request that found the token invalid). It must perform one of the two in
// every outcome, or the requests waiting for the renewal never go out.
class SessionRenewal : public virtual Trackable {
public:
    virtual void renovateAccessTokenAndCallSuccessSelector(const Selector& success, const Selector& fail,
                                                           const HTTPRequestPtr& object) = 0;

    // The session that renews tokens, or null when none is registered (or it has gone).
    static SessionRenewal* current();
    // Not owned: the registration ends by itself when the object goes.
    static void setCurrent(SessionRenewal* renewal);
};
