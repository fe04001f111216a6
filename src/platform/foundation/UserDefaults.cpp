#include "UserDefaults.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
}

UserDefaults& UserDefaults::standard()
{
    static UserDefaults instance;
    return instance;
}

QString UserDefaults::filePath() const
{
    return Paths::dataDir() + QStringLiteral("/UserDefaults.plist");
}

void UserDefaults::removeLeftoverCopies() const
{
    // A save killed between writing its copy and renaming it leaves the copy
    // ("UserDefaults.plist.XXXXXX") beside the file; nothing else would ever
    // remove it. The settings file itself is always whole.
    const QFileInfo file(filePath());
    static const QRegularExpression leftover(QStringLiteral("^%1\\.[A-Za-z0-9]{6}$")
                                                 .arg(QRegularExpression::escape(file.fileName())));
    QDir folder = file.dir();
    for (const QString& name : folder.entryList({file.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
        if (leftover.match(name).hasMatch() && !folder.remove(name))
            MU_LOG(Log::platform, QStringLiteral("A leftover copy of the settings could not be removed: ") + name);
    }
}

const ValueDict& UserDefaults::values() const
{
    if (m_values)
        return *m_values;
    m_values.emplace();
    removeLeftoverCopies();
    const QString path = filePath();
    if (!QFile::exists(path))
        return *m_values;
    bool ok = false;
    const Value stored = PropertyList::readFile(path, &ok);
    if (ok && stored.isDict())
        *m_values = stored.dict();
    else
        MU_LOG(Log::platform, QStringLiteral("The settings file %1 could not be read; starting with empty settings").arg(path));
    return *m_values;
}

Value UserDefaults::objectForKey(const QString& key) const
{
    return values().value(key);
}

void UserDefaults::setObject(const QString& key, const Value& value)
{
    // A property list has no null: storing one would differ after a restart.
    if (value.isNothing()) {
        removeObjectForKey(key);
        return;
    }
    values();
    m_values->insert(key, value);
    synchronize();
}

void UserDefaults::removeObjectForKey(const QString& key)
{
    values();
    m_values->remove(key);
    synchronize();
}

bool UserDefaults::synchronize()
{
    const QByteArray data = PropertyList::toXml(Value(values()));
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly)) {
        MU_LOG(Log::platform, QStringLiteral("The settings file %1 could not be opened: %2").arg(file.fileName(), file.errorString()));
        return false;
    }
    // Owner-only before any byte is written; the rename keeps this mode.
    file.setPermissions(kOwnerOnly);
    file.write(data);
    if (!file.commit()) {
        MU_LOG(Log::platform, QStringLiteral("The settings file %1 could not be written: %2").arg(file.fileName(), file.errorString()));
        return false;
    }
    return true;
}

void UserDefaults::reload()
{
    m_values.reset();
}
