#pragma once

#include "platform/foundation/Trackable.h"
#include "platform/foundation/Value.h"

#include <QString>

// The persistence back end of the model classes: a table per model class,
// rows addressed by "id". A condition is a dictionary of column to value, or
// nothing for every row.
class ModelDelegate : public virtual Trackable {
public:
    // The rows that meet the condition; a limit of 0 means no limit.
    virtual ValueList getFrom(const QString& table, const Value& where, const QString& orderBy, int limit,
                              int offset) = 0;
    // Adds a row; answers its id (0 when it was not added).
    virtual qint32 insertInto(const QString& table, const ValueDict& values) = 0;
    virtual void update(const QString& table, const ValueDict& set, const Value& where) = 0;
    virtual void deleteFrom(const QString& table, const Value& where) = 0;
};
