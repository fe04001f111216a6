// Feeds arbitrary HTML to the web page reader in small parts: it must never
// read past the end, and every part it writes must be whole (each tag it
// opens closed in the part) and nested within its bounds, whatever the page.
#include "platform/ui/WebPageMarkup.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

// The deepest nesting of tables, and of tags, in a part; -1 when a tag is
// closed that is not open, or one is left open.
std::pair<int, int> nesting(const QString& part)
{
    int tables = 0;
    int tags = 0;
    int deepestTables = 0;
    int deepestTags = 0;
    for (qsizetype at = part.indexOf(u'<'); at >= 0; at = part.indexOf(u'<', at + 1)) {
        const qsizetype end = part.indexOf(u'>', at);
        if (end < 0)
            return {-1, -1};
        const QStringView tag = QStringView(part).mid(at + 1, end - at - 1);
        const QStringView name = tag.mid(tag.startsWith(u'/') ? 1 : 0).split(u' ').first();
        const bool table = name == u"table";
        if (tag.startsWith(u'/')) {
            tags -= 1;
            tables -= table ? 1 : 0;
            if (tags < 0 || tables < 0)
                return {-1, -1};
        } else if (!tag.endsWith(u'/')) {
            tags += 1;
            tables += table ? 1 : 0;
        }
        deepestTables = std::max(deepestTables, tables);
        deepestTags = std::max(deepestTags, tags);
        at = end;
    }
    if (tags != 0 || tables != 0)
        return {-1, -1};
    return {deepestTables, deepestTags};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString html = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)WebPageMarkup::withoutScripts(html);
    WebPageMarkup page(html, 400);
    for (int part = 0; page.hasPart(part); ++part) {
        const auto [tables, tags] = nesting(page.part(part));
        // A box is a table, a row and a cell.
        if (tables < 0 || tables > WebPageMarkup::kMaxFrames
            || tags > WebPageMarkup::kMaxElements + 2 * WebPageMarkup::kMaxFrames)
            __builtin_trap();
    }
    return 0;
}
