#pragma once

#include "platform/foundation/Trackable.h"
#include "platform/foundation/Value.h"

#include <QString>

// Told of the prefix chosen for a new thread.
class SelectThreadPrefixDelegate : public virtual Trackable {
public:
    // The prefix's id ("optionvalue") and text ("optiontitle"). Optional: a
    // delegate that takes no prefix answers false.
    virtual bool prefixSelectedWithValue(const Value& value, const QString& title) { return false; }
};
