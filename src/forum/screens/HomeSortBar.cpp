#include "forum/screens/HomeSortBar.h"

#include "forum/model/HomeState.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/SegmentedControl.h"

#include "platform/foundation/Localized.h"

HomeSortBar::HomeSortBar(const QRectF& frame) : Toolbar(frame)
{
    setObjectName(QStringLiteral("bottomBar"));
    m_sort = new SegmentedControl({QString(), QString(), QString()});
    m_sort->setObjectName(QStringLiteral("sort"));
    m_sort->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_sort->setSelectedSegmentIndex(HomeState::Newest);
    m_search = new SegmentedControl({localized("nav_search")});
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_search->setMomentary(true);
}

void HomeSortBar::arrange(bool withSearch, const QColor& tint)
{
    setTintColor(tint);
    m_sort->setTintColor(tint);
    m_search->setTintColor(tint);
    m_search->setHidden(!withSearch);
    QList<std::shared_ptr<BarButtonItem>> items{BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                                                BarButtonItem::withCustomView(m_sort),
                                                BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace)};
    if (withSearch) {
        // As high as the sorts beside it.
        m_search->sizeToFit();
        items.append(BarButtonItem::withCustomView(m_search));
    } else {
        // Searching comes with its own screen; until then the control goes.
        m_search->deleteLater();
        m_search = nullptr;
    }
    m_sort->setTitle(localized("home_order_newest"), HomeState::Newest);
    m_sort->setTitle(localized("home_order_top"), HomeState::Top);
    m_sort->setTitle(localized("home_order_subscribed"), HomeState::Subscribed);
    // Beside the search control the sorts take less room, so both fit the bar.
    const qreal sortWidth = m_search ? 72 : 84;
    for (int segment = 0; segment < 3; ++segment)
        m_sort->setWidth(sortWidth, segment);
    m_sort->setFrame(QRectF(0, 0, 3 * sortWidth, m_sort->sizeThatFits(QSizeF()).height()));
    setItems(items);
}
