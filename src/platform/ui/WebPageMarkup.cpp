#include "platform/ui/WebPageMarkup.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

// A tag longer than this is no tag: its "<" is text.
constexpr qsizetype kMaxTag = 8192;
// How far down the open elements a closing tag looks for its own.
constexpr int kCloseReach = 512;
// Elements open at once, whatever is written of them; tags that would open
// more are left out with their closing tags (a page of nothing but opening
// tags must not fill the memory).
constexpr qsizetype kMaxOpen = 100000;
// Where a part is cut inside a text, a space this near the end is looked for.
constexpr qsizetype kCutReach = 200;

using namespace Qt::Literals::StringLiterals;

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isNameChar(QChar c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u':';
}

bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

struct Attribute {
    QString name;
    QString value;
    bool hasValue = false;
    // Where it stands in the page, with the blanks before it.
    qsizetype start = 0;
    qsizetype end = 0;
};

struct Token {
    enum Kind { Text, Open, Close, Other };
    Kind kind = Other;
    qsizetype start = 0;
    qsizetype end = 0;
    // Lower case.
    QString name;
    QList<Attribute> attributes;
    bool selfClosing = false;
    // A script's, a style sheet's or a title's content when the page closed
    // it (the token then ends after the closing tag).
    std::optional<QString> content;
};

// The elements whose content is no markup: a script, a style sheet, a title.
bool holdsRawText(const QString& name)
{
    return name == u"script" || name == u"style" || name == u"title";
}

// Reads a page as tokens, each character once or nearly so whatever the page
// holds: a tag ends before the next "<", and searches for what closes a
// comment or a script remember what they found (or that there is none).
class Reader {
public:
    enum Mode { Everything, NamesOnly };
    explicit Reader(const QString& html, Mode mode = Everything) : m_html(html), m_mode(mode) {}

    bool next(Token& token)
    {
        const qsizetype n = m_html.size();
        if (m_at >= n)
            return false;
        token = Token();
        token.start = m_at;
        const QStringView rest = QStringView(m_html).mid(m_at);
        bool read = false;
        if (rest.startsWith(u"<!--")) {
            const qsizetype close = find(u"-->"_s, m_at + 4);
            if (close >= 0) {
                token.kind = Token::Other;
                token.end = close + 3;
                read = true;
            }
        } else if (rest.startsWith(u"<!") || rest.startsWith(u"<?")) {
            const qsizetype close = tagEnd(m_at);
            if (close >= 0) {
                token.kind = Token::Other;
                token.end = close + 1;
                read = true;
            }
        } else if (rest.startsWith(u"</") && rest.size() > 2 && isAsciiLetter(rest.at(2))) {
            read = readClose(token);
        } else if (rest.startsWith(u'<') && rest.size() > 1 && isAsciiLetter(rest.at(1))) {
            read = readOpen(token);
        }
        if (!read) {
            // Text up to the next "<" that may start a tag; a "<" that
            // starts none is text itself.
            token = Token();
            token.kind = Token::Text;
            token.start = m_at;
            const qsizetype next = nextTagStart(m_at + (rest.startsWith(u'<') ? 1 : 0));
            token.end = next < 0 ? n : next;
        }
        m_at = token.end;
        return true;
    }

private:
    // Where the next "<" stands, from `from`.
    qsizetype nextTagStart(qsizetype from)
    {
        if (m_nextLt >= from || m_nextLt == -2)
            return m_nextLt == -2 ? -1 : m_nextLt;
        m_nextLt = m_html.indexOf(u'<', from);
        const qsizetype found = m_nextLt;
        if (found < 0)
            m_nextLt = -2;
        return found;
    }

