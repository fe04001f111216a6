#include "platform/ui/TableKeyboardChooser.h"

#include "platform/ui/FocusRing.h"
#include "platform/ui/TableView.h"

#include <QApplication>
#include <QFocusEvent>
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
    if (!m_keysInUse) {
        m_keysInUse = true;
        updateFocusRing();
    }
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
    const bool shown = m_keysInUse && m_table->hasFocus() && m_table->keyboardChoosesRows()
                       && !m_table->indexPathForSelectedRow().isValid();
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

void TableKeyboardChooser::focusIn(QFocusEvent* event)
{
    // A window coming back to the front gives the focus back as it was.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        m_keysInUse = reason != Qt::MouseFocusReason;
    updateFocusRing();
}

void TableKeyboardChooser::focusOut()
{
    // The member went on elsewhere on the list's own screen: the row opened
    // last is no longer where the keyboard belongs.
    if (m_table && m_table->isVisible() && onListsScreen(QApplication::focusWidget()))
        m_takeFocusWhenShown = false;
    updateFocusRing();
}

void TableKeyboardChooser::pointerPressed()
{
    if (!m_keysInUse)
        return;
    m_keysInUse = false;
    updateFocusRing();
}

void TableKeyboardChooser::rowOpened()
{
    m_takeFocusWhenShown = m_table && m_table->keyboardChoosesRows();
}

void TableKeyboardChooser::shown()
{
    if (!m_takeFocusWhenShown || !m_table)
        return;
    m_takeFocusWhenShown = false;
    // A screen that gives its own focus back keeps it.
    const QWidget* focused = QApplication::focusWidget();
    if (focused == m_table || (focused && focused->isVisible() && onListsScreen(focused)))
        return;
    m_table->becomeFirstResponder();
}

bool TableKeyboardChooser::onListsScreen(const QWidget* widget) const
{
    if (!widget || !m_table)
        return false;
    View* screen = m_table;
    while (screen->superview() && !screen->viewController())
        screen = screen->superview();
    return screen->isAncestorOf(widget);
}
