#include "app/widgets/TabBarHidding.h"

TabBarHidding::TabBarHidding(const QRectF& frame) : TabBar(frame) {}

void TabBarHidding::awakeFromNib()
{
    m_initialItems = items();
    m_set.clear();
}

void TabBarHidding::hideButtonAtIndex(int index)
{
    m_set.insert(index);
    redraw();
}

void TabBarHidding::showButtonAtIndex(int index)
{
    m_set.remove(index);
    redraw();
}

void TabBarHidding::hideButton(const TabBarItemPtr& item)
{
    const int index = initialIndexOfItem(item);
    if (index >= 0)
        hideButtonAtIndex(index);
}

void TabBarHidding::showButton(const TabBarItemPtr& item)
{
    const int index = initialIndexOfItem(item);
    if (index >= 0)
        showButtonAtIndex(index);
}

void TabBarHidding::redraw()
{
    QList<TabBarItemPtr> shown;
    for (int i = 0; i < m_initialItems.size(); ++i) {
        if (!m_set.contains(i))
            shown.append(m_initialItems[i]);
    }
    setItems(shown, false);
}
