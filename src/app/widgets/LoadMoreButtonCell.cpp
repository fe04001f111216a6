#include "app/widgets/LoadMoreButtonCell.h"

#include "app/widgets/GradientButton.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Bundle.h"

LoadMoreButtonCell::LoadMoreButtonCell() : TableViewCell(TableViewCellStyle::Default)
{
    setSelectionStyle(TableViewCellSelectionStyle::None);
    m_loadMoreButton = new GradientButton(QRectF(10, 7, 300, 30));
    m_loadMoreButton->titleLabel()->setFont(Font::boldSystemFontOfSize(15));
    m_loadMoreButton->addTarget(this, &LoadMoreButtonCell::loadMore, ControlEvent::TouchUpInside);
    contentView()->addSubview(m_loadMoreButton);

    m_activityIndicator = new ActivityIndicatorView(ActivityIndicatorStyle::Gray);
    m_activityIndicator->setFrame(QRectF(0, 0, 20, 20));
    contentView()->addSubview(m_activityIndicator);

    m_loadingLabel = new Label(QRectF(0, 0, 150, 20));
    m_loadingLabel->setFont(Font::boldSystemFontOfSize(14));
    m_loadingLabel->setTextColor(QColor(87, 108, 137));
    m_loadingLabel->setBackgroundColor(Qt::transparent);
    m_loadingLabel->setOpaque(false);
    contentView()->addSubview(m_loadingLabel);

    m_loadMoreButton->useRedDeleteStyle();
    hideLoadingIndicator();
    showLoadMoreButton();
}

void LoadMoreButtonCell::loadMore()
{
    showLoadingIndicator();
    // Copied: the callback may reload the table and reuse this cell.
    const std::function<void()> callback = m_loadMoreSelector;
    if (callback)
        callback();
}

void LoadMoreButtonCell::showLoading(bool loading)
{
    if (loading)
        showLoadingIndicator();
    else
        showLoadMoreButton();
}

void LoadMoreButtonCell::showLoadMoreButton()
{
    m_loadMoreButton->setTitle(Bundle::main().localizedString(QStringLiteral("load_more")), ControlState::Normal);
    hideLoadingIndicator();
    m_loadMoreButton->setHidden(false);
}

void LoadMoreButtonCell::showLoadingIndicator()
{
    m_loadMoreButton->setHidden(true);
    m_loadingLabel->setText(Bundle::main().localizedString(QStringLiteral("loading")));
    m_loadingLabel->setHidden(false);
    if (!m_activityIndicator->isAnimating())
        m_activityIndicator->startAnimating();
    layoutSubviews();
}

void LoadMoreButtonCell::hideLoadingIndicator()
{
    m_loadingLabel->setHidden(true);
    if (m_activityIndicator->isAnimating())
        m_activityIndicator->stopAnimating();
}

void LoadMoreButtonCell::layoutSubviews()
{
    TableViewCell::layoutSubviews();
    const QRectF b = contentView()->bounds();
    m_loadMoreButton->setFrame(QRectF(10, (b.height() - 30) / 2, b.width() - 20, 30));
    // The sign and the line together, in the middle of the row.
    const qreal text = m_loadingLabel->sizeThatFits(QSizeF()).width();
    const qreal total = 20 + 8 + text;
    const qreal x = (b.width() - total) / 2;
    m_activityIndicator->setFrame(QRectF(x, (b.height() - 20) / 2, 20, 20));
    m_loadingLabel->setFrame(QRectF(x + 28, (b.height() - 20) / 2, text + 2, 20));
}
