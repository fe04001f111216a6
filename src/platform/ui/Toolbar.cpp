#include "platform/ui/Toolbar.h"

#include "platform/ui/BarButtonView.h"
#include "platform/ui/BarDrawing.h"

#include <QPainter>

Toolbar::Toolbar(const QRectF& frame) : View(frame), m_tint(BarDrawing::defaultTint())
{
    setAutoresizingMask(Autoresizing::FlexibleWidth);
}

void Toolbar::setItems(const QList<std::shared_ptr<BarButtonItem>>& items, bool)
{
    for (const QPointer<View>& v : std::as_const(m_views)) {
        if (!v)
            continue;
        if (qobject_cast<BarButtonView*>(v))
            v->removeFromSuperview();
        else if (v->superview() == this)
            v->hide(), v->setParent(nullptr);
    }
    m_views.clear();
    m_items = items;
    for (const auto& item : items) {
        View* view = nullptr;
        const auto system = item->systemItem();
        const bool space = system && (*system == BarButtonSystemItem::FlexibleSpace || *system == BarButtonSystemItem::FixedSpace);
        if (item->customView()) {
            view = item->customView();
        } else if (!space) {
            auto* b = new BarButtonView(item, m_tint);
            b->setDrawsBorder(item->style() != BarButtonItemStyle::Plain);
            QPointer<BarButtonView> weak(b);
            item->setChangeHandler([weak]() {
                if (weak)
                    weak->refresh();
            });
            view = b;
        }
        if (view)
            addSubview(view);
        m_views.append(view);
    }
    layoutSubviews();
}

void Toolbar::setTintColor(const QColor& tint)
{
    m_tint = tint.isValid() ? tint : BarDrawing::defaultTint();
    for (const QPointer<View>& v : std::as_const(m_views)) {
        if (auto* b = qobject_cast<BarButtonView*>(v.data()))
            b->setBarTint(m_tint);
    }
    update();
}

BarButtonView* Toolbar::viewForItem(const BarButtonItem* item) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == item)
            return qobject_cast<BarButtonView*>(m_views.value(i).data());
    }
    return nullptr;
}

void Toolbar::layoutSubviews()
{
    const QRectF b = bounds();
    qreal used = 0;
    int flexible = 0;
    QList<QSizeF> sizes;
    for (int i = 0; i < m_items.size(); ++i) {
        const auto system = m_items[i]->systemItem();
        QSizeF s(0, 0);
        if (system && *system == BarButtonSystemItem::FlexibleSpace) {
            ++flexible;
        } else if (system && *system == BarButtonSystemItem::FixedSpace) {
            s = QSizeF(m_items[i]->width(), 0);
        } else if (View* v = m_views.value(i)) {
            s = qobject_cast<BarButtonView*>(v) ? v->sizeThatFits(QSizeF()) : v->frame().size();
            if (m_items[i]->width() > 0)
                s.setWidth(m_items[i]->width());
        }
        sizes.append(s);
        used += s.width();
    }
    const qreal gaps = qMax(0, int(m_items.size()) - 1) * 8 + 12;
    const qreal spare = flexible > 0 ? qMax<qreal>(0, b.width() - used - gaps) / flexible : 0;
    qreal x = 6;
    for (int i = 0; i < m_items.size(); ++i) {
        const auto system = m_items[i]->systemItem();
        if (system && *system == BarButtonSystemItem::FlexibleSpace) {
            x += spare + 8;
            continue;
        }
        if (View* v = m_views.value(i))
            v->setFrame(QRectF(x, (b.height() - sizes[i].height()) / 2, sizes[i].width(), sizes[i].height()));
        x += sizes[i].width() + 8;
    }
}

void Toolbar::drawRect(QPainter& painter, const QRectF& rect)
{
    BarDrawing::drawBarBackground(painter, rect, m_tint);
}
