#include "forum/cells/ImageAttachmentLinkView.h"

ImageAttachmentLinkView::ImageAttachmentLinkView() : AttachmentLinesView(QStringLiteral("attachments_picture_links"), QStringLiteral("(%@)")) {}
