#include "platform/ui/TableCellQueue.h"

#include "platform/ui/TableViewCell.h"

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

int TableCellQueue::count() const
{
    int n = 0;
    for (const auto& list : m_queue) {
        for (const auto& c : list)
            n += c ? 1 : 0;
    }
    return n;
}
