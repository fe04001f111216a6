#include "app/widgets/LoadingCell.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Localized.h"

LoadingCell::LoadingCell() : TableViewCell(TableViewCellStyle::Default)
{
    setSelectionStyle(TableViewCellSelectionStyle::None);
    m_activity = new ActivityIndicatorView(ActivityIndicatorStyle::Gray);
    m_activity->setFrame(QRectF(0, 0, 20, 20));
    contentView()->addSubview(m_activity);
    m_loadingLabel = new Label(QRectF(0, 0, 150, 20));
    m_loadingLabel->setFont(Font::boldSystemFontOfSize(14));
    m_loadingLabel->setTextColor(QColor(87, 108, 137));
    m_loadingLabel->setBackgroundColor(Qt::transparent);
    m_loadingLabel->setOpaque(false);
    contentView()->addSubview(m_loadingLabel);
}

void LoadingCell::awakeFromNib()
{
    TableViewCell::awakeFromNib();
    showLoadingSign();
}

void LoadingCell::showLoadingSign()
{
    m_loadingLabel->setText(localized("loading"));
    m_loadingLabel->setHidden(false);
    if (!m_activity->isAnimating())
        m_activity->startAnimating();
    layoutSubviews();
}

void LoadingCell::hideLoadingSign()
{
    m_loadingLabel->setHidden(true);
    if (m_activity->isAnimating())
        m_activity->stopAnimating();
}

void LoadingCell::layoutSubviews()
{
    TableViewCell::layoutSubviews();
    const QRectF b = contentView()->bounds();
    const qreal text = m_loadingLabel->sizeThatFits(QSizeF()).width();
    const qreal x = (b.width() - (20 + 8 + text)) / 2;
    m_activity->setFrame(QRectF(x, (b.height() - 20) / 2, 20, 20));
    m_loadingLabel->setFrame(QRectF(x + 28, (b.height() - 20) / 2, text + 2, 20));
}
