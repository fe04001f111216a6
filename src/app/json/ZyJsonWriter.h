#pragma once

#include "app/json/ZyJsonBase.h"
#include "platform/foundation/Value.h"

// Writes values as JSON text, optionally with sorted keys and a readable
// layout (a line break and two spaces per level, " : " between key and value).
class ZyJsonWriter : public ZyJsonBase {
public:
    // Text for a dictionary or list, or a null QString (see errorTrace()).
    QString stringWithObject(const Value& value);
    // Text for any value, or a null QString.
    QString stringWithFragment(const Value& value);

    bool sortKeys() const { return m_sortKeys; }
    void setSortKeys(bool sortKeys) { m_sortKeys = sortKeys; }
    bool humanReadable() const { return m_humanReadable; }
    void setHumanReadable(bool humanReadable) { m_humanReadable = humanReadable; }

private:
    bool appendValue(const Value& value, QString& json);
    Q_NEVER_INLINE bool appendScalar(const Value& value, QString& json);
    Q_NEVER_INLINE bool failUnsupported(const char* className);
    Q_NEVER_INLINE bool failForKey(const QString& key);
    bool appendDictionary(const ValueDict& dict, QString& json);
    bool appendArray(const ValueList& list, QString& json);
    bool appendNumber(const Value& value, QString& json);
    void appendIndent(QString& json) const;
    static void appendString(const QString& text, QString& json);

    bool m_sortKeys = false;
    bool m_humanReadable = false;
};
