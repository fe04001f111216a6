#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollViewDelegate.h"

#include <optional>

class TableView;
class TableViewCell;
class View;

// Told of a table's rows being chosen, and asked for heights and header
// views. Optional operations answer "not implemented" (an empty optional or a
// null view) by default, so the table uses its own defaults.
class TableViewDelegate : public ScrollViewDelegate {
public:
    virtual std::optional<qreal> heightForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
    {
        return std::nullopt;
    }
    virtual std::optional<qreal> heightForHeaderInSection(TableView* tableView, int section) { return std::nullopt; }
    virtual std::optional<qreal> heightForFooterInSection(TableView* tableView, int section) { return std::nullopt; }
    // The table owns the view it is given.
    virtual View* viewForHeaderInSection(TableView* tableView, int section) { return nullptr; }
    virtual View* viewForFooterInSection(TableView* tableView, int section) { return nullptr; }
    // May choose another row, or refuse (an invalid index path).
    virtual IndexPath willSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) { return indexPath; }
    virtual void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) {}
    virtual void didDeselectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) {}
    virtual void willDisplayCell(TableView* tableView, TableViewCell* cell, const IndexPath& indexPath) {}
    virtual void accessoryButtonTappedForRowWithIndexPath(TableView* tableView, const IndexPath& indexPath) {}
};
