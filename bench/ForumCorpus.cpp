#include "ForumCorpus.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Small and fully determined: the same corpus on every machine and library.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    int below(int n) { return int(next() % uint64_t(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N>
    const T& pick(const T (&items)[N]) { return items[below(int(N))]; }

private:
    uint64_t m_state;
};

const char* const kWords[] = {
    "the", "a", "and", "to", "of", "is", "it", "that", "in", "for", "on", "with", "this", "have", "but",
    "not", "you", "was", "engine", "gearbox", "clutch", "forum", "thread", "thanks", "please", "help",
    "problem", "fixed", "replaced", "bought", "yesterday", "probably", "definitely", "recommend", "model",
    "version", "update", "firmware", "battery", "charger", "warranty", "dealer", "price", "shipping",
    "photo", "picture", "attached", "quote", "reply", "member", "moderator", "rules", "posted", "wrote",
    "agree", "disagree", "exactly", "maybe", "tomorrow", "weekend", "garage", "tools", "torque", "wrench",
    "café", "naïve", "Größe", "über", "mañana", "déjà", "привет", "спасибо", "форум", "日本語", "こんにちは",
    "😀", "👍", "—", "“quoted”", "€42",
};
const char* const kNames[] = {"Alice", "bob_the_builder", "Chris77", "DieselDan", "Émile", "ninja_turtle",
                               "Grease Monkey", "hank", "Иван", "Jo", "KarlHeinz", "Lars-Erik", "mod_Mike",
                               "Nadia", "Old Timer", "pete", "Quentin", "RallyRita", "Søren", "Tomás"};
const char* const kTitles[] = {"Junior Member", "Member", "Senior Member", "Moderator", "Administrator",
                                "Banned", "Registered User"};
const char* const kDates[] = {"Today", "Yesterday", "03-14-2023", "11-02-2022", "01-30-2024", "07-07-2021"};

// Writes JSON the way the forum's encoder does, optionally escaping "/" and
// every non-ASCII character as \uXXXX.
class Emitter {
public:
    explicit Emitter(bool escapeAll) : m_escapeAll(escapeAll) {}

    void open(char c)
    {
        separate();
        m_out += c;
        m_first.push_back(true);
    }
    void close(char c)
    {
        m_out += c;
        m_first.pop_back();
    }
    void key(std::string_view k)
    {
        separate();
        text(k);
        m_out += ':';
        m_afterKey = true;
    }
    void string(std::string_view s)
    {
        separate();
        text(s);
    }
    void integer(int64_t n)
    {
        separate();
        m_out += std::to_string(n);
    }
    void raw(std::string_view token)
    {
        separate();
        m_out += token;
    }
    void boolean(bool b) { raw(b ? "true" : "false"); }

    std::string& out() { return m_out; }

private:
    void separate()
    {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        if (m_first.empty())
            return;
        if (!m_first.back())
            m_out += ',';
        m_first.back() = false;
    }

    void text(std::string_view s)
    {
        static const char hex[] = "0123456789abcdef";
        m_out += '"';
        for (size_t i = 0; i < s.size(); ++i) {
            const auto c = static_cast<unsigned char>(s[i]);
            if (c == '"' || c == '\\') {
                m_out += '\\';
                m_out += char(c);
            } else if (c == '/' && m_escapeAll) {
                m_out += "\\/";
            } else if (c == '\n') {
                m_out += "\\n";
            } else if (c == '\r') {
                m_out += "\\r";
            } else if (c == '\t') {
                m_out += "\\t";
            } else if (c < 0x20) {
                m_out += "\\u00";
                m_out += hex[c >> 4];
                m_out += hex[c & 15];
            } else if (c >= 0x80 && m_escapeAll) {
                // Decode one UTF-8 character and write it as one or two escapes.
                const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
                uint32_t code = c & (0x7F >> length);
                for (int k = 1; k < length; ++k)
                    code = (code << 6) | (static_cast<unsigned char>(s[i + size_t(k)]) & 0x3F);
                i += size_t(length - 1);
                auto quad = [this](uint32_t unit) {
                    m_out += "\\u";
                    for (int shift = 12; shift >= 0; shift -= 4)
                        m_out += hex[(unit >> shift) & 15];
                };
                if (code >= 0x10000) {
                    code -= 0x10000;
                    quad(0xD800 + (code >> 10));
                    quad(0xDC00 + (code & 0x3FF));
                } else {
                    quad(code);
                }
            } else {
                m_out += char(c);
            }
        }
        m_out += '"';
    }

