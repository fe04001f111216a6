#pragma once

class AppContext;

// The search screens by class name: the general search ("SearchController"),
// the search in a forum ("SearchThreadController", given its forum) and in a
// thread ("SearchPostController", given its thread). main calls it once;
// calling it again changes nothing.
namespace ForumSearchScreens {
void registerClasses(AppContext& context);
// Takes them back (tests).
void unregisterClasses();
}  // namespace ForumSearchScreens
