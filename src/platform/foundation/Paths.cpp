#include "Paths.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

const QString kAppFolder = QStringLiteral("muforum");

QString home()
{
    return qEnvironmentVariable("MU_HOME");
}

// The folder, made when missing.
QString ensured(const QString& path)
{
    QDir dir(path);
    if (!dir.exists())
        dir.mkpath(QStringLiteral("."));
    return dir.absolutePath();
}

QString xdgFolder(const char* variable, const QString& fallbackBelowHome)
{
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + u'/' + fallbackBelowHome;
    return base + u'/' + kAppFolder;
}

}  // namespace

QString Paths::dataDir()
{
    const QString h = home();
    if (!h.isEmpty())
        return ensured(h + QStringLiteral("/data"));
    return ensured(xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")));
}

QString Paths::documentsDir()
{
    const QString h = home();
    if (!h.isEmpty())
        return ensured(h + QStringLiteral("/Documents"));
    return ensured(dataDir() + QStringLiteral("/Documents"));
}

QString Paths::cachesDir()
{
    const QString h = home();
    if (!h.isEmpty())
        return ensured(h + QStringLiteral("/Caches"));
    return ensured(xdgFolder("XDG_CACHE_HOME", QStringLiteral(".cache")));
}

QString Paths::tempDir()
{
    const QString h = home();
    if (!h.isEmpty())
        return ensured(h + QStringLiteral("/tmp"));
    // Per user, so one user's scratch files are never another's.
    const QString path = QDir::tempPath() + QStringLiteral("/muforum-") + QString::number(::getuid());
    const bool existed = QDir(path).exists();
    const QString made = ensured(path);
    if (!existed)
        QFile::setPermissions(made, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return made;
}
