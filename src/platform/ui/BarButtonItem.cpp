#include "platform/ui/BarButtonItem.h"

#include "platform/ui/View.h"

std::shared_ptr<BarButtonItem> BarButtonItem::withSystemItem(BarButtonSystemItem item, std::function<void()> action)
{
    auto b = std::make_shared<BarButtonItem>();
    b->m_systemItem = item;
    b->m_action = std::move(action);
    switch (item) {
    case BarButtonSystemItem::Done:
        b->m_style = BarButtonItemStyle::Done;
        break;
    case BarButtonSystemItem::FlexibleSpace:
    case BarButtonSystemItem::FixedSpace:
        b->m_style = BarButtonItemStyle::Plain;
        break;
    default:
        b->m_style = BarButtonItemStyle::Bordered;
        break;
    }
    return b;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withTitle(const QString& title, BarButtonItemStyle style,
                                                        std::function<void()> action)
{
    auto b = std::make_shared<BarButtonItem>();
    b->m_title = title;
    b->m_style = style;
    b->m_action = std::move(action);
    return b;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withImage(const QImage& image, BarButtonItemStyle style,
                                                        std::function<void()> action)
{
    auto b = std::make_shared<BarButtonItem>();
    b->m_image = image;
    b->m_style = style;
    b->m_action = std::move(action);
    return b;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withCustomView(View* view)
{
    auto b = std::make_shared<BarButtonItem>();
    b->m_customView = view;
    return b;
}

View* BarButtonItem::customView() const
{
    return m_customView.data();
}

void BarButtonItem::trigger()
{
    if (!m_enabled || !m_action)
        return;
    // A copy: the action may replace the item's action or drop the item.
    const std::function<void()> action = m_action;
    action();
}

QString BarButtonItem::title() const
{
    if (!m_title.isEmpty() || !m_systemItem)
        return m_title;
    switch (*m_systemItem) {
    case BarButtonSystemItem::Done:
        return QStringLiteral("Done");
    case BarButtonSystemItem::Cancel:
        return QStringLiteral("Cancel");
    case BarButtonSystemItem::Edit:
        return QStringLiteral("Edit");
    case BarButtonSystemItem::Save:
        return QStringLiteral("Save");
    default:
        return QString();
    }
}

void BarButtonItem::changed()
{
    if (m_changed) {
        const auto tell = m_changed;
        tell();
    }
}

void BarButtonItem::setTitle(const QString& title)
{
    m_title = title;
    changed();
}

void BarButtonItem::setImage(const QImage& image)
{
    m_image = image;
    changed();
}

void BarButtonItem::setStyle(BarButtonItemStyle style)
{
    m_style = style;
    changed();
}

void BarButtonItem::setEnabled(bool enabled)
{
    m_enabled = enabled;
    changed();
}

void BarButtonItem::setWidth(qreal width)
{
    m_width = width;
    changed();
}
