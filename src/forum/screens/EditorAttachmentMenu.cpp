#include "forum/screens/EditorAttachmentMenu.h"

#include "platform/ui/Button.h"
#include "platform/ui/ResourceImages.h"

EditorAttachmentMenu::EditorAttachmentMenu(const QRectF& frame) : View(frame)
{
    setObjectName(QStringLiteral("attachmentMenu"));
    setBackgroundColor(QColor(0x1E, 0x2A, 0x3B, 230));
    m_image = new Button(QRectF(4, 2, 44, 36));
    m_image->setObjectName(QStringLiteral("addImage"));
    m_image->setImage(ResourceImages::named(QStringLiteral("editor_picture.png")));
    addSubview(m_image);
    m_video = new Button(QRectF(48, 2, 44, 36));
    m_video->setObjectName(QStringLiteral("addVideo"));
    m_video->setImage(ResourceImages::named(QStringLiteral("editor_video.png")));
    addSubview(m_video);
}
