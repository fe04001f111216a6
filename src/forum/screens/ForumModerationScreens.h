#pragma once

class AppContext;

// The moderation screens by class name: a forum's threads
// ("ThreadModerateController", given its forum) and a thread's posts
// ("PostModerateController", given its thread). main calls it once;
// calling it again changes nothing.
namespace ForumModerationScreens {
void registerClasses(AppContext& context);
// Takes them back (tests).
void unregisterClasses();
}  // namespace ForumModerationScreens
