#include "platform/ui/TabBar.h"

#include "platform/ui/Font.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/TextLayout.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

TabBar::TabBar(const QRectF& frame) : View(frame)
{
    setAutoresizingMask(Autoresizing::FlexibleWidth | Autoresizing::FlexibleTopMargin);
}

QList<TabBar::ItemLook> TabBar::looksOf(const QList<TabBarItemPtr>& items)
{
    QList<ItemLook> looks;
    looks.reserve(items.size());
    for (const TabBarItemPtr& item : items)
        looks.append({item.get(), item->title(), item->image().cacheKey(), item->isEnabled(), item->badgeValue()});
    return looks;
}

void TabBar::setItems(const QList<TabBarItemPtr>& items, bool)
{
    if (items == m_items && looksOf(items) == m_drawn)
        return;
    m_items = items;
    if (m_keyboardItem >= m_items.size())
        m_keyboardItem = -1;
    if (m_selected && !m_items.contains(m_selected))
        m_selected = nullptr;
    update();
}

void TabBar::itemsChanged()
{
    if (looksOf(m_items) != m_drawn)
        update();
}

void TabBar::setSelectedItem(const TabBarItemPtr& item)
{
    m_selected = item && m_items.contains(item) ? item : nullptr;
    update();
}

QRectF TabBar::rectForItemAtIndex(int index) const
{
    if (m_items.isEmpty())
        return QRectF();
    const QRectF b = bounds();
    const qreal w = (b.width() - 4) / m_items.size();
    return QRectF(b.left() + 2 + index * w, b.top() + 2, w, b.height() - 3);
}

int TabBar::indexAt(const QPointF& point) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (rectForItemAtIndex(i).contains(point))
            return i;
    }
    return -1;
}

void TabBar::tapItem(const TabBarItemPtr& item)
{
    if (!item || !item->isEnabled() || !m_items.contains(item))
        return;
    m_selected = item;
    update();
    if (TabBarDelegate* d = m_delegate.get())
        d->didSelectItem(this, item);
}

void TabBar::touchesBegan(const QPointF& point)
{
    m_pressed = indexAt(point);
}

void TabBar::touchesEnded(const QPointF& point)
{
    const int pressed = m_pressed;
    m_pressed = -1;
    if (pressed >= 0 && indexAt(point) == pressed)
        tapItem(m_items[pressed]);
}

bool TabBar::acceptsKeyboardFocus() const
{
    return std::any_of(m_items.begin(), m_items.end(), [](const TabBarItemPtr& item) { return item->isEnabled(); });
}

int TabBar::enabledItemFrom(int step) const
{
    const int count = int(m_items.size());
    int at = m_keyboardItem >= 0 ? m_keyboardItem : step > 0 ? -1 : count;
    for (at += step; at >= 0 && at < count; at += step) {
        if (m_items[at]->isEnabled())
            return at;
    }
    return -1;
}

void TabBar::focusInEvent(QFocusEvent* event)
{
    // Tab lands on the first item that can be tapped (the last one backwards).
    if (m_keyboardItem < 0 || m_keyboardItem >= m_items.size() || !m_items[m_keyboardItem]->isEnabled())
        m_keyboardItem = enabledItemFrom(event->reason() == Qt::BacktabFocusReason ? -1 : 1);
    View::focusInEvent(event);
}

void TabBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right) {
        View::keyPressEvent(event);
        return;
    }
    event->accept();
    // At either end the mark stays.
    if (const int next = enabledItemFrom(event->key() == Qt::Key_Right ? 1 : -1); next >= 0) {
        m_keyboardItem = next;
        update();
    }
}

void TabBar::pressedByKeyboard()
{
    if (m_keyboardItem >= 0 && m_keyboardItem < m_items.size())
        tapItem(m_items[m_keyboardItem]);
}

QRectF TabBar::focusMarkRect() const
{
    return m_keyboardItem >= 0 ? rectForItemAtIndex(m_keyboardItem) : bounds();
}

void TabBar::drawRect(QPainter& painter, const QRectF& rect)
{
    // A part drawn alone leaves the rest as it was.
    m_drawn = exposedRect().contains(bounds()) ? looksOf(m_items) : QList<ItemLook>();
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, QColor(64, 64, 64));
    g.setColorAt(0.5, QColor(30, 30, 30));
    g.setColorAt(0.5001, QColor(8, 8, 8));
    g.setColorAt(1, QColor(0, 0, 0));
    painter.fillRect(rect, g);
    painter.setPen(QColor(90, 90, 90));
    painter.drawLine(rect.topLeft() + QPointF(0, 0.5), rect.topRight() + QPointF(0, 0.5));
    const QFont font = Font::boldSystemFontOfSize(10);
    for (int i = 0; i < m_items.size(); ++i) {
        const TabBarItemPtr& item = m_items[i];
        const QRectF r = rectForItemAtIndex(i);
        const bool selected = item == m_selected;
        if (selected) {
            QPainterPath p;
            p.addRoundedRect(r.adjusted(1, 1, -1, -1), 4, 4);
            painter.fillPath(p, QColor(255, 255, 255, 38));
        }
        // The picture's shape, filled grey or lit blue.
        const QRectF iconRect(r.center().x() - 15, r.top() + 3, 30, 30);
        if (!item->image().isNull()) {
            QImage shape =
                ResourceImages::forPainter(item->image(), painter).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QPainter ip(&shape);
            ip.setCompositionMode(QPainter::CompositionMode_SourceIn);
            QLinearGradient ig(0, 0, 0, shape.height());
            if (selected) {
                ig.setColorAt(0, QColor(170, 215, 255));
                ig.setColorAt(0.5, QColor(40, 150, 240));
                ig.setColorAt(1, QColor(20, 110, 220));
            } else {
                ig.setColorAt(0, QColor(150, 150, 150));
                ig.setColorAt(1, QColor(110, 110, 110));
            }
            ip.fillRect(shape.rect(), ig);
            ip.end();
            QSizeF s = ResourceImages::pointSize(item->image());
            s.scale(iconRect.size(), Qt::KeepAspectRatio);
            QRectF target(QPointF(), s);
            target.moveCenter(iconRect.center());
            painter.save();
            if (!item->isEnabled())
                painter.setOpacity(0.4);
            painter.drawImage(target, shape);
            painter.restore();
        }
        QColor text = selected ? QColor(Qt::white) : QColor(153, 153, 153);
        if (!item->isEnabled())
            text.setAlpha(90);
        painter.setPen(text);
        const TextLayout title(item->title(), font, r.width() - 2, 1, 0, LineBreakMode::TailTruncation);
        const qreal ty = item->image().isNull() ? r.center().y() - title.lineHeight() / 2 : r.bottom() - 14;
        title.draw(painter, QRectF(r.left() + 1, ty, r.width() - 2, title.lineHeight()), TextAlignment::Center);
        if (!item->badgeValue().isEmpty()) {
            const QFont bf = Font::boldSystemFontOfSize(13);
            const TextLayout badge(item->badgeValue(), bf, 100, 1);
            const qreal bw = qMax<qreal>(20, badge.size().width() + 10);
            const QRectF br(r.center().x() + 4, r.top(), bw, 20);
            painter.setBrush(QColor(220, 20, 20));
            painter.setPen(QPen(Qt::white, 2));
            painter.drawRoundedRect(br, 10, 10);
            painter.setPen(Qt::white);
            badge.draw(painter, QRectF(br.left(), br.center().y() - badge.lineHeight() / 2, br.width(),
                                       badge.lineHeight()), TextAlignment::Center);
        }
    }
}