    bool m_escapeAll;
    bool m_afterKey = false;
    std::vector<bool> m_first;
    std::string m_out;
};

std::string sentence(Random& r, int words)
{
    std::string s;
    for (int i = 0; i < words; ++i) {
        if (i)
            s += ' ';
        std::string w = r.pick(kWords);
        if (i == 0 && w[0] >= 'a' && w[0] <= 'z')
            w[0] = char(w[0] - 'a' + 'A');
        s += w;
        if (r.chance(8))
            s += ',';
    }
    s += r.chance(80) ? "." : "?";
    return s;
}

// At most the given number of bytes, cut between two characters.
std::string prefix(std::string text, size_t bytes)
{
    if (text.size() <= bytes)
        return text;
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80)
        --bytes;
    text.resize(bytes);
    return text;
}

// A post body with the forum's markup: quotes, links, pictures, line breaks.
std::string message(Random& r, int sentences)
{
    std::string m;
    if (r.chance(30)) {
        m += "[QUOTE=" + std::string(r.pick(kNames)) + ";" + std::to_string(r.between(100000, 999999)) + "]";
        m += sentence(r, r.between(6, 25)) + "[/QUOTE]\n";
    }
    for (int i = 0; i < sentences; ++i) {
        m += sentence(r, r.between(4, 22));
        m += r.chance(25) ? "\n\n" : " ";
        if (r.chance(6))
            m += "[URL=\"https://www.example-forum.org/threads/" + std::to_string(r.between(1000, 99999)) +
                 "-some-thread-title\"]" + sentence(r, 3) + "[/URL] ";
        if (r.chance(4))
            m += "[IMG]https://img.example-forum.org/attachments/" + std::to_string(r.between(10000, 99999)) +
                 "/photo.jpg[/IMG]\n";
        if (r.chance(3))
            m += "[B]" + sentence(r, 4) + "[/B] ";
    }
    return m;
}

void user(Emitter& e, Random& r, const char* idKey, const char* nameKey)
{
    e.key(idKey);
    e.integer(r.between(1, 250000));
    e.key(nameKey);
    e.string(r.pick(kNames));
}

void avatar(Emitter& e, Random& r)
{
    e.key("avatarurl");
    e.string("https://www.example-forum.org/customavatars/avatar" + std::to_string(r.between(1, 250000)) + "_" +
             std::to_string(r.between(1, 9)) + ".gif");
}

void post(Emitter& e, Random& r, int threadId)
{
    e.open('{');
    e.key("postid");
    e.integer(r.between(1000000, 9999999));
    e.key("threadid");
    e.integer(threadId);
    user(e, r, "userid", "username");
    e.key("usertitle");
    e.string(r.pick(kTitles));
    avatar(e, r);
    e.key("onlinestatus");
    e.integer(r.below(2));
    e.key("posttime");
    e.string(std::to_string(r.between(1500000000, 1700000000)));
    e.key("postdate");
    e.string(r.pick(kDates));
    e.key("title");
    e.string(r.chance(20) ? "Re: " + sentence(r, 5) : "");
    const std::string text = message(r, r.between(1, 18));
    e.key("message");
    e.string(text);
    e.key("message_bbcode");
    e.string(text);
    e.key("signature");
    e.string(r.chance(50) ? sentence(r, r.between(3, 12)) : "");
    e.key("joindate");
    e.string(r.pick(kDates));
    e.key("posts");
    e.string(std::to_string(r.between(1, 25000)));
    e.key("reputation");
    e.integer(r.between(-20, 2000));
    e.key("likes");
    e.open('[');
    for (int i = r.chance(60) ? 0 : r.between(1, 6); i > 0; --i) {
        e.open('{');
        user(e, r, "userid", "username");
        e.close('}');
    }
    e.close(']');
    e.key("attachments");
    e.open('[');
    for (int i = r.chance(85) ? 0 : r.between(1, 3); i > 0; --i) {
        e.open('{');
        e.key("attachmentid");
        e.integer(r.between(10000, 99999));
        e.key("filename");
        e.string("IMG_" + std::to_string(r.between(1000, 9999)) + ".jpg");
        e.key("filesize");
        e.integer(r.between(20000, 4000000));
        e.key("thumbnail_url");
        e.string("https://img.example-forum.org/attachments/thumb/" + std::to_string(r.between(10000, 99999)) +
                 ".jpg");
        e.close('}');
    }
    e.close(']');
    e.key("can_edit");
    e.boolean(r.chance(10));
    e.key("isdeleted");
    e.boolean(false);
    e.close('}');
}

