#pragma once

#include "platform/ui/View.h"

#include <QList>
#include <QPointer>

#include <functional>

class BarButtonView;
class Label;
class NavigationItem;

// The bar at the top of a navigation controller: the top item's title (or
// title view), a back button to the item below it, and the left and right
// buttons. Tinted; other views may be added on it.
class NavigationBar : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 44;
    // A button beside a title view is cut to the room beside it, never below this.
    static constexpr qreal kMinimumButtonWidth = 44;

    explicit NavigationBar(const QRectF& frame = QRectF(0, 0, 320, kHeight));

    QColor tintColor() const { return m_tint; }
    void setTintColor(const QColor& tint);

    // The items from the bottom of the stack to the top.
    void setItems(const QList<NavigationItem*>& items);
    NavigationItem* topItem() const;
    NavigationItem* backItem() const;
    // Called when the back button is tapped.
    void setBackHandler(std::function<void()> handler) { m_backHandler = std::move(handler); }

    // What is shown now (tests, and screens that look at the bar).
    QString shownTitle() const;
    Label* titleLabel() const { return m_titleLabel; }
    BarButtonView* backButtonView() const;
    BarButtonView* leftButtonView() const;
    BarButtonView* rightButtonView() const;

    void layoutSubviews() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    // keepKeys: the top screen's own items changed, so the keyboard stays on
    // the bar where it was.
    void rebuild(bool keepKeys = false);
    void clearButtons();

    QColor m_tint;
    QList<NavigationItem*> m_items;
    Label* m_titleLabel = nullptr;
    QPointer<View> m_titleView;
    QPointer<BarButtonView> m_backView;
    QPointer<BarButtonView> m_leftView;
    QPointer<BarButtonView> m_rightView;
    QPointer<View> m_leftCustom;
    QPointer<View> m_rightCustom;
    std::function<void()> m_backHandler;
};
