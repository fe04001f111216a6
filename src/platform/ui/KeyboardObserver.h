#pragma once

#include "platform/foundation/Trackable.h"

#include <QRectF>

// What the keyboard notices carry: the keyboard's frame in window points
// before and after, and the time its slide takes.
struct KeyboardInfo {
    QRectF frameBegin;
    QRectF frameEnd;
    double animationDuration = 0.3;
};

// Told when the on-screen keyboard comes and goes; every operation optional.
class KeyboardObserver : public virtual Trackable {
public:
    virtual void keyboardWillShow(const KeyboardInfo& info) {}
    virtual void keyboardDidShow(const KeyboardInfo& info) {}
    virtual void keyboardWillHide(const KeyboardInfo& info) {}
    virtual void keyboardDidHide(const KeyboardInfo& info) {}
};
