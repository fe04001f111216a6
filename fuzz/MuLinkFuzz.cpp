// Feeds arbitrary text to the in-app link parser: any text reads as a link
// or as none, and every key of a link reads back, without a crash.
#include "app/text/MuLink.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& candidate : {text, QStringLiteral("mu:") + text}) {
        const std::optional<MuLink> link = MuLink::parse(candidate);
        if (!link)
            continue;
        for (auto it = link->parameters().cbegin(); it != link->parameters().cend(); ++it) {
            if (!link->has(it.key()) || link->value(it.key()) != it.value())
                __builtin_trap();
            link->id(it.key(), link->command());
        }
    }
    return 0;
}
