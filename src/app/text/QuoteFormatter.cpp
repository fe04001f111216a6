#include "app/text/QuoteFormatter.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"
#include "platform/foundation/TextFormat.h"

#include <QList>
#include <QStringView>

namespace {

const QString kOpenTag = QStringLiteral("[QUOTE");
const QString kCloseTag = QStringLiteral("[/QUOTE]");

QString introductionFor(const QString& name)
{
    if (name.isNull())
        return QStringLiteral("Quote: \"");
    return TextFormat::fill(QStringLiteral("Originally posted by %@:"), {Value(name)}) + QStringLiteral("\n\"");
}

// Whether a tag ("br", "/p", "div class=x") ends a line or a block, and so
// parts the words on either side of it.
bool partsWords(QStringView tag)
{
    tag = tag.trimmed();
    if (tag.startsWith(u'/'))
        tag = tag.mid(1);
    qsizetype end = 0;
    while (end < tag.size() && tag.at(end).isLetterOrNumber())
        ++end;
    static const QStringList names{
        QStringLiteral("br"), QStringLiteral("p"),  QStringLiteral("div"), QStringLiteral("li"),
        QStringLiteral("ul"), QStringLiteral("ol"), QStringLiteral("tr"),  QStringLiteral("td"),
        QStringLiteral("th"), QStringLiteral("table"), QStringLiteral("blockquote"), QStringLiteral("hr"),
        QStringLiteral("h1"), QStringLiteral("h2"), QStringLiteral("h3"),  QStringLiteral("h4"),
        QStringLiteral("h5"), QStringLiteral("h6"), QStringLiteral("dd"),  QStringLiteral("dt")};
    return names.contains(tag.left(end).toString(), Qt::CaseInsensitive);
}

}  // namespace

namespace QuoteFormatter {

QString extractUserNameForQuote(const QString& text, qsizetype from, qsizetype to)
{
    if (from < 0 || from > to || text.size() < to)
        return QString();
    const QStringView tag = QStringView(text).mid(from, to - from);
    const qsizetype equals = tag.indexOf(u'=');
    const qsizetype semicolon = tag.indexOf(u';');
    if (equals < 0 || semicolon < 0 || semicolon - equals - 1 < 1)
        return QString();
    return tag.mid(equals + 1, semicolon - equals - 1).toString();
}

QString messageWithFormattedQuotes(const QString& text)
{
    if (text.isNull())
        return QString();
    const qsizetype length = text.size();
    const QStringView all(text);
    QString result = QStringLiteral("");
    QList<QString> introductions;
    qsizetype i = 0;
    while (i < length) {
        const qsizetype open = text.indexOf(kOpenTag, i, Qt::CaseInsensitive);
        const qsizetype close = text.indexOf(kCloseTag, i, Qt::CaseInsensitive);
        if (open >= 0 && (close < 0 || open < close)) {
            result += all.mid(i, open - i);
            // Searched from the tag itself: a "]" in the text before it
            // belongs to that text.
            const qsizetype bracket = text.indexOf(u']', open);
            if (bracket < 0) {
                // An unfinished tag is not markup; the reader still sees the rest.
                result += all.mid(open);
                break;
            }
            introductions.append(introductionFor(extractUserNameForQuote(text, open, bracket)));
            i = bracket + 1;
        } else if (close >= 0) {
            const qsizetype end = close + kCloseTag.size();
            if (introductions.isEmpty()) {
                // Nothing is open: the tag is just text.
                result += all.mid(i, end - i);
                i = end;
                continue;
            }
            const QString introduction = introductions.takeLast();
            if (close == i) {
                i = end;
                if (i < length && text.at(i) == u'\n')
                    ++i;
            } else {
                result += introduction;
                result += all.mid(i, close - i);
                result += u'"';
                i = end;
            }
        } else {
            result += all.mid(i);
            break;
        }
    }
    return result;
}

QString stripTags(const QString& text)
{
    if (text.isNull())
        return QString();
    const qsizetype length = text.size();
    QString result = QStringLiteral("");
    // White space, or a tag that ends a line, stands between two words.
    bool apart = false;
    qsizetype position = 0;
    while (position < length) {
        const QChar c = text.at(position);
        if (c == u'<') {
            const qsizetype tagEnd = text.indexOf(u'>', position);
            if (tagEnd < 0)
                break;
            apart = apart || partsWords(QStringView(text).mid(position + 1, tagEnd - position - 1));
            position = tagEnd + 1;
            continue;
        }
        if (c.isSpace()) {
            apart = true;
        } else {
            if (apart && !result.isEmpty())
                result += u' ';
            apart = false;
            result += c;
        }
        ++position;
    }
    if (apart && !result.isEmpty())
        result += u' ';
    return result;
}

QString quotedPart(const QString& bbcode, qsizetype most)
{
    if (bbcode.size() <= most || most <= 0)
        return bbcode;
    // Where a blank is this near, the cut falls on it.
    constexpr qsizetype kBlankReach = 200;
    const QStringView all(bbcode);
    qsizetype cut = most;
    if (all.at(cut - 1).isHighSurrogate())
        --cut;
    for (qsizetype at = cut; at > 0 && at > most - kBlankReach; --at) {
        if (all.at(at - 1).isSpace()) {
            cut = at - 1;
            break;
        }
    }
    QStringView kept = all.left(cut);
    // A tag cut in two goes whole.
    const qsizetype opened = kept.lastIndexOf(u'[');
    if (opened >= 0 && kept.indexOf(u']', opened) < 0)
        kept = kept.left(opened);
    // The quotes left open, in the order their tags come.
    qsizetype open = 0;
    for (qsizetype at = kept.indexOf(u'['); at >= 0; at = kept.indexOf(u'[', at + 1)) {
        const QStringView tag = kept.mid(at);
        if (tag.startsWith(kCloseTag, Qt::CaseInsensitive)) {
            open = qMax<qsizetype>(0, open - 1);
        } else if (tag.startsWith(kOpenTag, Qt::CaseInsensitive) && tag.size() > kOpenTag.size()) {
            const QChar next = tag.at(kOpenTag.size());
            open += next == u']' || next == u'=' ? 1 : 0;
        }
    }
    qsizetype end = kept.size();
    while (end > 0 && kept.at(end - 1).isSpace())
        --end;
    QString part = kept.left(end).toString();
    for (; open > 0; --open)
        part += kCloseTag;
    return part + u'\n' + localized("quote_cut");
}

QString titleText(const QString& title)
{
    return StringExtensions::replaceAmpersands(title);
}

}  // namespace QuoteFormatter
