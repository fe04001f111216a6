// Feeds arbitrary text to the BB-code page maker of the article and blog
// screens: it must end, and nothing in the text may become markup of its own
// (no tag but the ones it makes, no link to an address it refuses).
#include "neighbours/screens/BBCodeHtml.h"

#include <QRegularExpression>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString html = BBCodeHtml::fromBBCode(text);
    static const QRegularExpression tag(QStringLiteral("<(/?)([a-z]+)"));
    static const QStringList made{QStringLiteral("b"),  QStringLiteral("i"),  QStringLiteral("u"),
                                  QStringLiteral("s"),  QStringLiteral("a"),  QStringLiteral("br"),
                                  QStringLiteral("ul"), QStringLiteral("li"), QStringLiteral("blockquote")};
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        if (!made.contains(it.next().captured(2)))
            std::abort();
    }
    static const QRegularExpression href(QStringLiteral("<a href=\"([^\"]*)\">"));
    for (auto it = href.globalMatch(html); it.hasNext();) {
        QString address = it.next().captured(1);
        address.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        address.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
        address.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
        address.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        address.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        if (!BBCodeHtml::isLinkable(address))
            std::abort();
    }
    return 0;
}
