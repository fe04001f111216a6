// Feeds arbitrary bytes to the JSON parser: it must answer with a value or a
// reason, never crash, and what it reads must be written back and read again
// to the same value.
#include "app/json/ZyJsonParser.h"
#include "app/json/ZyJsonWriter.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ZyJsonParser parser;
    const Value value = parser.fragmentWithString(text);
    if (value.isAbsent()) {
        if (parser.errorTrace().isEmpty())
            std::abort();
        return 0;
    }
    ZyJsonWriter writer;
    const QString written = writer.stringWithFragment(value);
    if (written.isNull())
        return 0;
    ZyJsonParser again;
    if (again.fragmentWithString(written) != value)
        std::abort();
    return 0;
}
