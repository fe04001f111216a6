#pragma once

#include "forum/cells/AttachmentLinesView.h"

// Pictures given as links.
class ImageAttachmentLinkView : public AttachmentLinesView {
    Q_OBJECT
public:
    ImageAttachmentLinkView();
};
