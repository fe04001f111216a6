#pragma once

#include "app/model/ModelWithPages.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

// The rows a moderator has chosen on a page of posts or a list of threads.
// A choice is known by id, as a page loaded again holds other objects for
// the same rows. The actions read what they would do from the rows chosen:
// "none of them is deleted" means the action deletes, and so on.
template <typename Item>
class ModerationSelection {
public:
    using ItemPtr = std::shared_ptr<Item>;
    using IdOf = std::function<qint32(const Item&)>;

    explicit ModerationSelection(IdOf idOf) : m_idOf(std::move(idOf)) {}

    const QList<ItemPtr>& items() const { return m_items; }
    bool isEmpty() const { return m_items.isEmpty(); }
    qsizetype size() const { return m_items.size(); }
    void clear() { m_items.clear(); }

    bool contains(const Item& item) const
    {
        const qint32 id = m_idOf(item);
        return std::any_of(m_items.begin(), m_items.end(), [&](const ItemPtr& chosen) { return m_idOf(*chosen) == id; });
    }
    // Chooses the row, or lets it go when it was chosen; whether it is chosen now.
    bool toggle(const ItemPtr& item)
    {
        if (contains(*item)) {
            const qint32 id = m_idOf(*item);
            m_items.removeIf([&](const ItemPtr& chosen) { return m_idOf(*chosen) == id; });
            return false;
        }
        m_items.append(item);
        return true;
    }
    // True when no row chosen has the flag, and so while none is chosen.
    template <typename Flag>
    bool noneHas(Flag flag) const
    {
        return std::none_of(m_items.begin(), m_items.end(),
                            [&](const ItemPtr& chosen) { return std::invoke(flag, *chosen); });
    }

    QList<qint32> ids() const
    {
        QList<qint32> ids;
        for (const ItemPtr& chosen : m_items)
            ids.append(m_idOf(*chosen));
        return ids;
    }
    QStringList idTexts() const
    {
        QStringList texts;
        for (const ItemPtr& chosen : m_items)
            texts.append(QString::number(m_idOf(*chosen)));
        return texts;
    }

    // Keeps the rows chosen that are still shown, as the objects shown now.
    void follow(const QList<ItemPtr>& shown)
    {
        if (m_items.isEmpty())
            return;
        QHash<qint32, ItemPtr> byId;
        for (const ItemPtr& row : shown)
            byId.insert(m_idOf(*row), row);
        QList<ItemPtr> kept;
        for (const ItemPtr& chosen : std::as_const(m_items)) {
            if (const ItemPtr now = byId.value(m_idOf(*chosen)))
                kept.append(now);
        }
        m_items = kept;
    }
    // The rows of the pages that are of this kind.
    static QList<ItemPtr> rowsOf(const QMap<QString, ModelWithPages::Page>& pages)
    {
        QList<ItemPtr> rows;
        for (const ModelWithPages::Page& page : pages) {
            for (const ModelPtr& row : page) {
                if (auto item = std::dynamic_pointer_cast<Item>(row))
                    rows.append(std::move(item));
            }
        }
        return rows;
    }

private:
    IdOf m_idOf;
    QList<ItemPtr> m_items;
};
