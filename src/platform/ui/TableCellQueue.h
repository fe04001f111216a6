#pragma once

#include "platform/ui/IndexPath.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

class QWidget;
class TableViewCell;

// Cells off screen, queued by reuse identifier until a row asks for one.
class TableCellQueue {
public:
    // Gives the cell back: queued when it has an identifier, dropped
    // otherwise. A cell kept shown stays on screen until hideUnused, so that
    // a reload that hands it straight back to a row neither hides nor shows
    // it again (each costs a walk over the row's views).
    void recycle(TableViewCell* cell, bool keepShown = false);
    // Hides the queued cells that were kept shown.
    void hideUnused();
    // Whether the keyboard's focus is on the view or inside it.
    static bool holdsFocus(const QWidget* view);
    // The cell of a row leaving the screen while it holds the keyboard's
    // focus is kept aside, shown where it stands out of sight, until its row
    // comes back: hidden, the toolkit would hand the focus to another
    // control, and given to another row, the focus would change rows. One
    // at a time; the one kept before, which the focus has left, is given
    // back. True when the cell was kept.
    bool keepFocused(TableViewCell* cell, const IndexPath& row);
    // The cell kept for the row, taken back; null when there is none.
    TableViewCell* takeKept(const IndexPath& row);
    // The row the kept cell stands for; invalid for any other cell.
    IndexPath keptRow(const TableViewCell* cell) const;
    // The kept cell joins the queue (a reload numbers the rows anew).
    void recycleKept(bool keepShown = false);
    // A queued cell of the identifier, made ready for reuse; null when none.
    TableViewCell* dequeue(const QString& identifier);
    // Queued cells still alive.
    int count() const;

private:
    QHash<QString, QList<QPointer<TableViewCell>>> m_queue;
    QPointer<TableViewCell> m_kept;
    IndexPath m_keptRow;
};
