#pragma once

#include "platform/foundation/Trackable.h"

class ScrollView;

// Told of a scroll view's scrolling and dragging; every operation is optional.
class ScrollViewDelegate : public virtual Trackable {
public:
    virtual void scrollViewDidScroll(ScrollView* scrollView) {}
    virtual void scrollViewWillBeginDragging(ScrollView* scrollView) {}
    // `willDecelerate`: the content goes on moving (it springs back inside its
    // edges or coasts) after the finger has left.
    virtual void scrollViewDidEndDragging(ScrollView* scrollView, bool willDecelerate) {}
    virtual void scrollViewDidEndDecelerating(ScrollView* scrollView) {}
    virtual void scrollViewDidEndScrollingAnimation(ScrollView* scrollView) {}
};
