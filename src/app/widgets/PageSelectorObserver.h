#pragma once

#include "platform/foundation/Trackable.h"

// Told when a page selector moved to another page (it reads currPage()).
class PageSelectorObserver : public virtual Trackable {
public:
    virtual void currentPageHasChanged() = 0;
};
