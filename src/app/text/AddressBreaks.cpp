#include "app/text/AddressBreaks.h"

#include <QRegularExpression>

namespace {

bool isSeparator(QChar c)
{
    return c == u'/' || c == u'?' || c == u'&' || c == u'=' || c == u'.' || c == u'-';
}

// An address in text: a scheme, "://", then everything up to a blank, a tag
// or a quote.
const QRegularExpression& addressPattern()
{
    static const QRegularExpression pattern(QStringLiteral("[A-Za-z][A-Za-z0-9+.-]*://[^\\s<>\"']+"));
    return pattern;
}

QString markedText(const QString& text)
{
    if (!text.contains(QStringLiteral("://")))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    qsizetype from = 0;
    QRegularExpressionMatchIterator found = addressPattern().globalMatch(text);
    while (found.hasNext()) {
        const QRegularExpressionMatch match = found.next();
        out += QStringView(text).mid(from, match.capturedStart() - from);
        out += AddressBreaks::markedAddress(match.captured());
        from = match.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

// Where an element whose text is not the page's text ends, if the tag at
// `at` opens one; else -1.
qsizetype endOfRawElement(const QString& html, qsizetype at, qsizetype tagEnd)
{
    for (const QString& name : {QStringLiteral("style"), QStringLiteral("script")}) {
        const QString open = QStringLiteral("<") + name;
        if (html.mid(at, open.size()).compare(open, Qt::CaseInsensitive) != 0)
            continue;
        const QChar after = at + open.size() < html.size() ? html.at(at + open.size()) : QChar(u'>');
        if (after.isLetterOrNumber())
            continue;
        const qsizetype close = html.indexOf(QStringLiteral("</") + name, tagEnd, Qt::CaseInsensitive);
        return close < 0 ? html.size() : close;
    }
    return -1;
}

}  // namespace

QString AddressBreaks::markedAddress(const QString& address)
{
    const qsizetype schemeEnd = address.indexOf(QStringLiteral("://"));
    if (schemeEnd < 0)
        return address;
    const qsizetype restStart = schemeEnd + 3;
    QString out = address.left(restStart);
    if (restStart < address.size())
        out += kJoin;
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]+|#[xX][0-9A-Fa-f]+|[A-Za-z][A-Za-z0-9]*);"));
    for (qsizetype i = restStart; i < address.size(); ++i) {
        QChar c = address.at(i);
        qsizetype last = i;
        // An entity is kept whole; "&amp;" is the separator "&".
        if (c == u'&') {
            const QRegularExpressionMatch written =
                entity.match(address, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (written.hasMatch()) {
                last = written.capturedEnd() - 1;
                if (written.captured(1) != u"amp")
                    c = QChar();
            }
        }
        out += QStringView(address).mid(i, last - i + 1);
        if (isSeparator(c) && last + 1 < address.size())
            out += kBreak;
        i = last;
    }
    return out;
}

QString AddressBreaks::markedHtml(const QString& html)
{
    QString out;
    out.reserve(html.size() + 32);
    qsizetype at = 0;
    while (at < html.size()) {
        const qsizetype tag = html.indexOf(u'<', at);
        const qsizetype textEnd = tag < 0 ? html.size() : tag;
        out += markedText(html.mid(at, textEnd - at));
        if (tag < 0)
            break;
        // The tag as it is, its quoted values included.
        qsizetype end = tag + 1;
        QChar quote;
        for (; end < html.size(); ++end) {
            const QChar c = html.at(end);
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                break;
            }
        }
        end = qMin(end + 1, html.size());
        // A style or a script is kept whole, up to its closing tag.
        const qsizetype raw = endOfRawElement(html, tag, end);
        const qsizetype next = raw >= 0 ? raw : end;
        out += QStringView(html).mid(tag, next - tag);
        at = next;
    }
    return out;
}
