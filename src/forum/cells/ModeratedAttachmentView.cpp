#include "forum/cells/ModeratedAttachmentView.h"

ModeratedAttachmentView::ModeratedAttachmentView() : AttachmentLinesView(QStringLiteral("attachments_moderated"), QStringLiteral("(%@KB)")) {}
