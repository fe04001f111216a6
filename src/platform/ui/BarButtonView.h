#pragma once

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Control.h"

#include <memory>

// Shows one bar button item on a navigation bar or a toolbar, and performs
// its action when tapped.
class BarButtonView : public Control {
    Q_OBJECT
public:
    BarButtonView(std::shared_ptr<BarButtonItem> item, const QColor& barTint, bool backButton = false);

    const std::shared_ptr<BarButtonItem>& item() const { return m_item; }
    bool isBackButton() const { return m_back; }
    // Plain items draw without a border (toolbars); navigation bars border all.
    void setDrawsBorder(bool on);
    void setBarTint(const QColor& tint);
    // What this button shows: the item's text, or the system item's picture.
    QString shownTitle() const;
    void refresh();

    bool acceptsKeyboardFocus() const override { return isEnabled() && isKeyboardFocusable(); }
    QSizeF sizeThatFits(const QSizeF& size) const override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    bool bordered() const;

    std::shared_ptr<BarButtonItem> m_item;
    QColor m_barTint;
    bool m_back = false;
    bool m_drawsBorder = true;
};
