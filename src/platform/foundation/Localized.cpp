#include "platform/foundation/Localized.h"

#include "platform/foundation/Bundle.h"

QString localized(const QString& key)
{
    return Bundle::main().localizedString(key);
}

QString localized(const char* key)
{
    return localized(QString::fromLatin1(key));
}