    // Where the tag that starts at `at` ends (its ">"), quotes aside; -1
    // when another "<" or the end of the page comes first.
    qsizetype tagEnd(qsizetype at)
    {
        const qsizetype next = nextTagStart(at + 1);
        const qsizetype limit = std::min(next < 0 ? m_html.size() : next, at + kMaxTag);
        QChar quote;
        for (qsizetype i = at + 1; i < limit; ++i) {
            const QChar c = m_html.at(i);
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                return i;
            }
        }
        return -1;
    }

    // Where `needle` next stands from `from`, without regard to case. A
    // search that found nothing (or found a place still ahead) answers for
    // every later one.
    qsizetype find(const QString& needle, qsizetype from)
    {
        if (const auto it = m_found.constFind(needle); it != m_found.constEnd()) {
            const auto [searchedFrom, found] = *it;
            if (searchedFrom <= from && (found < 0 || found >= from))
                return found;
        }
        const qsizetype found = m_html.indexOf(needle, from, Qt::CaseInsensitive);
        m_found.insert(needle, {from, found});
        return found;
    }

    // Where `c` stands in [from, end), or -1.
    qsizetype findWithin(QChar c, qsizetype from, qsizetype end) const
    {
        const qsizetype found = QStringView(m_html).mid(from, std::max<qsizetype>(0, end - from)).indexOf(c);
        return found < 0 ? -1 : from + found;
    }

    bool readClose(Token& token)
    {
        const qsizetype end = tagEnd(m_at);
        if (end < 0)
            return false;
        qsizetype i = m_at + 2;
        while (i < end && isNameChar(m_html.at(i)))
            ++i;
        token.kind = Token::Close;
        token.name = m_html.mid(m_at + 2, i - m_at - 2).toLower();
        token.end = end + 1;
        return true;
    }

    bool readOpen(Token& token)
    {
        const qsizetype end = tagEnd(m_at);
        if (end < 0)
            return false;
        qsizetype i = m_at + 1;
        while (i < end && isNameChar(m_html.at(i)))
            ++i;
        token.kind = Token::Open;
        token.name = m_html.mid(m_at + 1, i - m_at - 1).toLower();
        if (m_mode == NamesOnly)
            i = end;
        while (i < end) {
            const qsizetype before = i;
            while (i < end && m_html.at(i).isSpace())
                ++i;
            if (i >= end)
                break;
            const QChar c = m_html.at(i);
            if (c == u'/') {
                token.selfClosing = i + 1 == end;
                ++i;
                continue;
            }
            const qsizetype nameStart = i;
            while (i < end && !m_html.at(i).isSpace() && m_html.at(i) != u'/' && m_html.at(i) != u'='
                   && m_html.at(i) != u'"' && m_html.at(i) != u'\'')
                ++i;
            if (i == nameStart) {
                // A stray "=" or quote: skipped, with what it quotes.
                if (c == u'"' || c == u'\'') {
                    const qsizetype close = findWithin(c, i + 1, end);
                    i = close < 0 ? end : close + 1;
                } else {
                    ++i;
                }
                continue;
            }
            Attribute attribute;
            attribute.name = m_html.mid(nameStart, i - nameStart).toLower();
            attribute.start = before;
            qsizetype j = i;
            while (j < end && m_html.at(j).isSpace())
                ++j;
            if (j < end && m_html.at(j) == u'=') {
                ++j;
                while (j < end && m_html.at(j).isSpace())
                    ++j;
                attribute.hasValue = true;
                if (j < end && (m_html.at(j) == u'"' || m_html.at(j) == u'\'')) {
                    const qsizetype close = findWithin(m_html.at(j), j + 1, end);
                    const qsizetype valueEnd = close < 0 ? end : close;
                    attribute.value = m_html.mid(j + 1, valueEnd - j - 1);
                    i = std::min(end, valueEnd + 1);
                } else {
                    qsizetype k = j;
                    while (k < end && !m_html.at(k).isSpace())
                        ++k;
                    attribute.value = m_html.mid(j, k - j);
                    i = k;
                }
            }
            attribute.end = i;
            token.attributes.append(attribute);
        }
        token.end = end + 1;
        if (holdsRawText(token.name) && !token.selfClosing) {
            const qsizetype close = find(u"</"_s + token.name, token.end);
            const qsizetype closeEnd = close < 0 ? -1 : findWithin(u'>', close, close + kMaxTag);
            if (closeEnd >= 0) {
                token.content = m_html.mid(token.end, close - token.end);
                token.end = closeEnd + 1;
            }
        }
        return true;
    }

    const QString& m_html;
    const Mode m_mode;
    qsizetype m_at = 0;
    // The next "<" found (-2: there is none).
    qsizetype m_nextLt = -1;
    // Per text searched for: where the search started and what it found.
    QHash<QString, std::pair<qsizetype, qsizetype>> m_found;
};

