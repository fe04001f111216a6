#pragma once

#include "platform/ui/ViewController.h"

#include <QString>

class AppContext;

// The in-app link router: turns an in-app link that the forum wrote into a
// page ("mu:showthread/t=5", see MuLink) into the screen to push, given what
// it shows. It needs no network: each screen loads its own data. Screens
// are made by class name, and the models of the libraries above by their
// makers, so that a link reaches every part of the application.
//
// "login" and "register" are carried out here: without a member signed in
// the login screen becomes the root (with the registration above it for
// "register"); with one, the sign-out is confirmed first (LogoutHelper).
// A guest's links that would write (a thread, a reply, a blog entry) are
// carried out here too: he is told that it needs a member.
class MuController {
public:
    MuController() = delete;

    // The screen the link opens for the context's user, or null: not an
    // in-app link, an unknown command, a required id missing or below 1, a
    // screen this build does not have, or a command carried out here.
    static ViewControllerPtr muController(AppContext& context, const QString& link);

    // Whether the link is one the router carries out itself ("login",
    // "register", a guest's writing), answering no screen.
    static bool carriesOut(const AppContext& context, const QString& link);
};
