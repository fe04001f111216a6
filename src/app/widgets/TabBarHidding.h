#pragma once

#include "platform/ui/TabBar.h"

#include <QSet>

// A tab bar whose items can be hidden and shown, addressed by their position
// in the full list laid out at first.
class TabBarHidding : public TabBar {
    Q_OBJECT
public:
    explicit TabBarHidding(const QRectF& frame = QRectF(0, 0, 320, kHeight));

    // Takes the full list from the items laid out now; nothing hidden.
    void awakeFromNib();
    QList<TabBarItemPtr> initialItems() const { return m_initialItems; }
    void hideButtonAtIndex(int index);
    void showButtonAtIndex(int index);
    void hideButton(const TabBarItemPtr& item);
    void showButton(const TabBarItemPtr& item);
    bool isHiddenAtIndex(int index) const { return m_set.contains(index); }
    // The position of an item in the full list, or -1.
    int initialIndexOfItem(const TabBarItemPtr& item) const { return int(m_initialItems.indexOf(item)); }
    void redraw();

private:
    QList<TabBarItemPtr> m_initialItems;
    QSet<int> m_set;
};