bool runsScript(const Attribute& attribute)
{
    return attribute.name.startsWith(u"on");
}

// Attributes as the importer is given them: in double quotes, whatever ends
// one or a tag written as an entity; entities stay as written, for the
// importer reads them there as it does in the text.
QString attributesText(const QList<Attribute>& attributes)
{
    QString text;
    for (const Attribute& attribute : attributes) {
        if (runsScript(attribute))
            continue;
        text += u' ' + attribute.name;
        if (attribute.hasValue) {
            QString value = attribute.value;
            value.replace(u'"', u"&quot;"_s);
            value.replace(u'>', u"&gt;"_s);
            text += u"=\""_s + value + u'"';
        }
    }
    return text;
}

QString attributeOf(const QList<Attribute>& attributes, const QString& name)
{
    for (const Attribute& attribute : attributes) {
        if (attribute.name == name)
            return attribute.value;
    }
    return QString();
}

// A border as a style gives it ("1px solid black"): its width and colour.
struct Border {
    int width = 1;
    QString color;
};

// The border a list of declarations gives, if any.
std::optional<Border> borderOf(const QString& declarations)
{
    static const QRegularExpression property(u"(?:^|;)\\s*border(-style|-width)?\\s*:\\s*([^;]*)"_s,
                                             QRegularExpression::CaseInsensitiveOption);
    static const QStringList styles{u"solid"_s, u"dashed"_s, u"dotted"_s, u"double"_s,
                                    u"groove"_s, u"ridge"_s,  u"inset"_s,  u"outset"_s};
    static const QRegularExpression length(u"^(\\d+(?:\\.\\d+)?)(px)?$"_s);
    std::optional<Border> found;
    QRegularExpressionMatchIterator it = property.globalMatch(declarations);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QStringList values =
            match.captured(2).trimmed().split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
        Border border = found.value_or(Border{});
        bool drawn = !values.isEmpty();
        for (const QString& value : values) {
            const QString lower = value.toLower();
            if (lower == u"none" || lower == u"hidden") {
                drawn = false;
            } else if (const QRegularExpressionMatch number = length.match(lower); number.hasMatch()) {
                border.width = qRound(number.captured(1).toDouble());
                drawn = drawn && border.width > 0;
            } else if (!styles.contains(lower) && match.captured(1).isEmpty()) {
                border.color = value;
            }
        }
        found = drawn ? std::optional<Border>(border) : std::nullopt;
    }
    return found;
}

// The classes a style sheet gives a border (".name" or "div.name").
QHash<QString, Border> borderedClasses(const QString& styleSheet)
{
    static const QRegularExpression rules(u"([^{}]+)\\{([^{}]*)\\}"_s);
    static const QRegularExpression classSelector(u"^(?:div)?\\.([A-Za-z0-9_-]+)$"_s,
                                                  QRegularExpression::CaseInsensitiveOption);
    QHash<QString, Border> classes;
    QRegularExpressionMatchIterator rule = rules.globalMatch(styleSheet);
    while (rule.hasNext()) {
        const QRegularExpressionMatch match = rule.next();
        const std::optional<Border> border = borderOf(match.captured(2));
        if (!border)
            continue;
        for (const QString& selector : match.captured(1).split(u',')) {
            const QRegularExpressionMatch name = classSelector.match(selector.trimmed());
            if (name.hasMatch())
                classes.insert(name.captured(1), *border);
        }
    }
    return classes;
}

