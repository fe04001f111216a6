// Feeds arbitrary text to the date readers: they answer with a date or none,
// and a date they read writes back as a text that reads as the same instant.
#include "platform/foundation/DateExtensions.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    DateExtensions::dateWithDateString(text.section(u' ', 0, 0), text.section(u' ', 1));
    if (const std::optional<QDateTime> date = DateExtensions::dateFromRFC1123(text)) {
        const std::optional<QDateTime> again = DateExtensions::dateFromRFC1123(DateExtensions::rfc1123String(*date));
        if (!again || again->toSecsSinceEpoch() != date->toSecsSinceEpoch())
            std::abort();
    }
    return 0;
}