void pageNav(Emitter& e, Random& r, int perPage)
{
    e.key("pagenav");
    e.open('{');
    e.key("pagenumber");
    e.integer(r.between(1, 20));
    e.key("totalpages");
    e.integer(r.between(20, 60));
    e.key("perpage");
    e.integer(perPage);
    e.close('}');
}

void session(Emitter& e, Random& r)
{
    e.key("session");
    e.open('{');
    e.key("userid");
    e.integer(r.between(1, 250000));
    e.key("sessionhash");
    std::string hash;
    for (int i = 0; i < 32; ++i)
        hash += "0123456789abcdef"[r.below(16)];
    e.string(hash);
    e.close('}');
}

QByteArray threadPage(Random& r)
{
    Emitter e(false);
    e.open('{');
    e.key("response");
    e.open('{');
    e.key("thread");
    e.open('{');
    const int threadId = r.between(100000, 999999);
    e.key("threadid");
    e.integer(threadId);
    e.key("title");
    e.string(sentence(r, 8));
    e.key("forumid");
    e.integer(r.between(1, 300));
    e.key("replycount");
    e.integer(r.between(40, 2000));
    e.key("views");
    e.integer(r.between(100, 200000));
    e.key("open");
    e.boolean(true);
    e.key("sticky");
    e.boolean(false);
    e.close('}');
    pageNav(e, r, 40);
    e.key("postbits");
    e.open('[');
    for (int i = 0; i < 40; ++i)
        post(e, r, threadId);
    e.close(']');
    e.close('}');
    session(e, r);
    e.close('}');
    return QByteArray::fromStdString(e.out());
}

QByteArray threadList(Random& r)
{
    Emitter e(true);
    e.open('{');
    e.key("response");
    e.open('{');
    e.key("forum");
    e.open('{');
    e.key("forumid");
    e.integer(r.between(1, 300));
    e.key("title");
    e.string(sentence(r, 3));
    e.close('}');
    e.key("threadbits");
    e.open('[');
    for (int i = 0; i < 30; ++i) {
        e.open('{');
        e.key("threadid");
        e.integer(r.between(100000, 999999));
        e.key("title");
        e.string(sentence(r, r.between(3, 12)));
        e.key("prefix");
        e.string(r.chance(20) ? "[SOLVED]" : "");
        e.key("starter");
        e.open('{');
        user(e, r, "userid", "username");
        e.close('}');
        e.key("lastpost");
        e.open('{');
        user(e, r, "userid", "username");
        e.key("dateline");
        e.integer(r.between(1500000000, 1700000000));
        e.key("postid");
        e.integer(r.between(1000000, 9999999));
        e.close('}');
        e.key("replycount");
        e.integer(r.between(0, 3000));
        e.key("views");
        e.integer(r.between(0, 300000));
        e.key("preview");
        e.string(prefix(message(r, 2), 250));
        e.key("sticky");
        e.boolean(r.chance(5));
        e.key("open");
        e.boolean(r.chance(95));
        e.key("rating");
        e.raw(std::to_string(r.between(0, 5)) + "." + std::to_string(r.below(100)));
        e.key("attach");
        e.integer(r.below(3));
        e.key("icon");
        e.string("https://www.example-forum.org/images/icons/icon" + std::to_string(r.between(1, 14)) + ".png");
        e.close('}');
    }
    e.close(']');
    pageNav(e, r, 30);
    e.close('}');
    session(e, r);
    e.close('}');
    return QByteArray::fromStdString(e.out());
}

void forum(Emitter& e, Random& r, int& remaining, int level)
{
    --remaining;
    e.open('{');
    e.key("forumid");
    e.integer(300 - remaining);
    e.key("title");
    e.string(sentence(r, r.between(1, 4)));
    e.key("description");
    e.string(sentence(r, r.between(4, 20)));
    e.key("threadcount");
    e.integer(r.between(0, 50000));
    e.key("replycount");
    e.integer(r.between(0, 900000));
    e.key("is_category");
    e.boolean(level == 0);
    e.key("is_link");
    e.boolean(false);
    e.key("new_posts");
    e.boolean(r.chance(40));
    e.key("lastpost");
    e.open('{');
    e.key("threadid");
    e.integer(r.between(100000, 999999));
    e.key("threadtitle");
    e.string(sentence(r, r.between(3, 10)));
    user(e, r, "userid", "username");
    e.key("dateline");
    e.integer(r.between(1500000000, 1700000000));
    e.close('}');
    e.key("subforums");
    e.open('[');
    const int children = level == 0 ? 24 : level == 1 ? (r.chance(25) ? r.between(1, 4) : 0) : 0;
    for (int i = 0; i < children && remaining > 0; ++i)
        forum(e, r, remaining, level + 1);
    e.close(']');
    e.close('}');
}

