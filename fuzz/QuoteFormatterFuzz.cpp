// Feeds arbitrary text to the plain-text quote display and the tag stripper:
// they must never read past the end, whatever the tags.
#include "app/text/QuoteFormatter.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QuoteFormatter::messageWithFormattedQuotes(text);
    QuoteFormatter::stripTags(text);
    QuoteFormatter::extractUserNameForQuote(text, 0, text.size());
    return 0;
}
