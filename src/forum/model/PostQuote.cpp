#include "forum/model/PostQuote.h"

#include "platform/foundation/TextFormat.h"

#include <array>

namespace {

const QString kOpen = QStringLiteral("[QUOTE");
const QString kOpenWithAuthor = QStringLiteral("[QUOTE=");
const QString kClose = QStringLiteral("[/QUOTE]");
const QString kOpenMark = QStringLiteral("<<");
const QString kCloseMark = QStringLiteral(">>");

bool isSkipped(QChar c)
{
    return c.isSpace();
}

bool isSeparator(QChar c)
{
    return c == u':' || c == u';';
}

}  // namespace

// Parses one text into nodes. The text is read in one pass from its start to
// its end (a node's parts, then the text after it), so the position of the
// next tag of each kind is found once and kept while it lies ahead.
class PostQuote::Parser {
public:
    explicit Parser(const QString& text) : m_text(text) {}

    void parse(PostQuote& node, qsizetype start, int depth, bool nested);

private:
    enum Needle { Open, Close, OpenMark, CloseMark };

    qsizetype next(Needle needle, qsizetype from);
    // "[QUOTE=" author separators id "]" at start: the tag's length and the author.
    qsizetype authorTag(qsizetype start, QString* author) const;

    const QString& m_text;
    struct Found {
        qsizetype from = -1;
        qsizetype at = -1;
    };
    std::array<Found, 4> m_found;
};

qsizetype PostQuote::Parser::next(Needle needle, qsizetype from)
{
    Found& found = m_found[needle];
    if (found.from >= 0 && found.from <= from && (found.at < 0 || found.at >= from))
        return found.at;
    static const QString* const needles[] = {&kOpen, &kClose, &kOpenMark, &kCloseMark};
    found.from = from;
    found.at = m_text.indexOf(*needles[needle], from, Qt::CaseInsensitive);
    return found.at;
}

qsizetype PostQuote::Parser::authorTag(qsizetype start, QString* author) const
{
    // Read as the platform's text scanner reads it: white space before each
    // piece is skipped, the author runs to the first ":" or ";", then a run
    // of them, then the id to the first "]". The tag's length counts one
    // separator and leaves the skipped white space out.
    const qsizetype n = m_text.size();
    qsizetype i = start + kOpenWithAuthor.size();
    while (i < n && isSkipped(m_text.at(i)))
        ++i;
    qsizetype j = i;
    while (j < n && !isSeparator(m_text.at(j)))
        ++j;
    if (j >= n) {
        // No separator anywhere after: the author runs to the first "]",
        // which ends the tag ("[QUOTE=name]"); without one the tag takes the rest.
        const qsizetype bracket = m_text.indexOf(u']', start);
        if (bracket < 0) {
            *author = QString();
            return n - start;
        }
        *author = m_text.mid(start + kOpenWithAuthor.size(), bracket - start - kOpenWithAuthor.size());
        return bracket + 1 - start;
    }
    *author = j > i ? m_text.mid(i, j - i) : QString();
    const qsizetype authorLength = j - i;
    while (j < n && isSeparator(m_text.at(j)))
        ++j;
    while (j < n && isSkipped(m_text.at(j)))
        ++j;
    qsizetype k = j;
    while (k < n && m_text.at(k) != u']')
        ++k;
    return kOpenWithAuthor.size() + authorLength + (k - j) + 2;
}

void PostQuote::Parser::parse(PostQuote& node, qsizetype start, int depth, bool nested)
{
    const qsizetype n = m_text.size();
    qsizetype p = start;
    if (nested) {
        qsizetype tag = 0;
        if (QStringView(m_text).mid(start).startsWith(kOpenMark)) {
            tag = kOpenMark.size();
        } else if (QStringView(m_text).mid(start).startsWith(kOpenWithAuthor, Qt::CaseInsensitive)) {
            QString author;
            tag = authorTag(start, &author);
            node.m_author = author;
        } else if (QStringView(m_text).mid(start).startsWith(kOpen, Qt::CaseInsensitive)) {
            tag = kOpen.size() + 1;
            node.m_author = QString();
        }
        node.m_opentag = m_text.mid(start, std::min(tag, n - start));
        p = start + tag;
    }
    qsizetype scanFrom = p;
    while (p <= n) {
        qsizetype opening = next(Open, scanFrom);
        qsizetype closing = next(Close, scanFrom);
        bool marks = false;
        if (opening < 0 && closing < 0) {
            opening = next(OpenMark, scanFrom);
            closing = next(CloseMark, scanFrom);
            marks = true;
        }
        if (opening < 0 && closing < 0) {
            node.m_info.append(Part{m_text.mid(p), nullptr});
            break;
        }
        if (closing >= 0 && (opening < 0 || closing < opening)) {
            if (!nested) {
                // A stray closing tag ends the parsing: the rest stays text.
                node.m_info.append(Part{m_text.mid(p), nullptr});
                break;
            }
            node.m_info.append(Part{m_text.mid(p, closing - p), nullptr});
            // The closing tag that stands in the text, so that the node
            // covers what it says it covers.
            node.m_closetag = marks ? kCloseMark : kClose;
            break;
        }
        if (depth + 1 > MaxDepth) {
            // Too deep: this opening tag stays part of the text.
            scanFrom = opening + (marks ? kOpenMark.size() : kOpen.size());
            continue;
        }
        node.m_info.append(Part{m_text.mid(p, opening - p), nullptr});
        const auto child = std::make_shared<PostQuote>();
        child->m_parent = WeakRef<PostQuote>(&node);
        child->m_author = node.m_author;
        parse(*child, opening, depth + 1, true);
        node.m_info.append(Part{QString(), child});
        p = opening + child->length();
        scanFrom = p;
    }
}

QString PostQuote::writeQuote(const QString& username, qint32 postid, const QString& bbcode)
{
    return TextFormat::fill(QStringLiteral("[QUOTE=%@;%d]%@[/QUOTE]"), {Value(username), Value(postid), Value(bbcode)});
}

std::shared_ptr<PostQuote> PostQuote::initWithAuthor(const QString& author, const QString& message)
{
    if (message.isNull())
        return nullptr;
    auto root = std::make_shared<PostQuote>();
    root->m_author = author;
    Parser(message).parse(*root, 0, 0, false);
    return root;
}

std::shared_ptr<PostQuote> PostQuote::initWithParent(PostQuote* parent, const QString& string)
{
    auto node = std::make_shared<PostQuote>();
    node->setParent(parent);
    node->m_author = parent ? parent->author() : QString();
    int depth = 1;
    for (const PostQuote* above = parent; above && above->parent(); above = above->parent())
        ++depth;
    Parser(string).parse(*node, 0, depth, true);
    return node;
}

const PropertyTable& PostQuote::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
                                           .text("opentag", &PostQuote::opentag, &PostQuote::setOpentag)
                                           .text("closetag", &PostQuote::closetag, &PostQuote::setClosetag)
                                           .text("author", &PostQuote::author, &PostQuote::setAuthor);
    return table;
}

qsizetype PostQuote::length() const
{
    qsizetype total = tagslength();
    for (const Part& part : m_info)
        total += part.isQuote() ? part.quote->length() : part.text.size();
    return total;
}

QString PostQuote::description() const
{
    QString text = QStringLiteral("<");
    for (const Part& part : m_info)
        text += part.isQuote() ? part.quote->description() : part.text;
    return text + QStringLiteral(">");
}
