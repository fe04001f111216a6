#pragma once

#include "platform/foundation/Value.h"

#include <QByteArray>
#include <QString>

// Property lists (XML or binary) to and from Value.
// dict <-> ValueDict (order kept), array <-> ValueList, string, boolean,
// integer (qint64, or quint64 beyond its range), real (double), data (bytes),
// date (QDateTime). Absent and null values inside containers are left out
// when writing, as a property list has no null.
class PropertyList {
public:
    // Reads XML or binary; corrupt or empty input gives an absent Value and ok=false.
    static Value fromData(const QByteArray& data, bool* ok = nullptr);
    static QByteArray toBinary(const Value& value);
    static QByteArray toXml(const Value& value);
    // Reads a file; a missing or unreadable file gives an absent Value and ok=false.
    static Value readFile(const QString& path, bool* ok = nullptr);
};