const QSet<QString>& voidElements()
{
    static const QSet<QString> names{u"area"_s,  u"base"_s, u"br"_s,    u"col"_s,    u"embed"_s,
                                     u"hr"_s,    u"img"_s,  u"input"_s, u"keygen"_s, u"link"_s,
                                     u"meta"_s,  u"param"_s, u"source"_s, u"track"_s, u"wbr"_s};
    return names;
}

// Tags left out with nothing in their place: the document's frame (a page
// goes on after its body ends), and what would fetch something.
const QSet<QString>& leftOutTags()
{
    static const QSet<QString> names{u"html"_s, u"head"_s, u"body"_s, u"link"_s, u"meta"_s, u"base"_s};
    return names;
}

// The blocks the importer indents.
const QSet<QString>& indentingElements()
{
    static const QSet<QString> names{u"ul"_s, u"ol"_s, u"dl"_s, u"menu"_s, u"dir"_s, u"blockquote"_s, u"dd"_s};
    return names;
}

const QSet<QString>& blockElements()
{
    static const QSet<QString> names{
        u"address"_s, u"article"_s, u"aside"_s,  u"blockquote"_s, u"center"_s, u"dd"_s,     u"dir"_s,
        u"div"_s,     u"dl"_s,      u"dt"_s,     u"fieldset"_s,   u"figure"_s, u"footer"_s, u"form"_s,
        u"h1"_s,      u"h2"_s,      u"h3"_s,     u"h4"_s,         u"h5"_s,     u"h6"_s,     u"header"_s,
        u"hr"_s,      u"li"_s,      u"menu"_s,   u"nav"_s,        u"ol"_s,     u"p"_s,      u"pre"_s,
        u"section"_s, u"table"_s,   u"tr"_s,     u"ul"_s};
    return names;
}

// What runs on in a line; the importer would run text after a closing div
// into the div's last line before these.
const QSet<QString>& inlineElements()
{
    static const QSet<QString> names{u"a"_s,     u"abbr"_s,  u"b"_s,      u"big"_s,    u"cite"_s,  u"code"_s,
                                     u"em"_s,    u"font"_s,  u"i"_s,      u"img"_s,    u"q"_s,     u"s"_s,
                                     u"small"_s, u"span"_s,  u"strike"_s, u"strong"_s, u"sub"_s,   u"sup"_s,
                                     u"tt"_s,    u"u"_s};
    return names;
}

// Writes the body anew, element by element, keeping the nesting within its
// bounds and cutting it into parts.
//
// Each element of the page is open in what is written, waiting to be
// opened (its content has not come yet, or a box drawn flat closed it for
// a while), or left out. What is open is nested as the page nests it,
// skipping what waits: a box deeper than the bound closes the innermost box
// open and opens in its place, and what it closed opens again, after it,
// when content of its own comes.
class Writer {
public:
    Writer(QHash<QString, Border> classes, qsizetype partLength)
        : m_classes(std::move(classes)), m_partLength(std::max<qsizetype>(partLength, 2 * kCutReach))
    {
    }

    void text(QStringView text)
    {
        if (isBlank(text)) {
            // Blanks between tags are nobody's content.
            if (contextOpen())
                m_out += text;
            return;
        }
        content();
        if (std::exchange(m_afterDiv, false))
            m_out += u"<div></div>"_s;
        const qsizetype most = m_partLength + m_partLength / 4;
        while (!text.isEmpty()) {
            if (m_out.size() + text.size() <= most) {
                m_out += text;
                m_partHasContent = true;
                break;
            }
            // A text that does not fit starts a part of its own, and one
            // longer than a part is cut.
            if (m_out.size() > m_reopened) {
                split();
                continue;
            }
            const qsizetype cut =
                cutPoint(text, std::min(text.size(), std::max(m_partLength - m_out.size(), kCutReach)));
            m_out += text.left(cut);
            m_partHasContent = true;
            text = text.mid(cut);
            split();
        }
        m_lineOpen = true;
        splitIfFull(false);
    }

