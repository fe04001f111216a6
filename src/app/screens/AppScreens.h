#pragma once

// The screens of the application foundation, by class name.
class AppScreens {
public:
    // Registers "LoginController", "WelcomeController" and "HomeController"
    // (main calls it once; a later registration of a name replaces it).
    static void registerClasses();
};
