#include "ForumBBCode.h"

#include <QList>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace ForumBBCode {

namespace {

constexpr int kMaxDepth = 64;

struct Tag {
    QString name;
    QString argument;
    bool closing = false;
    qsizetype end = 0;  // just past the "]"
};

// The tag that starts at `at`, when the text holds one there.
bool readTag(const QString& text, qsizetype at, Tag& tag)
{
    const qsizetype close = text.indexOf(u']', at);
    if (close < 0 || close - at > 256)
        return false;
    QString inside = text.mid(at + 1, close - at - 1);
    tag.closing = inside.startsWith(u'/');
    if (tag.closing)
        inside.remove(0, 1);
    const qsizetype equals = inside.indexOf(u'=');
    tag.name = (equals < 0 ? inside : inside.left(equals)).trimmed().toLower();
    tag.argument = equals < 0 ? QString() : inside.mid(equals + 1).trimmed();
    if (tag.argument.size() >= 2 && (tag.argument.startsWith(u'"') || tag.argument.startsWith(u'\''))
        && tag.argument.endsWith(tag.argument.front()))
        tag.argument = tag.argument.mid(1, tag.argument.size() - 2);
    tag.end = close + 1;
    static const QList<QString> known{u"b"_s,     u"i"_s,     u"u"_s,    u"s"_s,      u"size"_s,
                                      u"color"_s, u"url"_s,   u"img"_s,  u"video"_s,  u"quote"_s,
                                      u"code"_s,  u"center"_s, u"list"_s, u"*"_s};
    return known.contains(tag.name);
}

// Web, mail, in-app ("mu", the forum's links to its own pages, written
// exactly so) and relative addresses only: never a script.
QString safeAddress(const QString& address)
{
    const QString trimmed = address.trimmed();
    static const QRegularExpression scheme(u"^([a-zA-Z][a-zA-Z0-9+.-]*):"_s);
    const QRegularExpressionMatch match = scheme.match(trimmed);
    if (match.hasMatch()) {
        const QString name = match.captured(1).toLower();
        if (name != u"http" && name != u"https" && name != u"mailto" && match.captured(1) != u"mu")
            return QString();
    }
    return escape(trimmed);
}

QString openingHtml(const Tag& tag)
{
    if (tag.name == u"size") {
        const int size = qBound(1, tag.argument.toInt(), 7);
        return u"<font size=\"%1\">"_s.arg(size);
    }
    if (tag.name == u"color") {
        static const QRegularExpression colour(u"^#?[A-Za-z0-9]{1,20}$"_s);
        return colour.match(tag.argument).hasMatch() ? u"<span style=\"color:%1\">"_s.arg(tag.argument)
                                                     : u"<span>"_s;
    }
    if (tag.name == u"url")
        return u"<a href=\"%1\" target=\"_blank\">"_s.arg(safeAddress(tag.argument));
    if (tag.name == u"quote") {
        QString html = u"<div class=\"bbcode_container\"><div class=\"bbcode_quote\"><div class=\"quote_container\">"_s;
        const QString author = tag.argument.section(u';', 0, 0).trimmed();
        if (!author.isEmpty())
            html += u"<div class=\"bbcode_postedby\">Originally Posted by <strong>%1</strong></div>"_s.arg(escape(author));
        return html + u"<div class=\"message\">"_s;
    }
    if (tag.name == u"code")
        return u"<pre class=\"bbcode_code\">"_s;
    if (tag.name == u"center")
        return u"<div style=\"text-align:center\">"_s;
    if (tag.name == u"list")
        return u"<ul>"_s;
    return u"<%1>"_s.arg(tag.name);
}

QString closingHtml(const QString& name)
{
    if (name == u"size")
        return u"</font>"_s;
    if (name == u"color")
        return u"</span>"_s;
    if (name == u"url")
        return u"</a>"_s;
    if (name == u"quote")
        return u"</div></div></div></div>"_s;
    if (name == u"code")
        return u"</pre>"_s;
    if (name == u"center")
        return u"</div>"_s;
    if (name == u"list")
        return u"</ul>"_s;
    return u"</%1>"_s.arg(name);
}

// [url]address[/url], [img]address[/img] and [video]address[/video] take their
// content as the address.
QString addressHtml(const QString& name, const QString& address)
{
    const QString safe = safeAddress(address);
    if (safe.isEmpty())
        return escape(address);
    if (name == u"img")
        return u"<img src=\"%1\" border=\"0\" alt=\"\" />"_s.arg(safe);
    if (name == u"video")
        return u"<a class=\"video\" href=\"%1\" target=\"_blank\">%1</a>"_s.arg(safe);
    return u"<a href=\"%1\" target=\"_blank\">%1</a>"_s.arg(safe);
}

}  // namespace

