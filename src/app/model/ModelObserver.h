#pragma once

#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"

class Model;

// The observer of a model.
class ModelObserver : public virtual Trackable {
public:
    // The model's content changed (or an answer arrived that changed nothing).
    virtual void modelHasChanged(Model* model) = 0;
    // The model's last request failed. Optional: an observer that takes
    // failures overrides it and returns true; the default reports that it is
    // not implemented, and the model then shows the error itself.
    virtual bool modelHasFailedToUpdate(Model* model, const Error& error) { return false; }
};
