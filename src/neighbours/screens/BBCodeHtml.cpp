#include "neighbours/screens/BBCodeHtml.h"

#include <QRegularExpression>
#include <QUrl>

namespace BBCodeHtml {

namespace {

// Link addresses wait in a list while the other markup is made, so that no
// markup is ever made inside an address; a marker stands for each.
constexpr QChar kMarker(0xE000);

QString attribute(const QString& text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1Char('\''), QStringLiteral("&#39;"));
    return escaped;
}

// The address as written in the (already escaped) text, unescaped again.
QString unescaped(QString text)
{
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.trimmed();
}

QString link(const QString& escapedAddress, const QString& label, QStringList& addresses)
{
    const QString address = unescaped(escapedAddress);
    if (!isLinkable(address))
        return label;
    addresses.append(address);
    const QString marker = kMarker + QString::number(addresses.size() - 1) + kMarker;
    return QStringLiteral("<a href=\"") + marker + QStringLiteral("\">") + label + QStringLiteral("</a>");
}

// Replaces every match, innermost pairs first, until nothing changes.
template <typename Make>
void replaceAll(QString& text, const QRegularExpression& pattern, Make make)
{
    for (int round = 0; round < 32; ++round) {
        QString out;
        qsizetype last = 0;
        bool changed = false;
        for (auto it = pattern.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            out += QStringView(text).mid(last, m.capturedStart() - last);
            out += make(m);
            last = m.capturedEnd();
            changed = true;
        }
        if (!changed)
            return;
        out += QStringView(text).mid(last);
        text = out;
    }
}

constexpr auto kOptions = QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption;

}  // namespace

bool isLinkable(const QString& address)
{
    if (address.isEmpty())
        return false;
    // No address has spaces, quotes, angle brackets or control characters;
    // one that has is text (or a link written inside a link).
    for (const QChar c : address) {
        if (c.isSpace() || c == u'<' || c == u'>' || c == u'"' || c.category() == QChar::Other_Control
            || c == kMarker)
            return false;
    }
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme.isEmpty() || scheme == u"http" || scheme == u"https" || scheme == u"mailto" || scheme == u"mu";
}

QString fromBBCode(const QString& text)
{
    QString html = text;
    html.remove(kMarker);
    html = html.toHtmlEscaped();
    QStringList addresses;
    html.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    for (const char* tag : {"b", "i", "u", "s"}) {
        const QString name = QString::fromLatin1(tag);
        static const QString form = QStringLiteral("\\[%1\\]((?:(?!\\[%1\\]).)*?)\\[/%1\\]");
        replaceAll(html, QRegularExpression(form.arg(name), kOptions),
                   [&name](const QRegularExpressionMatch& m) {
                       return QStringLiteral("<%1>%2</%1>").arg(name, m.captured(1));
                   });
    }
    static const QRegularExpression namedLink(QStringLiteral("\\[url=([^\\]]*)\\](.*?)\\[/url\\]"), kOptions);
    replaceAll(html, namedLink,
               [&addresses](const QRegularExpressionMatch& m) { return link(m.captured(1), m.captured(2), addresses); });
    static const QRegularExpression bareLink(QStringLiteral("\\[url\\](.*?)\\[/url\\]"), kOptions);
    replaceAll(html, bareLink,
               [&addresses](const QRegularExpressionMatch& m) { return link(m.captured(1), m.captured(1), addresses); });
    static const QRegularExpression quote(
        QStringLiteral("\\[quote(?:=([^\\];]*)(?:;[^\\]]*)?)?\\]((?:(?!\\[quote[=\\]]).)*?)\\[/quote\\]"), kOptions);
    replaceAll(html, quote, [](const QRegularExpressionMatch& m) {
        const QString who = m.captured(1).trimmed();
        return QStringLiteral("<blockquote>%1%2</blockquote>")
            .arg(who.isEmpty() ? QString() : QStringLiteral("<i>%1:</i><br>").arg(who), m.captured(2).trimmed());
    });
    static const QRegularExpression list(QStringLiteral("\\[list\\](.*?)\\[/list\\]"), kOptions);
    replaceAll(html, list, [](const QRegularExpressionMatch& m) {
        QStringList items = m.captured(1).split(QStringLiteral("[*]"));
        const QString before = items.takeFirst().trimmed();
        QString out = before.isEmpty() ? QString() : before;
        out += QStringLiteral("<ul>");
        for (const QString& item : std::as_const(items))
            out += QStringLiteral("<li>%1</li>").arg(item.trimmed());
        return out + QStringLiteral("</ul>");
    });
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    // A list or a quotation stands apart by itself: no line breaks around it.
    static const QRegularExpression breaksAroundBlocks(
        QStringLiteral("(?:<br>)+(?=<ul>|<blockquote>)|(?<=</ul>|</blockquote>)(?:<br>)+"));
    html.remove(breaksAroundBlocks);
    static const QRegularExpression marker(QStringLiteral("\uE000(\\d+)\uE000"));
    replaceAll(html, marker,
               [&addresses](const QRegularExpressionMatch& m) { return attribute(addresses.value(m.captured(1).toInt())); });
    return html;
}

}  // namespace BBCodeHtml
