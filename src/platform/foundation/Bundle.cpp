#include "Bundle.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef MU_SOURCE_RESOURCES_DIR
#define MU_SOURCE_RESOURCES_DIR ""
#endif

namespace {

QString findResources()
{
    const QString fromEnvironment = qEnvironmentVariable("MU_RESOURCES");
    if (!fromEnvironment.isEmpty())
        return QDir(fromEnvironment).absolutePath();
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!exeDir.isEmpty()) {
        for (const QString& candidate : {exeDir + QStringLiteral("/resources"), exeDir + QStringLiteral("/../resources")}) {
            if (QFileInfo(candidate).isDir())
                return QDir(candidate).absolutePath();
        }
    }
    return QString::fromUtf8(MU_SOURCE_RESOURCES_DIR);
}

ValueDict readDictionary(const QString& path)
{
    if (path.isNull())
        return ValueDict();
    bool ok = false;
    const Value value = PropertyList::readFile(path, &ok);
    if (!ok || !value.isDict()) {
        MU_LOG(Log::platform, QStringLiteral("The resource %1 could not be read").arg(path));
        return ValueDict();
    }
    return value.dict();
}

}  // namespace

Bundle& Bundle::main()
{
    static Bundle instance;
    return instance;
}

QString Bundle::resourcesPath() const
{
    if (!m_resourcesPath)
        m_resourcesPath = findResources();
    return *m_resourcesPath;
}

void Bundle::setResourcesPath(const QString& path)
{
    m_resourcesPath = path.isNull() ? std::nullopt : std::optional<QString>(QDir(path).absolutePath());
    m_info.reset();
    m_strings.reset();
}

QString Bundle::pathForResource(const QString& name) const
{
    if (name.isEmpty())
        return QString();
    const QString path = resourcesPath() + u'/' + name;
    return QFileInfo(path).isFile() ? path : QString();
}

const ValueDict& Bundle::info() const
{
    if (!m_info)
        m_info = readDictionary(pathForResource(QStringLiteral("Info.plist")));
    return *m_info;
}

const ValueDict& Bundle::strings() const
{
    if (!m_strings)
        m_strings = readDictionary(pathForResource(QStringLiteral("en.lproj/Localizable.plist")));
    return *m_strings;
}

Value Bundle::objectForInfoDictionaryKey(const QString& key) const
{
    if (m_overrides.contains(key))
        return m_overrides.value(key);
    return info().value(key);
}

void Bundle::setInfoValue(const QString& key, const Value& value)
{
    if (value.isAbsent())
        m_overrides.remove(key);
    else
        m_overrides.insert(key, value);
}

QString Bundle::localizedString(const QString& key) const
{
    const Value text = strings().value(key);
    return text.isString() ? text.string() : key;
}
