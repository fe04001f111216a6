#include "platform/ui/BarButtonView.h"

#include "platform/ui/BarDrawing.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/StringDrawing.h"
#include "platform/ui/TextLayout.h"

#include <QPainter>

BarButtonView::BarButtonView(std::shared_ptr<BarButtonItem> item, const QColor& barTint, bool backButton)
    : m_item(std::move(item)), m_barTint(barTint), m_back(backButton)
{
    std::weak_ptr<BarButtonItem> weak = m_item;
    addAction([weak](Control*) {
        if (auto item = weak.lock())
            item->trigger();
    }, ControlEvent::TouchUpInside);
    refresh();
}

void BarButtonView::setDrawsBorder(bool on)
{
    m_drawsBorder = on;
    update();
}

void BarButtonView::setBarTint(const QColor& tint)
{
    m_barTint = tint;
    update();
}

void BarButtonView::refresh()
{
    Control::setEnabled(m_item->isEnabled());
    update();
}

bool BarButtonView::bordered() const
{
    if (m_back)
        return true;
    return m_drawsBorder || m_item->style() != BarButtonItemStyle::Plain;
}

QString BarButtonView::shownTitle() const
{
    return m_item->title();
}

QSizeF BarButtonView::sizeThatFits(const QSizeF&) const
{
    const QString title = shownTitle();
    qreal width = 0;
    if (!title.isEmpty())
        width = StringDrawing::sizeWithFont(title, Font::boldSystemFontOfSize(12)).width() + 20;
    else if (!m_item->image().isNull())
        width = ResourceImages::pointSize(m_item->image()).width() + 16;
    else
        width = 40;
    if (m_back)
        width += 6;
    return QSizeF(qMax<qreal>(width, 32), 30);
}

void BarButtonView::drawRect(QPainter& painter, const QRectF& rect)
{
    const bool pressed = isHighlighted();
    if (bordered())
        BarDrawing::drawButtonFace(painter, rect, BarDrawing::buttonTint(m_barTint, m_item->style()), m_back, pressed);
    else if (pressed) {
        QRadialGradient glow(rect.center(), rect.height() * 0.6);
        glow.setColorAt(0, QColor(255, 255, 255, 150));
        glow.setColorAt(1, QColor(255, 255, 255, 0));
        painter.fillRect(rect, glow);
    }
    QColor fg = Qt::white;
    if (!isEnabled())
        fg.setAlpha(110);
    QRectF content = rect;
    if (m_back)
        content.setLeft(content.left() + 6);
    const QString title = shownTitle();
    if (!title.isEmpty()) {
        const QFont font = Font::boldSystemFontOfSize(12);
        const TextLayout layout(title, font, content.width() - 8, 1, 0, LineBreakMode::TailTruncation);
        const qreal h = layout.lineHeight();
        const QRectF textRect(content.x() + 4, content.center().y() - h / 2, content.width() - 8, h);
        painter.setPen(QColor(0, 0, 0, 110));
        layout.draw(painter, textRect.translated(0, -1), TextAlignment::Center);
        painter.setPen(fg);
        layout.draw(painter, textRect, TextAlignment::Center);
    } else if (!m_item->image().isNull()) {
        ImageView::drawImage(painter, m_item->image(), content, ContentMode::Center);
    } else if (m_item->systemItem()) {
        BarDrawing::drawSystemItem(painter, *m_item->systemItem(), content, fg);
    }
}
