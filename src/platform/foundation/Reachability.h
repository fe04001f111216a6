#pragma once

#include <optional>

// What the system knows of the route to the internet.
class Reachability {
public:
    // Whether the default route is a cellular one; false when the system
    // cannot tell; unknown until `ask` has been called.
    static std::optional<bool> isCellular();
    // Asks the system's network service (once). Loading its backend takes a
    // plugin and a wait for the system bus, so the window asks only once its
    // first frame is drawn.
    static void ask();
};