    void open(const QString& name, const QList<Attribute>& attributes, bool selfClosing)
    {
        if (leftOutTags().contains(name))
            return;
        if (name == u"br") {
            // A break where nothing waits; a reopened box starts without one.
            if (contextOpen()) {
                m_afterDiv = false;
                m_lineOpen = false;
                m_out += u"<br />"_s;
                splitIfFull(true);
            }
            return;
        }
        if (voidElements().contains(name)) {
            content();
            if (std::exchange(m_afterDiv, false) && inlineElements().contains(name))
                m_out += u"<div></div>"_s;
            m_out += u'<' + name + attributesText(attributes) + u" />"_s;
            m_lineOpen = name != u"hr";
            m_partHasContent = true;
            splitIfFull(false);
            return;
        }
        closeImpliedBy(name);
        if (m_stack.size() >= kMaxOpen)
            return;
        Element element = describe(name, attributes);
        // A part ends before a block rather than inside a line.
        if (element.block || element.frame)
            splitIfFull(true);
        element.live = qsizetype(m_stack.size());
        if (m_afterDiv && inlineElements().contains(name) && contextOpen())
            m_out += u"<div></div>"_s;
        m_afterDiv = false;
        const bool openNow = contextOpen();
        m_stack.append(element);
        const qsizetype index = m_stack.size() - 1;
        if (element.frame) {
            // A frame opens where it stands, beside what waits, or flat
            // in place of the innermost one open.
            if (m_openFrames >= WebPageMarkup::kMaxFrames)
                closeToInnermostFrame();
            openElement(index);
        } else if (openNow) {
            openElement(index);
        }
        if (selfClosing)
            popTo(index);
        splitIfFull(false);
    }

    void close(const QString& name)
    {
        // What follows the end of the body starts a line of its own, as
        // after a closing div: it is never run into the body's last line.
        if (name == u"body" && m_lineOpen)
            m_afterDiv = true;
        if (voidElements().contains(name) || leftOutTags().contains(name))
            return;
        const qsizetype reach = std::max<qsizetype>(0, m_stack.size() - kCloseReach);
        for (qsizetype i = m_stack.size() - 1; i >= reach; --i) {
            if (m_stack.at(i).name == name) {
                const bool block = m_stack.at(i).block || m_stack.at(i).frame;
                popTo(i);
                splitIfFull(block);
                return;
            }
        }
    }

    // The parts written so far.
    const QStringList& parts() const { return m_parts; }

    void finish()
    {
        popTo(0);
        endPart();
    }

private:
    enum class State { Open, Waiting, Left };

    struct Element {
        QString name;
        QString openText;
        QString closeText;
        State state = State::Waiting;
        bool frame = false;
        bool indent = false;
        bool block = false;
        bool plainDiv = false;
        // The innermost element at or below this one that was not left out
        // when this one was; one left out since points further down (-1: none).
        qsizetype live = -1;
    };

    Element describe(const QString& name, const QList<Attribute>& attributes) const
    {
        Element element;
        element.name = name;
        element.indent = indentingElements().contains(name);
        element.block = blockElements().contains(name);
        element.openText = u'<' + name + attributesText(attributes) + u'>';
        element.closeText = u"</"_s + name + u'>';
        element.frame = name == u"table";
        if (name != u"div")
            return element;
        const QString declarations = attributeOf(attributes, u"style"_s);
        std::optional<Border> border = declarations.isEmpty() ? std::nullopt : borderOf(declarations);
        for (const QString& className : attributeOf(attributes, u"class"_s).split(u' ', Qt::SkipEmptyParts)) {
            if (!border && m_classes.contains(className))
                border = m_classes.value(className);
        }
        if (!border) {
            element.plainDiv = true;
            return element;
        }
        // The importer lays nested divs flat and draws no border around
        // one, but draws a table's, nested: the div becomes a table of one
        // cell that keeps its attributes.
        QString style = u"border-collapse:collapse;border-style:solid"_s;
        if (!border->color.isEmpty())
            style += u";border-color:"_s + border->color.toHtmlEscaped();
        element.frame = true;
        element.openText = u"<table width=\"100%\" cellspacing=\"0\" cellpadding=\"4\" border=\"%1\" style=\"%2\">"
                           "<tr><td%3>"_s.arg(QString::number(border->width), style, attributesText(attributes));
        element.closeText = u"</td></tr></table>"_s;
        return element;
    }