QString escape(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': escaped += u"&amp;"_s; break;
        case '<': escaped += u"&lt;"_s; break;
        case '>': escaped += u"&gt;"_s; break;
        case '"': escaped += u"&quot;"_s; break;
        default: escaped += c;
        }
    }
    return escaped;
}

QString toHtml(const QString& bbcode, const QMap<QString, QString>& smilies)
{
    // Longest codes first, so that ":))" is not read as ":)" and ")".
    QList<QString> codes = smilies.keys();
    std::sort(codes.begin(), codes.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });

    QString html;
    QList<QString> open;
    qsizetype at = 0;
    while (at < bbcode.size()) {
        const QChar c = bbcode.at(at);
        Tag tag;
        if (c == u'[' && readTag(bbcode, at, tag)) {
            if (!tag.closing && tag.argument.isEmpty()
                && (tag.name == u"url" || tag.name == u"img" || tag.name == u"video")) {
                const qsizetype end = bbcode.indexOf(u"[/"_s + tag.name + u']', tag.end, Qt::CaseInsensitive);
                if (end >= 0) {
                    html += addressHtml(tag.name, bbcode.mid(tag.end, end - tag.end));
                    at = end + tag.name.size() + 3;
                    continue;
                }
            }
            // A list item opens no pair of its own.
            if (tag.name == u"*") {
                html += tag.closing ? QString() : u"<li>"_s;
                at = tag.end;
                continue;
            }
            if (!tag.closing && tag.name != u"img" && tag.name != u"video" && open.size() < kMaxDepth) {
                html += openingHtml(tag);
                open.append(tag.name);
                at = tag.end;
                continue;
            }
            if (tag.closing && open.contains(tag.name)) {
                while (!open.isEmpty()) {
                    const QString name = open.takeLast();
                    html += closingHtml(name);
                    if (name == tag.name)
                        break;
                }
                at = tag.end;
                continue;
            }
        }
        const auto smilie = std::find_if(codes.cbegin(), codes.cend(), [&](const QString& code) {
            return QStringView(bbcode).mid(at).startsWith(code);
        });
        if (smilie != codes.cend()) {
            html += u"<img src=\"images/smilies/%1\" border=\"0\" alt=\"%2\" class=\"inlineimg\" />"_s.arg(
                escape(smilies.value(*smilie)), escape(*smilie));
            at += smilie->size();
            continue;
        }
        if (c == u'\n')
            html += u"<br />\n"_s;
        else if (c != u'\r')
            html += escape(QString(c));
        ++at;
    }
    while (!open.isEmpty())
        html += closingHtml(open.takeLast());
    return html;
}

QString toPlain(const QString& bbcode)
{
    QString plain;
    int quoteDepth = 0;
    qsizetype at = 0;
    while (at < bbcode.size()) {
        Tag tag;
        if (bbcode.at(at) == u'[' && readTag(bbcode, at, tag)) {
            if (tag.name == u"quote")
                quoteDepth = qMax(0, quoteDepth + (tag.closing ? -1 : 1));
            if (quoteDepth == 0)
                plain += u' ';
            at = tag.end;
            continue;
        }
        if (quoteDepth == 0)
            plain += bbcode.at(at);
        ++at;
    }
    return plain.simplified();
}

}  // namespace ForumBBCode
