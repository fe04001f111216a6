#pragma once

// What the system knows of the route to the internet.
class Reachability {
public:
    // Whether the default route is a cellular one; false when that cannot be told.
    static bool isCellular();
};
