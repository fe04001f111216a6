#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

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
    // A queued cell of the identifier, made ready for reuse; null when none.
    TableViewCell* dequeue(const QString& identifier);
    // Queued cells still alive.
    int count() const;

private:
    QHash<QString, QList<QPointer<TableViewCell>>> m_queue;
};