    // Whether content written now lands where the page put it: the
    // innermost element not left out is open.
    bool contextOpen() const
    {
        qsizetype live = m_stack.isEmpty() ? -1 : m_stack.last().live;
        // An element left out after others pointed past it points further down.
        while (live >= 0 && m_stack.at(live).state == State::Left)
            live = m_stack.at(live).live;
        return live < 0 || m_stack.at(live).state == State::Open;
    }

    // Content comes: what waits above the topmost element open opens,
    // down to the innermost frames that fit (one at least: with no room, the
    // innermost frame open makes room for it). What waits below those stays
    // closed: their content is drawn beside them, flat.
    void content()
    {
        if (contextOpen())
            return;
        const qsizetype top = m_open.isEmpty() ? -1 : m_open.last();
        const int room = WebPageMarkup::kMaxFrames - m_openFrames;
        const int wanted = std::max(room, 1);
        QList<qsizetype> waiting;
        qsizetype kept = -1;
        bool more = false;
        int frames = 0;
        for (qsizetype i = m_stack.size() - 1; i > top;) {
            const Element& element = m_stack.at(i);
            if (element.state == State::Left) {
                i = element.live;
                continue;
            }
            if (element.frame) {
                more = frames == wanted;
                if (more)
                    break;
                ++frames;
                if (frames == wanted)
                    kept = waiting.size() + 1;
            }
            waiting.append(i);
            --i;
        }
        if (kept >= 0 && (room <= 0 || more))
            waiting.resize(kept);
        if (room <= 0 && frames > 0)
            closeToInnermostFrame();
        for (auto it = waiting.crbegin(); it != waiting.crend(); ++it)
            openElement(*it);
    }

    void openElement(qsizetype index)
    {
        Element& element = m_stack[index];
        const bool fits = m_open.size() < WebPageMarkup::kMaxElements
                          && (!element.indent || m_openIndents < WebPageMarkup::kMaxIndents)
                          && (!element.frame || m_openFrames < WebPageMarkup::kMaxFrames);
        if (!fits) {
            element.state = State::Left;
            element.live = index > 0 ? m_stack.at(index - 1).live : -1;
            breakForLeftOut(element);
            return;
        }
        m_out += element.openText;
        m_lineOpen = m_lineOpen && !element.block && !element.frame;
        element.state = State::Open;
        m_open.append(index);
        m_openFrames += element.frame ? 1 : 0;
        m_openIndents += element.indent ? 1 : 0;
    }

    // Closes what is open down to the innermost frame, that frame too; all
    // of it waits to be opened again.
    void closeToInnermostFrame()
    {
        while (!m_open.isEmpty()) {
            const qsizetype index = m_open.takeLast();
            Element& element = m_stack[index];
            m_out += element.closeText;
            element.state = State::Waiting;
            m_openFrames -= element.frame ? 1 : 0;
            m_openIndents -= element.indent ? 1 : 0;
            if (element.frame)
                break;
        }
        m_afterDiv = false;
    }

    // Ends the elements from the top down to `index`, that one too.
    void popTo(qsizetype index)
    {
        while (m_stack.size() > index) {
            const Element element = m_stack.takeLast();
            if (element.state == State::Open) {
                m_open.removeLast();
                m_openFrames -= element.frame ? 1 : 0;
                m_openIndents -= element.indent ? 1 : 0;
                m_out += element.closeText;
                m_afterDiv = element.plainDiv;
                m_lineOpen = m_lineOpen && !element.block && !element.frame;
            } else if (element.state == State::Left) {
                breakForLeftOut(element);
            }
        }
    }

