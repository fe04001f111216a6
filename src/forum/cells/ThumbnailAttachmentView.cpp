#include "forum/cells/ThumbnailAttachmentView.h"

#include "forum/cells/ThumbnailAttachmentViewItem.h"

namespace {
constexpr qreal kSideInset = 6.0;
constexpr qreal kTopInset = 8.0;
}  // namespace

ThumbnailAttachmentView::ThumbnailAttachmentView() : View(QRectF(0, 0, kWidth, kTopInset + kRowGap + kRowHeight + kEdge))
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    m_bg = new View(QRectF(0, 0, kWidth - kEdge, kTopInset + kRowGap + kRowHeight));
    m_bg->setBackgroundColor(QColor(0xF2, 0xF4, 0xF7));
    addSubview(m_bg);
    m_contentView = new View(QRectF(kSideInset, kTopInset, kWidth - kEdge - 2 * kSideInset, 0));
    m_contentView->setBackgroundColor(Qt::transparent);
    m_contentView->setOpaque(false);
    m_bg->addSubview(m_contentView);
}

qreal ThumbnailAttachmentView::heightForAttachments(const AttachmentList& attachments)
{
    if (attachments.isEmpty())
        return 0.0;
    const qsizetype rows = (attachments.size() + kColumns - 1) / kColumns;
    return kTopInset + (kRowGap + kRowHeight) * rows + kEdge;
}

QList<ThumbnailAttachmentViewItem*> ThumbnailAttachmentView::items() const
{
    QList<ThumbnailAttachmentViewItem*> found;
    for (View* view : m_contentView->subviews()) {
        if (auto* item = qobject_cast<ThumbnailAttachmentViewItem*>(view))
            found.append(item);
    }
    return found;
}

void ThumbnailAttachmentView::setAttachments(const AttachmentList& attachments)
{
    for (View* old : m_contentView->subviews())
        old->removeFromSuperview();
    if (attachments.isEmpty())
        return;
    // Columns by index, not by summing steps: three steps of a third never
    // add up to slightly less than the width and push a fourth picture in.
    const qreal step = frame().width() / kColumns;
    qreal y = 0;
    for (int i = 0; i < attachments.size(); ++i) {
        auto* item = new ThumbnailAttachmentViewItem();
        item->setAttachment(attachments.at(i));
        const QSizeF size = item->frame().size();
        y = (i / kColumns) * (size.height() + kRowGap);
        item->setFrame(QRectF((i % kColumns) * step, y, size.width(), size.height()));
        m_contentView->addSubview(item);
    }
    // The area reaches down to the last row's bottom: a view shows nothing
    // of its subviews outside its bounds here.
    const QRectF content = m_contentView->frame();
    m_contentView->setFrame(QRectF(content.x(), content.y(), content.width(), y + kRowHeight));
    const QRectF back = m_bg->frame();
    m_bg->setFrame(QRectF(back.x(), back.y(), back.width(), content.y() + y + kRowGap + kRowHeight));
    const QRectF own = frame();
    setFrame(QRectF(own.x(), own.y(), m_bg->frame().width() + kEdge, m_bg->frame().height() + kEdge));
}
