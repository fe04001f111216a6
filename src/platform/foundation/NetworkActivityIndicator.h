#pragma once

#include <functional>

// The process-wide "network in use" sign. The request layer switches it; the
// window shows it through the observer, which hears every change.
class NetworkActivityIndicator {
public:
    static void setVisible(bool visible);
    static bool isVisible();
    // Called with the new state whenever it changes; an empty function removes it.
    static void setObserver(std::function<void(bool)> observer);
};
