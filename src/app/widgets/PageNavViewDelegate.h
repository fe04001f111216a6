#pragma once

#include "platform/foundation/Trackable.h"

class PageNavView;

// Told of the page the user chose in a page strip.
class PageNavViewDelegate : public virtual Trackable {
public:
    virtual void pageNavViewDidSelectPage(PageNavView* pageNavView, unsigned page) = 0;
};