    // A block left out still ends the line its content stands on.
    void breakForLeftOut(const Element& element)
    {
        if (element.block && m_lineOpen && contextOpen()) {
            m_out += u"<br />"_s;
            m_lineOpen = false;
        }
    }

    // Opening some elements ends others of their kind, as in a browser: an
    // item the item before it, a cell the cell before it, a block a
    // paragraph.
    void closeImpliedBy(const QString& name)
    {
        const auto closeFirst = [this](const QSet<QString>& names, const QSet<QString>& stops) {
            const qsizetype reach = std::max<qsizetype>(0, m_stack.size() - kCloseReach);
            for (qsizetype i = m_stack.size() - 1; i >= reach; --i) {
                const QString& open = m_stack.at(i).name;
                if (names.contains(open)) {
                    popTo(i);
                    return;
                }
                if (stops.contains(open))
                    return;
            }
        };
        static const QSet<QString> items{u"li"_s};
        static const QSet<QString> lists{u"ul"_s, u"ol"_s, u"menu"_s, u"dir"_s, u"table"_s};
        static const QSet<QString> terms{u"dt"_s, u"dd"_s};
        static const QSet<QString> definitions{u"dl"_s, u"table"_s};
        static const QSet<QString> cells{u"td"_s, u"th"_s};
        static const QSet<QString> rows{u"tr"_s};
        static const QSet<QString> rowGroups{u"tbody"_s, u"thead"_s, u"tfoot"_s};
        static const QSet<QString> table{u"table"_s};
        static const QSet<QString> rowStops{u"table"_s, u"tbody"_s, u"thead"_s, u"tfoot"_s};
        static const QSet<QString> cellStops{u"tr"_s, u"table"_s};
        if (name == u"li") {
            closeFirst(items, lists);
        } else if (terms.contains(name)) {
            closeFirst(terms, definitions);
        } else if (cells.contains(name)) {
            closeFirst(cells, cellStops);
        } else if (name == u"tr") {
            closeFirst(rows, rowStops);
        } else if (rowGroups.contains(name)) {
            closeFirst(rowGroups, table);
        }
        if (name == u"p" || blockElements().contains(name)) {
            // A paragraph ends where a block starts, across what runs on in it.
            const qsizetype reach = std::max<qsizetype>(0, m_stack.size() - kCloseReach);
            for (qsizetype i = m_stack.size() - 1; i >= reach; --i) {
                const QString& open = m_stack.at(i).name;
                if (open == u"p") {
                    popTo(i);
                    return;
                }
                if (!inlineElements().contains(open))
                    return;
            }
        }
    }

    // Where a text too long for the part is cut: at a space near the end of
    // the room, never inside an entity or a character.
    static qsizetype cutPoint(QStringView text, qsizetype room)
    {
        if (room >= text.size())
            return text.size();
        qsizetype cut = room;
        for (qsizetype i = room; i > room - kCutReach && i > 0; --i) {
            if (text.at(i - 1).isSpace()) {
                cut = i;
                break;
            }
        }
        const qsizetype amp = text.left(cut).lastIndexOf(u'&');
        if (amp >= 0 && amp > cut - 12 && text.mid(amp, cut - amp).indexOf(u';') < 0)
            cut = amp;
        if (cut > 0 && text.at(cut - 1).isHighSurrogate())
            --cut;
        return std::max<qsizetype>(cut, 1);
    }

    // A part ends where a line ends once it is full, or anywhere once it
    // is a quarter over.
    void splitIfFull(bool lineEnds)
    {
        if (m_out.size() >= m_partLength + (lineEnds ? 0 : m_partLength / 4))
            split();
    }

    // Ends the part here: what is open closes, and opens again in the next.
    void split()
    {
        for (auto it = m_open.crbegin(); it != m_open.crend(); ++it)
            m_out += m_stack.at(*it).closeText;
        endPart();
        for (const qsizetype index : std::as_const(m_open))
            m_out += m_stack.at(index).openText;
        m_reopened = m_out.size();
        m_afterDiv = false;
    }

