#pragma once

#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"
#include "platform/foundation/Value.h"

class SocialRequest;

// Receives the outcome of a social-network REST call.
class SocialRequestDelegate : public virtual Trackable {
public:
    // The decoded result of the call.
    virtual void didLoad(SocialRequest* request, const Value& result) = 0;
    // The call could not be made or gave no result.
    virtual void didFailWithError(SocialRequest* request, const Error& error) = 0;
};
