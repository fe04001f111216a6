#pragma once

class AppContext;

// The forum's list screens by class name: the forum index, the thread list,
// the home screen, the announcement screen; and the setters by which other
// screens give the thread list its forum, the announcement screen its
// announcement and the thread page its thread; the home screen's sort as an
// option; and the forum's models that links name by id (a forum, a thread,
// a post). main calls it once; calling it again changes nothing.
namespace ForumListScreens {
void registerClasses(AppContext& context);
}  // namespace ForumListScreens
