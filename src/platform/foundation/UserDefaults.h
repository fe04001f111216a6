#pragma once

#include "platform/foundation/Value.h"

#include <QString>

#include <optional>

// The user's settings: one property-list file in the data folder. Every
// change is written at once, atomically (temporary file, then rename) and
// readable by the owner only, so a crash never loses or corrupts it; a
// temporary copy a crash left behind is removed on the next start.
class UserDefaults {
public:
    static UserDefaults& standard();

    // The value under the key, or an absent value.
    Value objectForKey(const QString& key) const;
    // Stores the value and saves; an absent (or null) value removes the key.
    void setObject(const QString& key, const Value& value);
    void removeObjectForKey(const QString& key);
    // Writes the settings now; false when the file could not be written.
    bool synchronize();
    QString filePath() const;
    // Forgets the copy in memory so the next read loads the file again
    // (what a restart does).
    void reload();

private:
    UserDefaults() = default;
    void removeLeftoverCopies() const;
    const ValueDict& values() const;

    mutable std::optional<ValueDict> m_values;
};
