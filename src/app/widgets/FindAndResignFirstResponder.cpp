#include "app/widgets/FindAndResignFirstResponder.h"

#include "platform/ui/View.h"

bool findAndResignFirstResponder(View* view)
{
    if (!view)
        return false;
    if (view->isFirstResponder()) {
        view->resignFirstResponder();
        return true;
    }
    for (View* subview : view->subviews()) {
        if (findAndResignFirstResponder(subview))
            return true;
    }
    return false;
}
