#include "app/net/ClientIdentity.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/StringExtensions.h"

ValueDict ClientIdentity::parameters()
{
    const QString version =
        Bundle::main().objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString")).toString();
    return ValueDict{
        {QStringLiteral("clientname"), Value(QStringLiteral("mu Mobile iOS"))},
        {QStringLiteral("clientversion"), Value(version)},
        {QStringLiteral("platformname"), Value(DeviceInfo::model())},
        {QStringLiteral("platformversion"), Value(DeviceInfo::systemVersion())},
        {QStringLiteral("uniqueid"), Value(StringExtensions::uuid())},
    };
}
