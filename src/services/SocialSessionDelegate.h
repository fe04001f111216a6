#pragma once

#include "platform/foundation/Trackable.h"

#include <QtGlobal>

class SocialSession;

// Told about the sign-in state of a social-network session.
class SocialSessionDelegate : public virtual Trackable {
public:
    // The session holds a valid login of the user with this id.
    virtual void didLogin(SocialSession* session, quint64 uid) = 0;
    // The login ended. Optional.
    virtual void sessionDidLogout(SocialSession* session) {}
};
