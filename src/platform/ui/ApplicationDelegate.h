#pragma once

#include "platform/foundation/Trackable.h"

class Application;

// Told of the application's life: launch, losing and regaining the user's
// attention, going to and coming back from the background, and the end.
// Every operation is optional.
class ApplicationDelegate : public virtual Trackable {
public:
    virtual void applicationDidFinishLaunching(Application* application) {}
    virtual void applicationWillResignActive(Application* application) {}
    virtual void applicationDidBecomeActive(Application* application) {}
    virtual void applicationDidEnterBackground(Application* application) {}
    virtual void applicationWillEnterForeground(Application* application) {}
    virtual void applicationWillTerminate(Application* application) {}
};
