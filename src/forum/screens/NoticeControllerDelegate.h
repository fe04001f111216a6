#pragma once

#include "platform/foundation/Trackable.h"

class NoticeController;

// Told when the member dismisses the notice a strip shows.
class NoticeControllerDelegate : public virtual Trackable {
public:
    virtual void deleteNotice(NoticeController* controller) = 0;
};
