#pragma once

// Lets callers avoid stacking an alert on another.
class AlertViewUtil {
public:
    static bool isAlertBeingShown();
};
