#pragma once

#include "platform/foundation/Trackable.h"

// Hears of dispatches of the page views; nothing here implements it.
class AnalyticsTrackerDelegate : public virtual Trackable {
public:
    ~AnalyticsTrackerDelegate() override = default;
};
