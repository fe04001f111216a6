#pragma once

#include "platform/ui/BarButtonItem.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class View;

// What the navigation bar shows for one screen: its title (or a title view),
// the back button's title for the screen above it, and the left and right
// buttons.
class NavigationItem {
public:
    explicit NavigationItem(const QString& title = QString()) : m_title(title) {}

    QString title() const { return m_title; }
    void setTitle(const QString& title);
    View* titleView() const;
    void setTitleView(View* view);
    // The button a screen pushed above this one shows to come back here; when
    // none, a back button with this item's title.
    std::shared_ptr<BarButtonItem> backBarButtonItem() const { return m_back; }
    void setBackBarButtonItem(std::shared_ptr<BarButtonItem> item);
    std::shared_ptr<BarButtonItem> leftBarButtonItem() const { return m_left; }
    void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    std::shared_ptr<BarButtonItem> rightBarButtonItem() const { return m_right; }
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    bool hidesBackButton() const { return m_hidesBack; }
    void setHidesBackButton(bool hides, bool animated = false);

    // The bar showing the item hears of every change.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

private:
    void changed();

    QString m_title;
    QPointer<View> m_titleView;
    std::shared_ptr<BarButtonItem> m_back;
    std::shared_ptr<BarButtonItem> m_left;
    std::shared_ptr<BarButtonItem> m_right;
    bool m_hidesBack = false;
    std::function<void()> m_changed;
};
