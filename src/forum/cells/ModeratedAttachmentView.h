#pragma once

#include "forum/cells/AttachmentLinesView.h"

// Attachments that wait for a moderator's approval.
class ModeratedAttachmentView : public AttachmentLinesView {
    Q_OBJECT
public:
    ModeratedAttachmentView();
};
