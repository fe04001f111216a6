#pragma once

#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"

class ModelCollection;

// The observer of a model collection.
class ModelCollectionObserver : public virtual Trackable {
public:
    // The collection's models changed (also told at once on registering).
    virtual void modelCollectionHasChanged(ModelCollection* collection) = 0;
    // The collection failed to update. Optional: an observer that takes
    // failures overrides it and returns true.
    virtual bool modelCollectionHasFailedToUpdate(ModelCollection* collection, const Error& error) { return false; }
};
