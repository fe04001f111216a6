#include "platform/ui/NavigationItem.h"

#include "platform/ui/View.h"

void NavigationItem::changed()
{
    if (m_changed) {
        const auto tell = m_changed;
        tell();
    }
}

void NavigationItem::setTitle(const QString& title)
{
    m_title = title;
    changed();
}

View* NavigationItem::titleView() const
{
    return m_titleView.data();
}

void NavigationItem::setTitleView(View* view)
{
    m_titleView = view;
    changed();
}

void NavigationItem::setBackBarButtonItem(std::shared_ptr<BarButtonItem> item)
{
    m_back = std::move(item);
    changed();
}

void NavigationItem::setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool)
{
    m_left = std::move(item);
    changed();
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool)
{
    m_right = std::move(item);
    changed();
}

void NavigationItem::setHidesBackButton(bool hides, bool)
{
    m_hidesBack = hides;
    changed();
}
