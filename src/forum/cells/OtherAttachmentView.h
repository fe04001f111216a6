#pragma once

#include "forum/cells/AttachmentLinesView.h"

// Attached files that are no pictures.
class OtherAttachmentView : public AttachmentLinesView {
    Q_OBJECT
public:
    OtherAttachmentView();
};
