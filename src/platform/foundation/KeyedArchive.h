#pragma once

#include "platform/foundation/Value.h"

#include <QByteArray>

#include <optional>

// Archives of a dictionary of values, stored as a binary property list
// {"$archiver": "MuKeyedArchiver", "$version": 1, "root": root}.
class KeyedArchive {
public:
    static QByteArray archivedData(const ValueDict& root);
    // The root dictionary, or nothing when the data is not such an archive.
    static std::optional<ValueDict> unarchive(const QByteArray& data);
};
