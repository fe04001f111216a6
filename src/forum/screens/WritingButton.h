#pragma once

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>

class CurrentUser;

// The button on the right of a screen's bar that starts writing (a thread,
// a post, a reply). Only a member writes: a guest is never offered a
// composer that the forum would refuse, and every screen asks the one rule
// of the screen's user (CurrentUser::isMember).
class WritingButton {
public:
    WritingButton() = delete;

    // Shows the button when `writable` (the writing screen exists, the place
    // takes writing) and the user is a member, else takes it off the bar; a
    // button already shown stays as it is.
    template <typename Screen>
    static void update(Screen& screen, const CurrentUser& user, BarButtonSystemItem kind, bool writable,
                       void (Screen::*write)())
    {
        place(screen, user, writable,
              [&screen, kind, write] { return BarButtonItem::withSystemItem(kind, &screen, write); });
    }

private:
    static void place(ViewController& screen, const CurrentUser& user, bool writable,
                      const std::function<std::shared_ptr<BarButtonItem>()>& make);
};
