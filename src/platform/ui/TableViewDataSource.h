#pragma once

#include "platform/ui/IndexPath.h"

#include "platform/foundation/Trackable.h"

#include <QString>

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
};
