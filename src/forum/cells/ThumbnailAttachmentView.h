#pragma once

#include "forum/model/Attachment.h"

#include "platform/ui/View.h"

class ThumbnailAttachmentViewItem;

// The pictures of a post as a grid of three a row: picture i stands in
// column i mod 3 and row i div 3.
class ThumbnailAttachmentView : public View {
    Q_OBJECT
public:
    static constexpr qreal kWidth = 282.0;
    static constexpr qreal kRowGap = 7.0;
    static constexpr qreal kRowHeight = 69.0;
    static constexpr int kColumns = 3;
    // The grid reaches this far beyond its background, right and below.
    static constexpr qreal kEdge = 2.0;

    ThumbnailAttachmentView();

    // The grid's height once it shows the pictures: 8 above the first row,
    // 76 a row and a 2-point edge (76 r + 10 for r rows); nothing for no
    // picture.
    static qreal heightForAttachments(const AttachmentList& attachments);

    View* contentView() const { return m_contentView; }
    View* bg() const { return m_bg; }
    QList<ThumbnailAttachmentViewItem*> items() const;

    // Rebuilds the grid; an empty list keeps the strip as it was.
    void setAttachments(const AttachmentList& attachments);

private:
    View* m_bg = nullptr;
    View* m_contentView = nullptr;
};
