// Feeds arbitrary HTML to the address marker: it never crashes, and taking
// its marks out gives back the page as it came.
#include "app/text/AddressBreaks.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString html = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (html.contains(AddressBreaks::kBreak) || html.contains(AddressBreaks::kJoin))
        return 0;
    QString marked = AddressBreaks::markedHtml(html);
    marked.remove(AddressBreaks::kBreak);
    marked.remove(AddressBreaks::kJoin);
    if (marked != html)
        __builtin_trap();
    return 0;
}
