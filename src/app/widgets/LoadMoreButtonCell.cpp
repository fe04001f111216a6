#include "app/widgets/LoadMoreButtonCell.h"

#include "app/widgets/GradientButton.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Localized.h"

LoadMoreButtonCell::LoadMoreButtonCell()
{
    m_loadMoreButton = new GradientButton(QRectF(10, 7, 300, 30));
    m_loadMoreButton->titleLabel()->setFont(Font::boldSystemFontOfSize(15));
    m_loadMoreButton->addTarget(this, &LoadMoreButtonCell::loadMore, ControlEvent::TouchUpInside);
    contentView()->addSubview(m_loadMoreButton);
    m_loadMoreButton->useRedDeleteStyle();
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
    m_loadMoreButton->setTitle(localized("load_more"), ControlState::Normal);
    hideLoadingIndicator();
    m_loadMoreButton->setHidden(false);
}

void LoadMoreButtonCell::showLoadingIndicator()
{
    m_loadMoreButton->setHidden(true);
    showLoadingSign();
}

void LoadMoreButtonCell::hideLoadingIndicator()
{
    hideLoadingSign();
}

void LoadMoreButtonCell::awakeFromNib()
{
    LoadingCell::awakeFromNib();
    showLoadMoreButton();
}

void LoadMoreButtonCell::layoutSubviews()
{
    LoadingCell::layoutSubviews();
    const QRectF b = contentView()->bounds();
    m_loadMoreButton->setFrame(QRectF(10, (b.height() - 30) / 2, b.width() - 20, 30));
}
