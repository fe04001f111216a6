#pragma once

#include "platform/ui/KeyboardObserver.h"

// The phone's keyboard, as far as screens can see it: when a text input takes
// the focus the keyboard "will show" with a frame 216 points high at the
// bottom of the window; when the focus leaves text input it "will hide".
// (The desktop's own keyboard types; nothing is drawn.)
class Keyboard {
public:
    static constexpr qreal kHeight = 216;

    static void addObserver(KeyboardObserver* observer);
    static void removeObserver(KeyboardObserver* observer);
    static bool isShown();
    // The keyboard's frame in window points while shown.
    static QRectF frame();
    // Starts following the focus (the window and text inputs call it).
    static void ensureInstalled();
    // Tells the observers, as a focus change does.
    static void setShown(bool shown);
};
