#include "forum/cells/OtherAttachmentView.h"

OtherAttachmentView::OtherAttachmentView() : AttachmentLinesView(QStringLiteral("attachments_files"), QStringLiteral("(%@KB)")) {}
