#pragma once

#include "app/model/Model.h"

#include "platform/foundation/Trackable.h"

#include <QList>
#include <QString>

#include <optional>

class PaginableTableView;
class TableViewCell;
class View;

// The screen behind a paged list: makes and measures the rows of the model's
// objects and hears which one was chosen. The optional operations answer
// "not implemented" by default.
class PaginableTableDelegate : public virtual Trackable {
public:
    virtual TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) = 0;
    virtual qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) = 0;
    // The header of the first section; a null text: no header there.
    virtual QString titleForTheFirstSection() = 0;
    virtual void didSelectCell(TableViewCell* cell, const ModelPtr& object) = 0;

    // Optional: a header view of its own for section 0 (the table owns it);
    // null falls back to the first section's title.
    virtual View* viewForHeaderInSection(PaginableTableView* tableView, int section) { return nullptr; }
    // Optional: the sections to show while no page is loaded, so that a
    // screen can show its own header before the first answer.
    virtual std::optional<int> numberOfSectionsInTableView(PaginableTableView* tableView) { return std::nullopt; }
    // Optional: rows before the first page's objects, and after the last
    // page's once the last page is in.
    virtual std::optional<QList<ModelPtr>> prependArrayOfObjects() { return std::nullopt; }
    virtual std::optional<QList<ModelPtr>> appendArrayOfObjects() { return std::nullopt; }
};
