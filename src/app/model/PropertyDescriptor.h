#pragma once

#include "app/model/PropertyKind.h"
#include "platform/foundation/Value.h"

#include <QString>

#include <functional>

class Model;

// One declared property of a model class: the key that fills it, its kind,
// and how to read and write it. Filling hands the setter the answer's value,
// for the object kind with a number already turned into its decimal text; the
// setters made by PropertyTable convert for the plain kinds themselves.
struct PropertyDescriptor {
    QString name;
    PropertyKind kind = PropertyKind::Object;
    std::function<Value(const Model&)> getter;  // empty: not readable, not archived
    std::function<void(Model&, const Value&)> setter;  // empty: not fillable
    // Listed in the archiving list (a field with a getter of the same name).
    bool archived = true;
    // Object properties are archived only when they hold a text; a property
    // marked so is archived with any value (a list or a dictionary).
    bool archivesAnyValue = false;
};
