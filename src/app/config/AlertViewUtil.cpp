#include "AlertViewUtil.h"

#include "platform/foundation/AlertView.h"

bool AlertViewUtil::isAlertBeingShown()
{
    return AlertView::isAnyAlertShown();
}
