#pragma once

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/View.h"

#include <QList>
#include <QPointer>
#include <memory>

class BarButtonView;

// A tinted bar of bar button items; flexible spaces share the room left.
class Toolbar : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 44;

    explicit Toolbar(const QRectF& frame = QRectF(0, 0, 320, kHeight));

    QList<std::shared_ptr<BarButtonItem>> items() const { return m_items; }
    void setItems(const QList<std::shared_ptr<BarButtonItem>>& items, bool animated = false);
    QColor tintColor() const { return m_tint; }
    void setTintColor(const QColor& tint);
    // The view showing an item, or null (spaces and custom views).
    BarButtonView* viewForItem(const BarButtonItem* item) const;

    void layoutSubviews() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    QList<std::shared_ptr<BarButtonItem>> m_items;
    QList<QPointer<View>> m_views;
    QColor m_tint;
};
