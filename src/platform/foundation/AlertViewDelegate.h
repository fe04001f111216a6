#pragma once

#include "platform/foundation/Trackable.h"

class AlertView;

// Told when the user answers an alert.
class AlertViewDelegate : public virtual Trackable {
public:
    virtual void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) {}
    virtual void didDismissWithButtonIndex(AlertView* alertView, int buttonIndex) {}
};
