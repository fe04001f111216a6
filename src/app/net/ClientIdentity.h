#pragma once

#include "platform/foundation/Value.h"

// How this client introduces itself to the forum: the form fields of the
// session opening ("api_init") and of the forum-closed probe.
class ClientIdentity {
public:
    // "clientname", "clientversion", "platformname", "platformversion" and a
    // new "uniqueid" on every call, in this order.
    static ValueDict parameters();
};
