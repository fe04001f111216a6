#pragma once

#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"

class NewTopSearch;

// Hears of the new and top feed.
class NewTopSearchDelegate : public virtual Trackable {
public:
    ~NewTopSearchDelegate() override = default;

    // Page "1" holds the rows of the chosen order and type.
    virtual void newTopHasResults(NewTopSearch* search) = 0;
    // Optional: the feed could not be loaded; false when the delegate does
    // not take failures.
    virtual bool newTopHasResults(NewTopSearch* search, const Error& error) { return false; }
};
