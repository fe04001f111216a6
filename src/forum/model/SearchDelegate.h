#pragma once

#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"

class Search;

// Hears of a search's results and failures.
class SearchDelegate : public virtual Trackable {
public:
    ~SearchDelegate() override = default;

    // A search id has come, or a page of results has been stored.
    virtual void searchHasResults(Search* search) = 0;
    // Optional: false when the delegate does not take failures.
    virtual bool searchHasFailed(Search* search, const Error& error) { return false; }
};
