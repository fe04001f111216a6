#pragma once

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>

// The button on the right of a screen's bar that starts writing (a thread,
// a post, a reply). Only a member writes: a guest is never offered a
// composer that the forum would refuse, and every screen asks the one rule
// of the current user (CurrentUser::isMember).
class WritingButton {
public:
    WritingButton() = delete;

    // Shows the button when `writable` (the writing screen exists, the place
    // takes writing) and a member is signed in, else takes it off the bar; a
    // button already shown stays as it is.
    template <typename Screen>
    static void update(Screen& screen, BarButtonSystemItem kind, bool writable, void (Screen::*write)())
    {
        place(screen, writable, [&screen, kind, write] { return BarButtonItem::withSystemItem(kind, &screen, write); });
    }

private:
    static void place(ViewController& screen, bool writable, const std::function<std::shared_ptr<BarButtonItem>()>& make);
};
