#pragma once

#include <memory>

class Clock;

// The application put together: what every library lends the others, and
// the process-wide parts they share. main starts the program with it, and
// the end-to-end tests start the same application with it, so the two
// cannot drift apart.
class AppWiring {
public:
    // Installs the clock (the system clock in the program, a manual one in
    // tests), a fresh API client whose page views go to the analytics
    // tracker, alerts drawn in the key window, every library's screens by
    // class name, the blog entries and articles among the feed, search and
    // home rows, the setters by which the stand-in screens take their models,
    // and the forum's home data as the menu's count of unread messages.
    static void install(std::shared_ptr<Clock> clock);
    // Lets go of what install set that holds on to the libraries' objects:
    // the setters it registered, the menu's unread source, and the API
    // client (the requests still in flight end with it).
    static void uninstall();
};
