#pragma once

#include "platform/ui/IndexPath.h"

#include "platform/foundation/Trackable.h"

#include <QString>
#include <QVariant>

#include <optional>

class TableView;
class TableViewCell;

// What a table shows: sections, rows and a cell for each row. The cell comes
// from the table's reuse queue when it has one for the identifier, else new;
// the table takes it over.
class TableViewDataSource : public virtual Trackable {
public:
    virtual int numberOfSectionsInTableView(TableView* tableView) { return 1; }
    virtual int numberOfRowsInSection(TableView* tableView, int section) = 0;
    virtual TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) = 0;
    // A null text: no title (and no default header).
    virtual QString titleForHeaderInSection(TableView* tableView, int section) { return QString(); }
    virtual QString titleForFooterInSection(TableView* tableView, int section) { return QString(); }
    // The chosen row is followed across reloads by a key of what it shows,
    // taken when it is chosen. No key (the default): a reload forgets it.
    virtual QVariant keyForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) { return QVariant(); }
    // Where the row of a key is now (an invalid path: gone). Not answered:
    // the table looks for the row whose key is equal.
    virtual std::optional<IndexPath> indexPathForRowKey(TableView* tableView, const QVariant& key)
    {
        return std::nullopt;
    }
};
