#pragma once

#include "forum/model/Attachment.h"

#include "app/model/ModelObserver.h"

#include "platform/ui/View.h"

#include "platform/foundation/Observation.h"

class ImageView;

// One picture of the thumbnail grid: it observes its attachment and shows
// the picture once it has arrived. A tap opens the full picture outside the
// application.
class ThumbnailAttachmentViewItem : public View, public ModelObserver {
    Q_OBJECT
public:
    static constexpr qreal kWidth = 86.0;
    static constexpr qreal kHeight = 69.0;

    ThumbnailAttachmentViewItem();
    ~ThumbnailAttachmentViewItem() override;

    // Observes the attachment (no longer the former one) and asks for its picture.
    void setAttachment(const AttachmentPtr& attachment);
    const AttachmentPtr& attachment() const { return m_attachment; }
    ImageView* pic() const { return m_pic; }

    void modelHasChanged(Model* model) override;
    void touchesBegan(const QPointF& point) override {}
    void touchesEnded(const QPointF& point) override;

private:
    AttachmentPtr m_attachment;
    ImageView* m_pic = nullptr;
    Observation m_attachmentObservation;
};
