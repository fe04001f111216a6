#pragma once

#include "platform/foundation/Trackable.h"

class InsertTextController;

// Told of the line typed in the one-line prompt (read from its text()).
class InsertTextDelegate : public virtual Trackable {
public:
    virtual void textWasInserted(InsertTextController* controller) = 0;
};
