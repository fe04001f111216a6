#include "app/widgets/PageFailedCell.h"

#include "app/widgets/GradientButton.h"
#include "app/widgets/StatusMessageView.h"

#include "platform/foundation/Localized.h"

namespace {

QString headline()
{
    return localized("page_load_failed");
}

}  // namespace

PageFailedCell::PageFailedCell()
    : TableViewCell(TableViewCellStyle::Default, QStringLiteral("PageFailedCell")),
      m_status(new StatusMessageView(QRectF(0, 0, 320, 0)))
{
    setSelectionStyle(TableViewCellSelectionStyle::None);
    contentView()->addSubview(m_status);
    m_status->retryButton()->addAction(
        [this](Control*) {
            // The retry may reload the table, and this row with it.
            if (const std::function<void()> retry = m_retry)
                retry();
        },
        ControlEvent::TouchUpInside);
}

void PageFailedCell::show(const QString& reason, std::function<void()> retry)
{
    m_retry = std::move(retry);
    m_status->show(headline(), reason, true);
}

qreal PageFailedCell::heightFor(const QString& reason, qreal width)
{
    StatusMessageView measure(QRectF(0, 0, width, 0));
    measure.show(headline(), reason, true);
    return measure.frame().height();
}

void PageFailedCell::layoutSubviews()
{
    TableViewCell::layoutSubviews();
    const QRectF content = contentView()->bounds();
    m_status->setFrame(QRectF(0, 0, content.width(), m_status->frame().height()));
}
