#include "forum/cells/AttachmentLinesView.h"

#include "forum/cells/AttachmentLineItem.h"

#include "app/config/Customizer.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Localized.h"

namespace {
constexpr qreal kSideInset = 6.0;
}  // namespace

AttachmentLinesView::AttachmentLinesView(const QString& heading, const QString& sizeFormat)
    : View(QRectF(0, 0, kWidth, kHeadingHeight + kEdge)), m_sizeFormat(sizeFormat)
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    m_bg = new View(QRectF(0, 0, kWidth - kEdge, kHeadingHeight));
    m_bg->setBackgroundColor(QColor(0xF2, 0xF4, 0xF7));
    addSubview(m_bg);
    m_heading = new Label(QRectF(kSideInset, 2, kWidth - kEdge - 2 * kSideInset, 16));
    m_heading->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 11));
    m_heading->setTextColor(Customizer::getInstance().colorForKey(kColorTextPrimary));
    m_heading->setBackgroundColor(Qt::transparent);
    m_heading->setOpaque(false);
    m_heading->setText(localized(heading));
    m_bg->addSubview(m_heading);
    m_contentView = new View(QRectF(kSideInset, kHeadingHeight, kWidth - kEdge - 2 * kSideInset, 0));
    m_contentView->setBackgroundColor(Qt::transparent);
    m_contentView->setOpaque(false);
    m_bg->addSubview(m_contentView);
}

qreal AttachmentLinesView::heightForAttachments(const AttachmentList& attachments)
{
    return attachments.isEmpty() ? 0.0 : kHeadingHeight + AttachmentLineItem::kHeight * attachments.size() + kEdge;
}

QList<AttachmentLineItem*> AttachmentLinesView::items() const
{
    QList<AttachmentLineItem*> found;
    for (View* view : m_contentView->subviews()) {
        if (auto* item = qobject_cast<AttachmentLineItem*>(view))
            found.append(item);
    }
    return found;
}

void AttachmentLinesView::setAttachments(const AttachmentList& attachments)
{
    for (View* old : m_contentView->subviews())
        old->removeFromSuperview();
    if (attachments.isEmpty())
        return;
    qreal y = 0;
    for (const AttachmentPtr& attachment : attachments) {
        auto* item = new AttachmentLineItem(m_sizeFormat, m_contentView->frame().width());
        item->setAttachment(attachment);
        const QRectF f = item->frame();
        item->setFrame(QRectF(f.x(), y, f.width(), f.height()));
        m_contentView->addSubview(item);
        y += AttachmentLineItem::kHeight;
    }
    const QRectF content = m_contentView->frame();
    m_contentView->setFrame(QRectF(content.x(), content.y(), content.width(), y));
    const QRectF back = m_bg->frame();
    m_bg->setFrame(QRectF(back.x(), back.y(), back.width(), content.y() + y));
    const QRectF own = frame();
    setFrame(QRectF(own.x(), own.y(), m_bg->frame().width() + kEdge, m_bg->frame().height() + kEdge));
}
