#pragma once

#include "platform/ui/ViewController.h"

#include <functional>

class NavigationController;

// The application's one screen stack: where section screens push, and the
// replacing of the whole stack (after sign-in and sign-out, and from the
// menu). One per application context (its part by this type, which the
// wiring sets). The application delegate takes the replacing over with its
// own setController: once it runs; until then the window's root is replaced
// here.
class RootNavigation {
public:
    using Handler = std::function<void(const ViewControllerPtr& screen)>;

    // Replaces the whole stack by a new navigation controller whose root is
    // the screen. Safe from inside a handler of the old stack.
    void setController(const ViewControllerPtr& screen);
    // The root navigation controller on screen, or null.
    static NavigationController* controller();
    // The delegate's own replacing; an empty handler restores the window's.
    void setHandler(Handler handler);

private:
    Handler m_handler;
};
