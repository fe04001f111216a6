#pragma once

#include <functional>

// What the session tells the rest of the application. The application's
// context owns one and hands it to its user; whoever listens is connected
// when the context is built (the forum tree by the wiring, the login screen
// by the application's delegate). An event nobody listens to does nothing.
class SessionEvents {
public:
    // Another member, or none: the forum tree read for the last one goes.
    std::function<void()> dropForumTree;
    // A sign-in or sign-out: the notices the last member dismissed count no more.
    std::function<void()> clearDismissedNotices;
    // The member's session could not be renewed: the login screen comes back.
    std::function<void()> sessionLost;
    // The forum said it is closed and the user has read so: back to the login screen.
    std::function<void()> forumClosed;
    // The session a registration waited for is open.
    std::function<void()> sessionOpenForRegistration;

    // On a copy: a listener may connect another in its place.
    static void raise(std::function<void()> event)
    {
        if (event)
            event();
    }
};
