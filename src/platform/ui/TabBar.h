#pragma once

#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"

#include <QList>

class TabBar;

// Told when the user chooses an item.
class TabBarDelegate : public virtual Trackable {
public:
    virtual void didSelectItem(TabBar* tabBar, const TabBarItemPtr& item) {}
};

// A bar of items along the bottom of a screen, one of which may be selected.
// One Tab stop for the whole bar: Left and Right move the keyboard's mark
// from enabled item to enabled item, Space and Return tap the marked one.
class TabBar : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 49;

    explicit TabBar(const QRectF& frame = QRectF(0, 0, 320, kHeight));

    QList<TabBarItemPtr> items() const { return m_items; }
    void setItems(const QList<TabBarItemPtr>& items, bool animated = false);
    // The selected item, or null; setting it tells no delegate.
    TabBarItemPtr selectedItem() const { return m_selected; }
    void setSelectedItem(const TabBarItemPtr& item);
    TabBarDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(TabBarDelegate* delegate) { m_delegate = WeakRef<TabBarDelegate>(delegate); }
    // Repaints after an item's title, picture or enabled flag changed.
    void itemsChanged();
    // Taps the item as the user does (enabled items only).
    void tapItem(const TabBarItemPtr& item);
    QRectF rectForItemAtIndex(int index) const;

    // The item the keyboard's mark is on, or -1.
    int keyboardItemIndex() const { return m_keyboardItem; }

    bool acceptsKeyboardFocus() const override;
    void drawRect(QPainter& painter, const QRectF& rect) override;
    void touchesBegan(const QPointF& point) override;
    void touchesEnded(const QPointF& point) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void pressedByKeyboard() override;
    QRectF focusMarkRect() const override;

private:
    int indexAt(const QPointF& point) const;
    // The enabled item a step from the marked one (from outside the bar when
    // none is marked), or -1.
    int enabledItemFrom(int step) const;

    // What an item shows, as last drawn: the same items looking the same
    // need no new drawing (screens set their items again with every answer).
    struct ItemLook {
        const TabBarItem* item = nullptr;
        QString title;
        qint64 image = 0;
        bool enabled = false;
        QString badge;
        bool operator==(const ItemLook&) const = default;
    };
    static QList<ItemLook> looksOf(const QList<TabBarItemPtr>& items);

    QList<TabBarItemPtr> m_items;
    QList<ItemLook> m_drawn;
    TabBarItemPtr m_selected;
    WeakRef<TabBarDelegate> m_delegate;
    int m_pressed = -1;
    int m_keyboardItem = -1;
};
