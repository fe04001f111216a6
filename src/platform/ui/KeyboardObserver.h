#pragma once

#include "platform/foundation/Trackable.h"

#include <QRectF>

// What the keyboard notices carry: the keyboard's frame in window points
// before and after, and the time its slide takes. The desktop's keyboard
// takes no room: both frames are empty, at the foot of the window.
struct KeyboardInfo {
    QRectF frameBegin;
    QRectF frameEnd;
    double animationDuration = 0.3;
};

// Told when the keyboard comes and goes (editing begins and ends); every
// operation optional. Room is made for the keyboard by its frame only.
class KeyboardObserver : public virtual Trackable {
public:
    virtual void keyboardWillShow(const KeyboardInfo& info) {}
    virtual void keyboardDidShow(const KeyboardInfo& info) {}
    virtual void keyboardWillHide(const KeyboardInfo& info) {}
    virtual void keyboardDidHide(const KeyboardInfo& info) {}
};