QByteArray forumTree(Random& r)
{
    Emitter e(false);
    e.open('{');
    e.key("response");
    e.open('{');
    e.key("forumbits");
    e.open('[');
    int remaining = 300;
    while (remaining > 0)
        forum(e, r, remaining, 0);
    e.close(']');
    e.close('}');
    session(e, r);
    e.close('}');
    return QByteArray::fromStdString(e.out());
}

QByteArray profile(Random& r)
{
    Emitter e(true);
    e.open('{');
    e.key("response");
    e.open('{');
    e.key("prepared");
    e.open('{');
    user(e, r, "userid", "username");
    e.key("usertitle");
    e.string(r.pick(kTitles));
    avatar(e, r);
    e.key("joindate");
    e.string(r.pick(kDates));
    e.key("lastactivity");
    e.integer(r.between(1500000000, 1700000000));
    e.key("posts");
    e.integer(r.between(0, 30000));
    e.key("reputation");
    e.integer(r.between(0, 5000));
    e.key("birthday");
    e.string("1984-07-0" + std::to_string(r.between(1, 9)));
    for (const char* field : {"location", "interests", "occupation", "signature"}) {
        e.key(field);
        e.string(sentence(r, r.between(2, 10)));
    }
    e.key("about");
    e.string(message(r, 8));
    e.key("friends");
    e.open('[');
    for (int i = 0; i < 50; ++i) {
        e.open('{');
        user(e, r, "userid", "username");
        avatar(e, r);
        e.close('}');
    }
    e.close(']');
    e.key("visitor_messages");
    e.open('[');
    for (int i = 0; i < 20; ++i) {
        e.open('{');
        e.key("vmid");
        e.integer(r.between(1000, 99999));
        user(e, r, "fromuserid", "fromusername");
        e.key("message");
        e.string(message(r, r.between(1, 3)));
        e.key("dateline");
        e.integer(r.between(1500000000, 1700000000));
        e.close('}');
    }
    e.close(']');
    e.close('}');
    e.close('}');
    session(e, r);
    e.close('}');
    return QByteArray::fromStdString(e.out());
}

QByteArray searchResults(Random& r)
{
    Emitter e(true);
    e.open('{');
    e.key("response");
    e.open('{');
    e.key("searchid");
    e.integer(r.between(100000, 999999));
    e.key("totalresults");
    e.integer(250);
    e.key("results");
    e.open('[');
    for (int i = 0; i < 25; ++i) {
        e.open('{');
        e.key("postid");
        e.integer(r.between(1000000, 9999999));
        e.key("threadid");
        e.integer(r.between(100000, 999999));
        e.key("threadtitle");
        e.string(sentence(r, r.between(3, 10)));
        e.key("forumid");
        e.integer(r.between(1, 300));
        e.key("forumtitle");
        e.string(sentence(r, 2));
        user(e, r, "userid", "username");
        e.key("dateline");
        e.integer(r.between(1500000000, 1700000000));
        e.key("snippet");
        e.string(sentence(r, 12) + " <b>" + r.pick(kWords) + "</b> " + sentence(r, 14));
        e.key("relevance");
        e.raw("0." + std::to_string(r.between(1000, 9999)));
        e.close('}');
    }
    e.close(']');
    pageNav(e, r, 25);
    e.close('}');
    session(e, r);
    e.close('}');
    return QByteArray::fromStdString(e.out());
}

std::string hex(Random& r, int digits)
{
    std::string text;
    for (int i = 0; i < digits; ++i)
        text += "0123456789abcdef"[r.below(16)];
    return text;
}

void flags(Emitter& e, Random& r, const char* const* names, size_t count)
{
    e.open('{');
    for (size_t i = 0; i < count; ++i) {
        e.key(names[i]);
        e.boolean(r.chance(70));
    }
    e.close('}');
}

