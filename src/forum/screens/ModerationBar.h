#pragma once

#include "platform/ui/TabBarItem.h"

class AppContext;
class SelectForumDelegate;
class TabBarHidding;
class ViewController;

// What the two moderation screens do alike around their bar of actions: the
// items, reading which one was pressed, asking for a choice first, and
// opening the forum picker for a move or a copy.
class ModerationBar {
public:
    // An item titled by its key, with its picture, at its place in the bar.
    static TabBarItemPtr item(const char* titleKey, const char* picture, int index);
    // The place of the pressed item among the bar's first items, the bar
    // left with nothing selected; -1 without a bar.
    static int takePressed(TabBarHidding* bar, const TabBarItemPtr& item);
    // An action pressed while nothing is chosen: the message alone, with OK.
    static void askForChoice(const char* messageKey);
    // Pushes the forum picker over the screen, answering the delegate.
    static void pickForum(AppContext& context, ViewController* screen, SelectForumDelegate* delegate);
};
