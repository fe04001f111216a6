#pragma once

#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewRegistry.h"

#include "platform/foundation/ClassName.h"

#include <typeinfo>

// The name of a cell class: its reuse identifier and its layout's name.
template <typename Cell>
QString cellClassName()
{
    return ClassNameDetail::plainName(typeid(Cell).name());
}

// A cell of the class: the table's queued cell whose reuse identifier is the
// class name, else a new one from the class's layout code (registered by
// name in the view registry, or the class's own constructor), with the class
// name as its reuse identifier and awakeFromNib called.
template <typename Cell>
Cell* loadCellNibForTableView(TableView* tableView)
{
    const QString name = cellClassName<Cell>();
    if (tableView) {
        if (auto* queued = dynamic_cast<Cell*>(tableView->dequeueReusableCellWithIdentifier(name)))
            return queued;
    }
    Cell* cell = nullptr;
    if (ViewRegistry::isRegistered(name)) {
        View* made = ViewRegistry::create(name);
        cell = dynamic_cast<Cell*>(made);
        if (!cell && made)
            made->deleteLater();
    }
    if (!cell) {
        if constexpr (std::is_default_constructible_v<Cell>)
            cell = new Cell();
        else
            return nullptr;
    }
    cell->setReuseIdentifier(name);
    cell->awakeFromNib();
    return cell;
}
