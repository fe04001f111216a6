#pragma once

#include "platform/foundation/Value.h"

#include <QString>

#include <optional>

// The application's resources: the settings in "Info.plist", the string
// table in "en.lproj/Localizable.plist" and other resource files.
// The folder is MU_RESOURCES when set; else "resources" beside the
// executable or one level above it; else the source tree's resources.
class Bundle {
public:
    static Bundle& main();

    QString resourcesPath() const;
    // Reads the resources from this folder from now on (tests, the demo); a
    // null path goes back to finding them as at start.
    void setResourcesPath(const QString& path);
    // The full path of a resource file, or a null text when there is none.
    QString pathForResource(const QString& name) const;
    // A setting of "Info.plist" (e.g. "ZtServerBaseUrl"), or an absent value.
    Value objectForInfoDictionaryKey(const QString& key) const;
    // Overrides one setting in memory (tests, the demo); an absent value
    // drops the override.
    void setInfoValue(const QString& key, const Value& value);
    // The English text of the key; a key without a text shows as itself.
    QString localizedString(const QString& key) const;

private:
    Bundle() = default;
    const ValueDict& info() const;
    const ValueDict& strings() const;

    mutable std::optional<QString> m_resourcesPath;
    mutable std::optional<ValueDict> m_info;
    mutable std::optional<ValueDict> m_strings;
    ValueDict m_overrides;
};
