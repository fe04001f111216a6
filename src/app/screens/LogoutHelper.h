#pragma once

class AlertView;
class AlertViewDelegate;
class AppContext;

// The sign-out that an in-app "login" or "register" link asks for while a
// member is signed in: a confirmation, then the login screen as the new
// root, with the registration screen above it for "register". Class-side
// only: the one flag says which of the two the confirmation was shown for.
class LogoutHelper {
public:
    LogoutHelper() = delete;

    static void setGoToRegister(bool goToRegister);
    static bool goToRegister();
    // The confirmation: no title, "home_logout_confirmation", the buttons
    // "cancel" (0) and "ok" (1), answered to clickedButtonAtIndex.
    static void showConfirmation(AppContext& context);
    // "ok" signs the context's member out and makes a new login screen the root (and
    // opens the registration from it when the flag is set); "cancel" does nothing.
    static void clickedButtonAtIndex(AppContext& context, AlertView* alertView, int buttonIndex);
    // The login screen as the root, then the registration when asked for:
    // what the links do when no member is signed in.
    static void showLogin(AppContext& context, bool registration);
    // The confirmation's delegate, which hands the answer to clickedButtonAtIndex.
    static AlertViewDelegate* delegate();
};
