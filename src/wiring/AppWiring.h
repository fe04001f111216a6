#pragma once

class AppContext;

// The application put together on its context: what every library lends
// the others, and the forum tree the session clears. main starts the program
// with it, and the end-to-end tests start the same application with it, so
// the two cannot drift apart. Everything it connects it undoes when it goes,
// before its context does. It sets every part of the context that a screen
// asks for: a part nobody set ends the program where it is asked for.
class AppWiring {
public:
    // Alerts drawn in the key window, the screen stack that sections
    // replace, every library's screens by class name, the blog entries and
    // articles among the feed, search and home rows, the setters by which
    // the stand-in screens take their models, a forum tree of the context's
    // own that its session clears when the member changes, and that tree's
    // home data as the menu's count of unread messages.
    explicit AppWiring(AppContext& context);
    ~AppWiring();
    AppWiring(const AppWiring&) = delete;
    AppWiring& operator=(const AppWiring&) = delete;

private:
    AppContext& m_context;
};
