#pragma once

#include "app/net/HTTPRequest.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/WeakRef.h"

class CurrentUser;

// The current user's side of a token renewal: a new session, then the
// member's sign-in again, reported to the API client that began it. The user
// owns it.
class SessionRenewer {
public:
    explicit SessionRenewer(CurrentUser* user);

    // A renewal asked for by the request layer; object is the request told its token is stale.
    void begin(const HTTPRequestPtr& object);
    void login();
    void succeed();
    // One alert, the waiting requests fail, the member is signed out (the
    // name kept for the login screen) and the login screen is shown.
    void fail();
    // A renewal of the access token runs (its state is the API client's).
    static bool isRenewing();
    static Error sessionEndedError();

private:
    WeakRef<CurrentUser> m_user;
};
