#pragma once

#include "platform/foundation/Trackable.h"

// Told whenever a date field's date is set.
class FieldDateObserver : public virtual Trackable {
public:
    virtual void onDateOfBirthChange() = 0;
};