// The answer that opens a session: tokens, the forum's name and settings,
// what it shows and which content types it has. The first answer of a run.
QByteArray sessionOpening(Random& r)
{
    static const char* const shown[] = {"registration", "search", "blogs", "articles", "privatemessages",
                                        "socialnetwork", "albums", "friends", "notices"};
    static const char* const features[] = {"blogenabled",      "cmsenabled",          "pmsenabled",
                                           "searchesenabled",  "groupsenabled",       "albumsenabled",
                                           "friendsenabled",   "visitor_trackingenabled",
                                           "visitor_messagingenabled", "multitypesearch", "taggingenabled",
                                           "paidsubs"};
    static const char* const types[] = {"Article", "BlogEntry", "Post", "Forum", "BlogComment",
                                        "VisitorMessage", "Picture", "Album", "SocialGroup", "Event"};
    Emitter e(true);
    e.open('{');
    e.key("apiversion");
    e.integer(6);
    e.key("apiaccesstoken");
    e.string(hex(r, 32));
    e.key("secret");
    e.string(hex(r, 32));
    e.key("apiclientid");
    e.integer(r.between(1, 250000));
    e.key("bbtitle");
    e.string("The Example Forum — Engines, Gearboxes & Garages");
    e.key("bburl");
    e.string("https://www.example-forum.org/forum");
    e.key("bbactive");
    e.boolean(true);
    e.key("bbclosedreason");
    e.string("");
    e.key("forumhome");
    e.string("index");
    e.key("murmoraversion");
    e.string("4.2.5");
    e.key("murmoraversionname");
    e.string("4.2.5 Patch Level 3");
    e.key("show");
    flags(e, r, shown, std::size(shown));
    e.key("features");
    flags(e, r, features, std::size(features));
    e.key("contenttypes");
    e.open('{');
    for (const char* type : types) {
        e.key(type);
        e.integer(r.between(1, 40));
    }
    e.close('}');
    e.key("threads_perpage");
    e.integer(20);
    e.key("posts_perpage");
    e.integer(10);
    e.key("search_perpage");
    e.integer(10);
    e.key("postminchars");
    e.integer(2);
    e.key("titlemaxchars");
    e.integer(85);
    e.close('}');
    return QByteArray::fromStdString(e.out());
}

// The answer to a sign-in: the session and the member.
QByteArray signIn(Random& r)
{
    Emitter e(true);
    e.open('{');
    e.key("session");
    e.open('{');
    e.key("userid");
    e.string(std::to_string(r.between(1, 250000)));
    e.key("dbsessionhash");
    e.string(hex(r, 32));
    e.close('}');
    e.key("response");
    e.open('{');
    e.key("errormessage");
    e.string("redirect_login");
    user(e, r, "userid", "username");
    e.key("usertitle");
    e.string(r.pick(kTitles));
    avatar(e, r);
    e.close('}');
    e.close('}');
    return QByteArray::fromStdString(e.out());
}

// Many thread pages' posts in one answer, as an export or a long archive page.
QByteArray largeFile(Random& r)
{
    Emitter e(false);
    e.open('{');
    e.key("response");
    e.open('{');
    e.key("posts");
    e.open('[');
    while (e.out().size() < 20'000'000)
        post(e, r, r.between(100000, 999999));
    e.close(']');
    e.close('}');
    e.close('}');
    return QByteArray::fromStdString(e.out());
}

}  // namespace

namespace ForumCorpus {

std::vector<CorpusFile> generate()
{
    Random r(0x5eed'f0a0'2024ULL);
    // The small answers draw on a generator of their own, so that the bigger
    // ones keep their bytes.
    Random small(0x5e55'10e0'2024ULL);
    std::vector<CorpusFile> files;
    files.push_back({QStringLiteral("session opening"), sessionOpening(small)});
    files.push_back({QStringLiteral("sign-in"), signIn(small)});
    files.push_back({QStringLiteral("thread page"), threadPage(r)});
    files.push_back({QStringLiteral("thread list"), threadList(r)});
    files.push_back({QStringLiteral("forum tree"), forumTree(r)});
    files.push_back({QStringLiteral("profile"), profile(r)});
    files.push_back({QStringLiteral("search results"), searchResults(r)});
    files.push_back({QStringLiteral("20 MB file"), largeFile(r)});
    return files;
}

}  // namespace ForumCorpus
