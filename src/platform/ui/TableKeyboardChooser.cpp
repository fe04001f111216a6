#include "platform/ui/TableKeyboardChooser.h"

#include "platform/ui/FocusRing.h"
#include "platform/ui/TableView.h"

#include <QKeyEvent>

TableKeyboardChooser::TableKeyboardChooser(TableView* table) : m_table(table) {}

IndexPath TableKeyboardChooser::adjacentRow(int step) const
{
    QList<IndexPath> rows;
    for (int s = 0; s < m_table->numberOfSections(); ++s) {
        for (int r = 0; r < m_table->numberOfRowsInSection(s); ++r)
            rows.append(IndexPath{s, r});
    }
    if (rows.isEmpty())
        return IndexPath();
    const qsizetype at = rows.indexOf(m_table->indexPathForSelectedRow());
    if (at < 0)
        return step > 0 ? rows.first() : rows.last();
    return rows.at(qBound<qsizetype>(0, at + step, rows.size() - 1));
}

bool TableKeyboardChooser::keyPressed(QKeyEvent* event)
{
    if (!m_table || !m_table->keyboardChoosesRows() || !m_table->allowsSelection())
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (const IndexPath next = adjacentRow(event->key() == Qt::Key_Down ? 1 : -1); next.isValid()) {
            m_table->selectRowAtIndexPath(next, false, TableViewScrollPosition::None);
            m_table->scrollToRowAtIndexPath(next, TableViewScrollPosition::None, false);
        }
        event->accept();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_table->returnChoosesRow())
            return false;
        [[fallthrough]];
    case Qt::Key_Space:
        if (const IndexPath selected = m_table->indexPathForSelectedRow(); selected.isValid()) {
            QPointer<TableView> table(m_table);
            m_choosing = true;
            table->chooseRow(selected);
            if (table)
                m_choosing = false;
        }
        event->accept();
        return true;
    default:
        return false;
    }
}

bool TableKeyboardChooser::showsFocusRing() const
{
    return m_focusRing && !m_focusRing->isHidden();
}

void TableKeyboardChooser::updateFocusRing()
{
    if (!m_table)
        return;
    const bool shown =
        m_table->hasFocus() && m_table->keyboardChoosesRows() && !m_table->indexPathForSelectedRow().isValid();
    if (!shown) {
        if (m_focusRing)
            m_focusRing->setHidden(true);
        return;
    }
    if (!m_focusRing) {
        m_focusRing = new FocusRing();
        m_table->addSubview(m_focusRing);
    }
    // Over the rows in sight, wherever the list is scrolled to.
    m_focusRing->setFrame(m_table->bounds());
    m_focusRing->setHidden(false);
    m_focusRing->raise();
}
