#pragma once

#include "platform/foundation/Trackable.h"

#include <QString>

// The values of the signed-in API session that addresses and signatures are
// made from. A null text means the value is absent; an empty one is present.
// The session object implements it and registers itself as the current one.
class SessionCredentials : public virtual Trackable {
public:
    virtual QString apiaccesstoken() const = 0;
    virtual QString apiclientid() const = 0;
    virtual QString secret() const = 0;

    // A session exists when all three values are present (empty ones count).
    bool hasSession() const;

    // The current session's credentials, or null when none is registered (or it has gone).
    static SessionCredentials* current();
    // Not owned: the registration ends by itself when the object goes.
    static void setCurrent(SessionCredentials* credentials);
};
