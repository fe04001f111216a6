#pragma once

class AppContext;

// The screens of the application foundation, by class name.
class AppScreens {
public:
    // Registers "LoginController", "RegistrationController" and
    // "WelcomeController" (main calls it once; a later registration of a
    // name replaces it). The home screen, "HomeController", is the forum
    // library's.
    static void registerClasses(AppContext& context);
};
