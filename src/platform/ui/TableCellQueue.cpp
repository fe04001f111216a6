#include "platform/ui/TableCellQueue.h"

#include "platform/ui/TableViewCell.h"

#include <QWidget>

#include <utility>

void TableCellQueue::recycle(TableViewCell* cell, bool keepShown)
{
    if (!cell)
        return;
    cell->setHighlighted(false);
    cell->setSelected(false);
    if (cell->reuseIdentifier().isEmpty()) {
        cell->removeFromSuperview();
        return;
    }
    if (!keepShown)
        cell->hide();
    m_queue[cell->reuseIdentifier()].append(cell);
}

void TableCellQueue::hideUnused()
{
    for (const auto& list : std::as_const(m_queue)) {
        for (const auto& cell : list) {
            if (cell && !cell->QWidget::isHidden())
                cell->hide();
        }
    }
}

TableViewCell* TableCellQueue::dequeue(const QString& identifier)
{
    auto it = m_queue.find(identifier);
    if (it == m_queue.end())
        return nullptr;
    while (!it->isEmpty()) {
        QPointer<TableViewCell> cell = it->takeLast();
        if (cell) {
            cell->prepareForReuse();
            return cell;
        }
    }
    return nullptr;
}

bool TableCellQueue::holdsFocus(const QWidget* view)
{
    // The window's own focus child: the focus stays there while another
    // application has the keyboard, and comes back to it.
    const QWidget* focused = view ? view->window()->focusWidget() : nullptr;
    return focused && (focused == view || view->isAncestorOf(focused));
}

bool TableCellQueue::keepFocused(TableViewCell* cell, const IndexPath& row)
{
    if (!holdsFocus(cell))
        return false;
    if (m_kept != cell)
        recycleKept();
    m_kept = cell;
    m_keptRow = row;
    return true;
}

TableViewCell* TableCellQueue::takeKept(const IndexPath& row)
{
    if (!m_kept || row != m_keptRow)
        return nullptr;
    m_keptRow = IndexPath();
    return std::exchange(m_kept, nullptr).data();
}

IndexPath TableCellQueue::keptRow(const TableViewCell* cell) const
{
    return cell && cell == m_kept ? m_keptRow : IndexPath();
}

void TableCellQueue::recycleKept(bool keepShown)
{
    TableViewCell* kept = std::exchange(m_kept, nullptr).data();
    m_keptRow = IndexPath();
    recycle(kept, keepShown);
}

int TableCellQueue::count() const
{
    int n = m_kept ? 1 : 0;
    for (const auto& list : m_queue) {
        for (const auto& c : list)
            n += c ? 1 : 0;
    }
    return n;
}
