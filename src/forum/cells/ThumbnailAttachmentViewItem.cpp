#include "forum/cells/ThumbnailAttachmentViewItem.h"

#include "app/navigation/OutsideLink.h"

#include "platform/ui/ImageView.h"

#include <QUrl>

ThumbnailAttachmentViewItem::ThumbnailAttachmentViewItem() : View(QRectF(0, 0, kWidth, kHeight))
{
    setBackgroundColor(QColor(0xE4, 0xE8, 0xEE));
    m_pic = new ImageView(QRectF(1, 1, kWidth - 2, kHeight - 2));
    m_pic->setContentMode(ContentMode::ScaleAspectFill);
    m_pic->setClipsToBounds(true);
    addSubview(m_pic);
}

ThumbnailAttachmentViewItem::~ThumbnailAttachmentViewItem() = default;

void ThumbnailAttachmentViewItem::setAttachment(const AttachmentPtr& attachment)
{
    if (m_attachment == attachment)
        return;
    m_attachment = attachment;
    m_attachmentObservation.observe(m_attachment, this);
    m_pic->setImage(QImage());
    if (!m_attachment)
        return;
    m_pic->setImage(m_attachment->pic().qimage());
    m_attachment->loadImages();
}

void ThumbnailAttachmentViewItem::modelHasChanged(Model* model)
{
    if (m_attachment && model == m_attachment.get())
        m_pic->setImage(m_attachment->pic().qimage());
}

void ThumbnailAttachmentViewItem::touchesEnded(const QPointF& point)
{
    if (!m_attachment || !bounds().contains(point))
        return;
    const QUrl url = m_attachment->linkURL(true);
    if (!url.isEmpty())
        OutsideLink::open(url);
}
