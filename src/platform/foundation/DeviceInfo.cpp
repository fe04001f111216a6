#include "DeviceInfo.h"

#include <QSysInfo>

QString DeviceInfo::model()
{
    // No host name or serial: the forum only needs the kind of machine.
    QString architecture = QSysInfo::currentCpuArchitecture();
    if (architecture.isEmpty())
        architecture = QStringLiteral("unknown");
    return QStringLiteral("PC ") + architecture;
}

QString DeviceInfo::systemVersion()
{
    QString version = QSysInfo::productVersion();
    if (version.isEmpty() || version == QLatin1String("unknown"))
        version = QSysInfo::kernelVersion();
    if (version.isEmpty())
        version = QStringLiteral("unknown");
    return version;
}
