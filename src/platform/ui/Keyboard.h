#pragma once

#include "platform/ui/KeyboardObserver.h"

class View;

// The keyboard, as far as screens can see it. Here it is the desktop's
// hardware keyboard: when a text input takes the focus the keyboard "will
// show" and when the focus leaves text input it "will hide", as on the phone,
// but it takes no room: its frame is empty, at the foot of the window, so no
// screen moves a field from under the pointer. Tab and Shift+Tab move
// between the text inputs and the controls of a screen; Return is the return
// key.
class Keyboard {
public:
    // What a move of the focus stops at: Tab stops at buttons and segmented
    // controls too, a return key that goes on to the next field only at
    // text inputs.
    enum class Stops { InputsAndControls, TextInputs };

    // The room the keyboard takes at the foot of the window.
    static constexpr qreal kHeight = 0;

    static void addObserver(KeyboardObserver* observer);
    static void removeObserver(KeyboardObserver* observer);
    static bool isShown();
    // The keyboard's frame in window points while shown.
    static QRectF frame();
    // Starts following the focus (the window and text inputs call it).
    static void ensureInstalled();
    // Tells the observers, as a focus change does.
    static void setShown(bool shown);
    // Tab (forward) or Shift+Tab from the view that has the focus (or from
    // the window, when nothing has it: then from the screen on top): the
    // next stop of the same screen, in reading order and round, begins
    // editing or takes the focus. False when there is no other.
    static bool moveFocus(View* from, bool forward, Stops stops = Stops::InputsAndControls);
    // Gives the view the focus as Tab does: a text input begins editing, a
    // control takes the focus and shows its mark. False when it declines.
    static bool giveFocus(View* view);
    // A mouse press: a control the keyboard reached lets the focus go, so
    // that no focus mark stays where the mouse is used.
    static void pointerPressed();
};
