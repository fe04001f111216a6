// Feeds arbitrary bytes to the JSON parser: it must answer with a value or a
// reason, never crash; reading the bytes and reading their text must agree
// whenever the bytes are UTF-8; and what it reads must be written back and
// read again to the same value.
#include "app/json/ZyJsonParser.h"
#include "app/json/ZyJsonWriter.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
bool sameTrace(const ZyJsonBase& a, const ZyJsonBase& b)
{
    if (a.errorTrace().size() != b.errorTrace().size())
        return false;
    for (qsizetype i = 0; i < a.errorTrace().size(); ++i) {
        if (a.errorTrace()[i].code() != b.errorTrace()[i].code() ||
            a.errorTrace()[i].description() != b.errorTrace()[i].description())
            return false;
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);
    ZyJsonParser parser;
    const Value value = parser.fragmentWithString(text);
    ZyJsonParser direct;
    const Value fromBytes = direct.fragmentWithUTF8(bytes);
    // Decoding drops a leading byte-order mark, and so does reading the bytes.
    const QByteArrayView body = bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    if (text.toUtf8() == body) {
        if (fromBytes != value || fromBytes.debugText() != value.debugText() || !sameTrace(parser, direct))
            std::abort();
    } else if (!fromBytes.isAbsent()) {
        std::abort();
    }
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
