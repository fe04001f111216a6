#include "forum/cells/AttachmentLineItem.h"

#include "app/navigation/OutsideLink.h"

#include "platform/ui/Button.h"
#include "platform/ui/ControlEvents.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/TextFormat.h"

#include <QUrl>

namespace {
// A name never takes the whole line: its size stays readable beside it.
constexpr qreal kRoomForSize = 64.0;
}  // namespace

AttachmentLineItem::AttachmentLineItem(const QString& sizeFormat, qreal width)
    : View(QRectF(0, 0, width, kHeight)), m_sizeFormat(sizeFormat)
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    m_filename = new Button(QRectF(0, 1, 100, 18));
    m_filename->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 13));
    m_filename->setTitleColor(QColor(0x1F, 0x4E, 0x9C));
    m_filename->setTitleColor(QColor(0x0A, 0x2A, 0x5E), ControlState::Highlighted);
    m_filename->addTarget(this, &AttachmentLineItem::open, ControlEvent::TouchUpInside);
    addSubview(m_filename);
    m_info = new Label(QRectF(104, 1, width - 104, 18));
    m_info->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 12));
    m_info->setTextColor(QColor(0x55, 0x55, 0x55));
    m_info->setBackgroundColor(Qt::transparent);
    m_info->setOpaque(false);
    addSubview(m_info);
}

void AttachmentLineItem::setAttachment(const AttachmentPtr& attachment)
{
    m_attachment = attachment;
    m_filename->setTitle(attachment ? attachment->filename() : QString(), ControlState::Normal);
    m_filename->sizeToFit();
    QRectF name = m_filename->frame();
    name.setWidth(qMin(name.width(), frame().width() - kRoomForSize));
    name.setHeight(18);
    m_filename->setFrame(name);
    const QString size = attachment ? attachment->filesize() : QString();
    m_info->setText(size.isEmpty() ? QString() : TextFormat::fill(m_sizeFormat, {Value(size)}));
    const qreal x = name.x() + name.width() + kInfoGap;
    const QRectF info = m_info->frame();
    m_info->setFrame(QRectF(x, info.y(), frame().width() - x, info.height()));
}

void AttachmentLineItem::open()
{
    const QUrl url = m_attachment ? m_attachment->linkURL(false) : QUrl();
    if (!url.isEmpty())
        OutsideLink::open(url);
}