    // A part with nothing to show (what was open, closed) is no part.
    void endPart()
    {
        if (m_partHasContent || m_parts.isEmpty())
            m_parts.append(m_out);
        m_out.clear();
        m_partHasContent = false;
    }

    const QHash<QString, Border> m_classes;
    const qsizetype m_partLength;
    QList<Element> m_stack;
    // The open elements, outermost first.
    QList<qsizetype> m_open;
    int m_openFrames = 0;
    int m_openIndents = 0;
    // A plain div was the last thing closed.
    bool m_afterDiv = false;
    // Something stands on the line since the last break or block.
    bool m_lineOpen = false;
    QString m_out;
    bool m_partHasContent = false;
    // What the part began with: what was open, opened again.
    qsizetype m_reopened = 0;
    QStringList m_parts;
};

}  // namespace

// A page being written, a part at a time.
class WebPageMarkup::Writing {
public:
    Writing(const QString& html, const QString& styleSheet, qsizetype partLength)
        : m_html(html), m_reader(m_html), m_writer(borderedClasses(styleSheet), partLength)
    {
    }

    const QStringList& partsUpTo(int part)
    {
        while (!m_done && m_writer.parts().size() <= part) {
            Token token;
            if (!m_reader.next(token)) {
                m_writer.finish();
                m_done = true;
                break;
            }
            write(token);
        }
        return m_writer.parts();
    }

private:
    void write(const Token& token)
    {
        switch (token.kind) {
        case Token::Text:
            // A "<" that starts no tag is text.
            if (m_html.at(token.start) == u'<')
                m_writer.text(u"&lt;"_s + m_html.mid(token.start + 1, token.end - token.start - 1));
            else
                m_writer.text(QStringView(m_html).mid(token.start, token.end - token.start));
            break;
        case Token::Open:
            if (!holdsRawText(token.name))
                m_writer.open(token.name, token.attributes, token.selfClosing);
            break;
        case Token::Close:
            m_writer.close(token.name);
            break;
        case Token::Other:
            break;
        }
    }

    const QString m_html;
    Reader m_reader;
    Writer m_writer;
    bool m_done = false;
};

WebPageMarkup::WebPageMarkup(const QString& html, qsizetype partLength)
{
    Reader reader(html, Reader::NamesOnly);
    Token token;
    while (reader.next(token)) {
        if (token.kind == Token::Open && token.name == u"style" && token.content) {
            // Its text is no markup wherever it goes.
            QString sheet = *token.content;
            sheet.remove(u'<');
            m_styleSheet += sheet + u'\n';
        }
    }
    m_writing = std::make_unique<Writing>(html, m_styleSheet, partLength);
}

WebPageMarkup::~WebPageMarkup() = default;

bool WebPageMarkup::hasPart(int part)
{
    return part >= 0 && part < m_writing->partsUpTo(part).size();
}

QString WebPageMarkup::part(int part)
{
    return part < 0 ? QString() : m_writing->partsUpTo(part).value(part);
}

QString WebPageMarkup::document(int part, const QString& before, const QString& after)
{
    return u"<html><head><style type=\"text/css\">"_s + m_styleSheet + u"</style></head><body>"_s + before
           + this->part(part) + after + u"</body></html>"_s;
}

QString WebPageMarkup::withoutScripts(const QString& html)
{
    QString clean;
    clean.reserve(html.size());
    Reader reader(html);
    Token token;
    while (reader.next(token)) {
        if (token.kind == Token::Open && token.name == u"script")
            continue;
        if (token.kind != Token::Open) {
            clean += QStringView(html).mid(token.start, token.end - token.start);
            continue;
        }
        // The tag as written, less what would run a script.
        qsizetype at = token.start;
        for (const Attribute& attribute : std::as_const(token.attributes)) {
            if (!runsScript(attribute))
                continue;
            clean += QStringView(html).mid(at, attribute.start - at);
            at = attribute.end;
        }
        clean += QStringView(html).mid(at, token.end - at);
    }
    return clean;
}
