#include "app/json/ZyJsonParser.h"

#include "app/json/DecimalText.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

bool isWhitespace(uchar c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}

bool isDigit(uchar c)
{
    return unsigned(c) - '0' < 10u;
}

int hexDigit(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The first quote, backslash or control byte at or after p: what ends a plain
// run inside a string. The end when there is none.
const uchar* findRunEnd(const uchar* p, const uchar* end)
{
#ifdef __SSE2__
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes);
        const __m128i special =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)), control);
        if (const int mask = _mm_movemask_epi8(special))
            return p + __builtin_ctz(unsigned(mask));
        p += 16;
    }
#endif
    while (p < end && *p != '"' && *p != '\\' && *p >= 0x20)
        ++p;
    return p;
}

// The offset of the first byte that is no part of well-formed UTF-8 (no
// overlong forms, no surrogates, nothing above U+10FFFF), or -1.
qsizetype invalidUtf8At(const uchar* begin, const uchar* end)
{
    const uchar* p = begin;
    while (p < end) {
#ifdef __SSE2__
        // Sixteen bytes at a time up to the next byte that is not ASCII.
        while (end - p >= 16) {
            const int high = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
            if (high != 0) {
                p += __builtin_ctz(unsigned(high));
                break;
            }
            p += 16;
        }
        if (p >= end)
            break;
#endif
        const uchar lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        qsizetype length = 0;
        uchar low = 0x80;
        uchar high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return p - begin;
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return p - begin;
        for (qsizetype k = 2; k < length; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return p - begin;
        }
        p += length;
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// The character starting at p, in text known to be valid UTF-8; 0 at the end.
char32_t characterAt(const uchar* p, const uchar* end)
{
    if (p >= end)
        return 0;
    const uchar lead = *p;
    if (lead < 0x80)
        return lead;
    const int length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = lead & (0x7F >> length);
    for (int k = 1; k < length && p + k < end; ++k)
        c = (c << 6) | (p[k] & 0x3F);
    return c;
}

QByteArrayView bytesBetween(const uchar* begin, const uchar* end)
{
    return QByteArrayView(reinterpret_cast<const char*>(begin), end - begin);
}

quint64 load64(const char* p)
{
    quint64 word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

quint32 load32(const char* p)
{
    quint32 word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// The 1 to 7 bytes of a short key as one word, read in at most two loads.
// Two keys of the same length have the same word only when their bytes match.
quint64 loadShort(const char* p, size_t length)
{
    if (length >= 4)
        return load32(p) | (quint64(load32(p + length - 4)) << 32);
    return uchar(p[0]) | (quint64(uchar(p[length / 2])) << 8) | (quint64(uchar(p[length - 1])) << 16);
}

bool sameBytes(const char* a, const char* b, size_t length)
{
    if (length < 8)
        return length == 0 || loadShort(a, length) == loadShort(b, length);
    for (size_t i = 0; i + 8 < length; i += 8) {
        if (load64(a + i) != load64(b + i))
            return false;
    }
    return load64(a + length - 8) == load64(b + length - 8);
}

// The keys of every answer, made into QStrings once per process: a forum
// sends the same few hundred keys again and again. The pool's texts are never
// freed, so their QStrings share them without reference counting; past a
// bound (hostile input may send any number of keys) keys are plain QStrings.
class KeyPool {
public:
    static KeyPool& shared()
    {
        static KeyPool* pool = new KeyPool;  // outlives every value that shares its texts
        return *pool;
    }

    QString key(QByteArrayView utf8)
    {
        if (utf8.isEmpty())
            return QString();
        const QByteArray bytes = utf8.toByteArray();
        const QString text = utf8ToQString(utf8);
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto known = m_keys.constFind(bytes);
        if (known != m_keys.constEnd())
            return *known;
        if (m_used + size_t(text.size()) + 1 > kCapacity)
            return text;
        char16_t* stored = m_storage.get() + m_used;
        std::memcpy(stored, text.utf16(), sizeof(char16_t) * size_t(text.size()));
        stored[text.size()] = 0;
        m_used += size_t(text.size()) + 1;
        const QString shared = QString::fromRawData(reinterpret_cast<const QChar*>(stored), text.size());
        m_keys.insert(bytes, shared);
        return shared;
    }

private:
    static constexpr size_t kCapacity = 64 * 1024;  // UTF-16 units

    KeyPool() : m_storage(std::make_unique<char16_t[]>(kCapacity)) {}

    std::mutex m_mutex;
    std::unique_ptr<char16_t[]> m_storage;
    size_t m_used = 0;
    QHash<QByteArray, QString> m_keys;
};

constexpr quint32 kNoKey = 0xFFFFFFFF;

}  // namespace

// An open array or object: where its elements (and, for an object, its keys)
// begin in the shared scratch lists.
struct ZyJsonParser::Frame {
    bool isObject;
    quint32 valueStart;
    quint32 keyStart;
    quint32 lastKey = kNoKey;  // in an object: the number of its latest key
};

// The keys of one document, each made into a QString once and shared by
// every object that uses it. It also merges repeated keys of an object in
// one pass: a key remembers the last object that took it, and where.
class ZyJsonParser::KeyTable {
public:
    static constexpr quint32 kLoose = kNoKey;

    KeyTable() : m_slots(64, 0) { std::fill(std::begin(m_firstKeys), std::end(m_firstKeys), kLoose); }

    void reset()
    {
        if (m_entries.empty())
            return;
        m_entries.clear();
        m_bytes.clear();
        std::fill(m_slots.begin(), m_slots.end(), 0);
        std::fill(std::begin(m_firstKeys), std::end(m_firstKeys), kLoose);
    }

    // As intern(bytes), for the key that follows the key numbered previous
    // (kLoose for an object's first key) at a depth. Objects of one kind
    // repeat their keys in one order, so the key that followed last time is
    // tried before any hashing.
    quint32 internAfter(QByteArrayView bytes, quint32 previous, size_t depth)
    {
        quint32& successor = previous != kLoose ? m_entries[previous].next : m_firstKeys[std::min(depth, kDepths - 1)];
        const quint32 guess = successor;
        if (guess != kLoose && m_entries[guess].length == quint32(bytes.size()) &&
            sameBytes(m_bytes.data() + m_entries[guess].offset, bytes.data(), size_t(bytes.size())))
            return guess;
        const quint32 id = intern(bytes);
        // Entries may have moved while a new key was added.
        (previous != kLoose ? m_entries[previous].next : m_firstKeys[std::min(depth, kDepths - 1)]) = id;
        return id;
    }

    // The number of the key with these UTF-8 bytes, made on first sight; or
    // kLoose for a key the table does not keep (a very long one, or any new
    // one once the table is full).
    quint32 intern(QByteArrayView bytes)
    {
        if (bytes.size() > kLongestKey)
            return kLoose;
        const quint32 hash = hashOf(bytes);
        const size_t mask = m_slots.size() - 1;
        size_t slot = hash & mask;
        for (; m_slots[slot] != 0; slot = (slot + 1) & mask) {
            if (quint32(m_slots[slot] >> 32) != hash)
                continue;
            const quint32 id = quint32(m_slots[slot]) - 1;
            const Entry& entry = m_entries[id];
            if (entry.length == quint32(bytes.size()) &&
                sameBytes(m_bytes.data() + entry.offset, bytes.data(), size_t(bytes.size())))
                return id;
        }
        if (m_entries.size() >= kMostKeys)
            return kLoose;
        const quint32 id = quint32(m_entries.size());
        // A document's first keys are field names; once it has many, the rest
        // are data (ids as keys, say) that the process need not keep.
        QString key = m_entries.size() < kPooled ? KeyPool::shared().key(bytes) : utf8ToQString(bytes);
        m_entries.push_back(Entry{std::move(key), hash, quint32(m_bytes.size()), quint32(bytes.size()), 0, 0, kLoose});
        m_bytes.append(bytes.data(), size_t(bytes.size()));
        if (m_entries.size() * 2 > m_slots.size())
            grow();
        else
            m_slots[slot] = slotFor(hash, id);
        return id;
    }

    const QString& key(quint32 id) const { return m_entries[id].key; }

    // Marks the key as taken by the object numbered serial at the position;
    // answers the earlier position when that object took it already.
    std::optional<quint32> take(quint32 id, quint32 serial, quint32 position)
    {
        Entry& entry = m_entries[id];
        if (entry.serial == serial)
            return entry.position;
        entry.serial = serial;
        entry.position = position;
        return std::nullopt;
    }

    quint32 nextSerial() { return ++m_serial; }

private:
    static constexpr qsizetype kLongestKey = 64;
    static constexpr size_t kMostKeys = 4096;
    static constexpr size_t kPooled = 256;

    struct Entry {
        QString key;
        quint32 hash;
        quint32 offset;
        quint32 length;
        quint32 serial;
        quint32 position;
        quint32 next;  // the key that followed this one last time
    };

    static quint32 hashOf(QByteArrayView bytes)
    {
        constexpr quint64 multiplier = 0x9E3779B97F4A7C15ull;
        const char* p = bytes.data();
        const size_t length = size_t(bytes.size());
        quint64 hash = (length + 1) * multiplier;
        if (length < 8) {
            hash = (hash ^ (length ? loadShort(p, length) : 0)) * multiplier;
        } else {
            for (size_t i = 0; i + 8 < length; i += 8)
                hash = ((hash ^ load64(p + i)) * multiplier) ^ (hash >> 29);
            hash = (hash ^ load64(p + length - 8)) * multiplier;
        }
        return quint32(hash ^ (hash >> 32));
    }

    void grow()
    {
        m_slots.assign(m_slots.size() * 2, 0);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = 0; i < m_entries.size(); ++i) {
            size_t slot = m_entries[i].hash & mask;
            while (m_slots[slot] != 0)
                slot = (slot + 1) & mask;
            m_slots[slot] = slotFor(m_entries[i].hash, quint32(i));
        }
    }

    static constexpr size_t kDepths = 32;

    std::vector<Entry> m_entries;
    std::string m_bytes;
    quint32 m_firstKeys[kDepths];
    // The key's hash above its entry number + 1, so that most misses need no
    // look at the entry; 0 for a free slot.
    static quint64 slotFor(quint32 hash, quint32 id) { return (quint64(hash) << 32) | (id + 1); }
    std::vector<quint64> m_slots;
    quint32 m_serial = 0;
};

ZyJsonParser::ZyJsonParser() : m_keyTable(std::make_unique<KeyTable>()) {}
ZyJsonParser::~ZyJsonParser() = default;

Value ZyJsonParser::objectWithString(const QString& text)
{
    return objectFrom(fragmentWithString(text));
}

Value ZyJsonParser::objectWithUTF8(QByteArrayView json)
{
    return objectFrom(fragmentWithUTF8(json));
}

Value ZyJsonParser::objectFrom(Value fragment)
{
    if (fragment.isDict() || fragment.isList())
        return fragment;
    if (!fragment.isAbsent())
        addErrorWithCode(ErrorFragment, QStringLiteral("Valid fragment, but not JSON"));
    return Value();
}

Value ZyJsonParser::fragmentWithString(const QString& text)
{
    clearErrorTrace();
    if (text.isNull()) {
        addErrorWithCode(ErrorInput, QStringLiteral("Input was 'nil'"));
        return Value();
    }
    // The UTF-8 form of a text is well-formed by construction.
    const QByteArray bytes = text.toUtf8();
    return parse(bytes);
}

Value ZyJsonParser::fragmentWithUTF8(QByteArrayView json)
{
    clearErrorTrace();
    if (json.isNull()) {
        addErrorWithCode(ErrorInput, QStringLiteral("Input was 'nil'"));
        return Value();
    }
    const auto* bytes = reinterpret_cast<const uchar*>(json.data());
    const qsizetype invalid = invalidUtf8At(bytes, bytes + json.size());
    if (invalid >= 0) {
        addErrorWithCode(ErrorInput, QStringLiteral("Input was not valid UTF-8 at byte %1").arg(invalid));
        return Value();
    }
    // A byte-order mark in front marks the encoding and is no part of the
    // text, as when the bytes are decoded to text first.
    if (json.startsWith("\xEF\xBB\xBF"))
        json = json.sliced(3);
    return parse(json);
}

Value ZyJsonParser::parse(QByteArrayView json)
{
    resetDepth();
    m_pos = reinterpret_cast<const uchar*>(json.data());
    m_end = m_pos + json.size();
    m_keyTable->reset();

    Value value;
    bool ok = scanDocument(value);
    if (ok) {
        skipWhitespace();
        if (!atEnd()) {
            addErrorWithCode(ErrorTrailingGarbage, QStringLiteral("Garbage after JSON"));
            ok = false;
        }
    }
    // A failure leaves the open arrays and objects behind; a success leaves
    // nothing. Either way the document's keys are no longer shared from here.
    m_frames.clear();
    m_values.clear();
    m_keys.clear();
    m_keyIds.clear();
    m_entries.clear();
    m_keyTable->reset();
    m_pos = m_end = nullptr;
    m_text = QByteArrayView();
    return ok ? value : Value();
}

void ZyJsonParser::skipWhitespace()
{
    while (m_pos < m_end && isWhitespace(*m_pos))
        ++m_pos;
}

bool ZyJsonParser::skipLiteral(const char* rest, size_t length)
{
    if (size_t(m_end - m_pos) < length || std::memcmp(m_pos, rest, length) != 0)
        return false;
    m_pos += length;
    return true;
}

bool ZyJsonParser::fail(int code, const char* description)
{
    addErrorWithCode(code, QString::fromLatin1(description));
    return false;
}

bool ZyJsonParser::failInFrame(int code, const char* description)
{
    fail(code, description);
    const size_t enclosing = m_frames.size() - 1;
    // The innermost frame stays on the stack: the enclosing ones measure
    // their own elements up to where it begins.
    for (size_t i = enclosing; i-- > 0;) {
        const Frame& frame = m_frames[i];
        if (!frame.isObject) {
            fail(ErrorParse, "Expected value while parsing array");
            continue;
        }
        const size_t elements = m_frames[i + 1].valueStart - frame.valueStart;
        addErrorWithCode(ErrorParse, QStringLiteral("Object value expected for key: ") + m_keys[frame.keyStart + elements]);
    }
    return false;
}

bool ZyJsonParser::unwind()
{
    for (size_t i = m_frames.size(); i-- > 0;) {
        const Frame& frame = m_frames[i];
        if (!frame.isObject) {
            fail(ErrorParse, "Expected value while parsing array");
            continue;
        }
        const size_t end = i + 1 < m_frames.size() ? m_frames[i + 1].valueStart : m_values.size();
        addErrorWithCode(ErrorParse,
                         QStringLiteral("Object value expected for key: ") + m_keys[frame.keyStart + (end - frame.valueStart)]);
    }
    return false;
}

// One loop for the whole document: reading a value either finishes a scalar
// or opens a container; then the innermost open container takes a separator,
// its end, or (in an object) the next key before the next value.
bool ZyJsonParser::scanDocument(Value& result)
{
    Value value;
    for (;;) {
        // A value is expected here.
        skipWhitespace();
        if (atEnd()) {
            fail(ErrorEndOfInput, "Unexpected end of string");
            return unwind();
        }
        const uchar c = *m_pos;
        bool afterElement = false;
        if (c == '[' || c == '{') {
            ++m_pos;
            if (!enterLevel())
                return unwind();
            m_frames.push_back(Frame{c == '{', quint32(m_values.size()), quint32(m_keys.size())});
        } else {
            if (!scanScalar(value))
                return unwind();
            if (m_frames.empty()) {
                result = std::move(value);
                return true;
            }
            m_values.push_back(std::move(value));
            afterElement = true;
        }

        for (;;) {
            if (afterElement) {
                skipWhitespace();
                if (peek() == ',') {
                    ++m_pos;
                    skipWhitespace();
                    const bool isObject = m_frames.back().isObject;
                    if (peek() == (isObject ? '}' : ']'))
                        return failInFrame(ErrorTrailingComma, isObject ? "Trailing comma disallowed in object"
                                                                        : "Trailing comma disallowed in array");
                }
            }
            const bool isObject = m_frames.back().isObject;
            if (atEnd())
                return failInFrame(ErrorEndOfInput,
                                   isObject ? "End of input while parsing object" : "End of input while parsing array");
            skipWhitespace();
            if (peek() == (isObject ? '}' : ']')) {
                ++m_pos;
                leaveLevel();
                if (isObject)
                    closeObject();
                else
                    closeArray();
                // The closed container is the last value of the scratch list.
                if (m_frames.empty()) {
                    result = std::move(m_values.back());
                    m_values.pop_back();
                    return true;
                }
                afterElement = true;
                continue;
            }
            if (isObject) {
                if (peek() != '"')
                    return failInFrame(ErrorParse, "Object key string expected");
                ++m_pos;
                if (!scanRestOfString())
                    return failInFrame(ErrorParse, "Object key string expected");
                Frame& frame = m_frames.back();
                const quint32 id = m_keyTable->internAfter(m_text, frame.lastKey, m_frames.size());
                frame.lastKey = id;
                m_keyIds.push_back(id);
                if (id != KeyTable::kLoose)
                    m_keys.push_back(m_keyTable->key(id));
                else
                    m_keys.push_back(utf8ToQString(m_text));
                skipWhitespace();
                if (peek() != ':')
                    return failInFrame(ErrorParse, "Expected ':' separating key and value");
                ++m_pos;
            }
            break;
        }
    }
}

void ZyJsonParser::closeArray()
{
    const Frame frame = m_frames.back();
    m_frames.pop_back();
    const auto first = m_values.begin() + frame.valueStart;
    ValueList list(std::make_move_iterator(first), std::make_move_iterator(m_values.end()));
    m_values.erase(first, m_values.end());
    m_values.emplace_back(std::move(list));
}

void ZyJsonParser::closeObject()
{
    const Frame frame = m_frames.back();
    m_frames.pop_back();
    const size_t count = m_values.size() - frame.valueStart;
    std::vector<ValueDict::Entry>& entries = m_entries;
    // A repeated key keeps its first position and takes the last value.
    const quint32 serial = m_keyTable->nextSerial();
    // Keys the table does not keep can only repeat each other: they are
    // looked up among themselves.
    QHash<QString, quint32> loose;
    for (size_t i = 0; i < count; ++i) {
        QString& key = m_keys[frame.keyStart + i];
        Value& value = m_values[frame.valueStart + i];
        const quint32 id = m_keyIds[frame.keyStart + i];
        const quint32 position = quint32(entries.size());
        std::optional<quint32> earlier;
        if (id != KeyTable::kLoose) {
            earlier = m_keyTable->take(id, serial, position);
        } else {
            const auto known = loose.constFind(key);
            if (known != loose.constEnd())
                earlier = *known;
            else
                loose.insert(key, position);
        }
        if (earlier)
            entries[*earlier].second = std::move(value);
        else
            entries.emplace_back(std::move(key), std::move(value));
    }
    m_values.erase(m_values.begin() + frame.valueStart, m_values.end());
    m_keys.erase(m_keys.begin() + frame.keyStart, m_keys.end());
    m_keyIds.erase(m_keyIds.begin() + frame.keyStart, m_keyIds.end());
    m_values.push_back(Value::dictionaryOfDistinctEntries(entries.data(), qsizetype(entries.size())));
    entries.clear();
}

bool ZyJsonParser::scanScalar(Value& value)
{
    const uchar c = *m_pos;
    switch (c) {
    case '"':
        ++m_pos;
        if (!scanRestOfString())
            return false;
        value = Value::textFromValidUtf8(m_text);
        return true;
    case 't':
        ++m_pos;
        if (!skipLiteral("rue", 3))
            return fail(ErrorParse, "Expected 'true'");
        value = Value(true);
        return true;
    case 'f':
        ++m_pos;
        if (!skipLiteral("alse", 4))
            return fail(ErrorParse, "Expected 'false'");
        value = Value(false);
        return true;
    case 'n':
        ++m_pos;
        if (!skipLiteral("ull", 3))
            return fail(ErrorParse, "Expected 'null'");
        value = Value::null();
        return true;
    case '+':
        return fail(ErrorNumber, "Leading + disallowed in number");
    default:
        if (c == '-' || isDigit(c))
            return scanNumber(value);
        return fail(ErrorParse, "Unrecognised leading character");
    }
}

bool ZyJsonParser::scanRestOfString()
{
    const uchar* start = m_pos;
    const uchar* runEnd = findRunEnd(m_pos, m_end);
    m_pos = runEnd;
    if (runEnd < m_end && *runEnd == '"') {
        // No escapes: the text is the input's own bytes.
        m_text = bytesBetween(start, runEnd);
        ++m_pos;
        return true;
    }
    if (runEnd < m_end && *runEnd == '\\')
        return scanEscapes(start);
    // A control byte, or the end of the input: an unterminated string.
    addErrorWithCode(ErrorControlCharacter,
                     QStringLiteral("Unescaped control character '0x%1'").arg(uint(peek()), 0, 16));
    return false;
}

// From the first backslash on, the text is decoded into one reused buffer.
bool ZyJsonParser::scanEscapes(const uchar* runStart)
{
    m_escaped.assign(reinterpret_cast<const char*>(runStart), size_t(m_pos - runStart));
    for (;;) {
        ++m_pos;  // the backslash
        const uchar escaped = peek();
        switch (escaped) {
        case '\\':
        case '/':
        case '"': m_escaped.push_back(char(escaped)); break;
        case 'b': m_escaped.push_back('\b'); break;
        case 'f': m_escaped.push_back('\f'); break;
        case 'n': m_escaped.push_back('\n'); break;
        case 'r': m_escaped.push_back('\r'); break;
        case 't': m_escaped.push_back('\t'); break;
        case 'u': {
            ++m_pos;
            char32_t character = 0;
            if (!scanUnicodeChar(character))
                return fail(ErrorUnicode, "Broken unicode character");
            appendUtf8(m_escaped, character);
            // The quad has been consumed already.
            --m_pos;
            break;
        }
        default:
            addErrorWithCode(ErrorEscape, QStringLiteral("Illegal escape sequence '0x%1'")
                                              .arg(uint(characterAt(m_pos, m_end)), 0, 16));
            return false;
        }
        ++m_pos;
        if (atEnd())
            return fail(ErrorEndOfInput, "Unexpected EOF while parsing string");

        const uchar* start = m_pos;
        m_pos = findRunEnd(m_pos, m_end);
        m_escaped.append(reinterpret_cast<const char*>(start), size_t(m_pos - start));
        const uchar c = peek();
        if (c == '"') {
            ++m_pos;
            m_text = QByteArrayView(m_escaped.data(), qsizetype(m_escaped.size()));
            return true;
        }
        if (c != '\\') {
            addErrorWithCode(ErrorControlCharacter,
                             QStringLiteral("Unescaped control character '0x%1'").arg(uint(c), 0, 16));
            return false;
        }
    }
}

bool ZyJsonParser::scanUnicodeChar(char32_t& character)
{
    char32_t high = 0;
    if (!scanHexQuad(high))
        return fail(ErrorUnicode, "Missing hex quad");
    if (high >= 0xD800 && high <= 0xDBFF) {
        char32_t low = 0;
        bool haveLow = false;
        if (peek() == '\\') {
            ++m_pos;
            if (peek() == 'u') {
                ++m_pos;
                haveLow = scanHexQuad(low);
            }
        }
        if (!haveLow)
            return fail(ErrorUnicode, "Missing low character in surrogate pair");
        if (low < 0xDC00 || low > 0xDFFF)
            return fail(ErrorUnicode, "Invalid low surrogate char");
        character = 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
        return true;
    }
    if (high >= 0xDC00 && high <= 0xDFFF)
        return fail(ErrorUnicode, "Invalid high character in surrogate pair");
    character = high;
    return true;
}

bool ZyJsonParser::scanHexQuad(char32_t& quad)
{
    quad = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexDigit(peek());
        if (digit < 0)
            return fail(ErrorUnicode, "Missing hex digit in quad");
        ++m_pos;
        quad = quad * 16 + char32_t(digit);
    }
    return true;
}

bool ZyJsonParser::scanNumber(Value& value)
{
    const uchar* start = m_pos;
    const bool negative = *m_pos == '-';
    if (negative)
        ++m_pos;

    if (peek() == '0') {
        ++m_pos;
        if (isDigit(peek()))
            return fail(ErrorNumber, "Leading 0 disallowed in number");
        if (peek() != '.' && (peek() | 0x20) != 'e') {
            value = Value(0);
            return true;
        }
    } else if (!isDigit(peek())) {
        return fail(ErrorNumber, "No digits after initial minus");
    } else {
        // Plain integers, the most common numbers of an answer, are read here
        // in one pass; 18 digits always fit 64 bits.
        const uchar* digits = m_pos;
        quint64 magnitude = 0;
        while (isDigit(peek())) {
            magnitude = magnitude * 10 + (*m_pos - '0');
            ++m_pos;
        }
        if (m_pos - digits <= 18 && peek() != '.' && (peek() | 0x20) != 'e') {
            value = Value(negative ? -qint64(magnitude) : qint64(magnitude));
            return true;
        }
    }
    return scanDecimal(start, value);
}

bool ZyJsonParser::scanDecimal(const uchar* start, Value& value)
{
    if (peek() == '.') {
        ++m_pos;
        if (!isDigit(peek()))
            return fail(ErrorNumber, "No digits after decimal point");
        while (isDigit(peek()))
            ++m_pos;
    }
    if (peek() == 'e' || peek() == 'E') {
        ++m_pos;
        if (peek() == '-' || peek() == '+')
            ++m_pos;
        if (!isDigit(peek()))
            return fail(ErrorNumber, "No digits after exponent");
        while (isDigit(peek()))
            ++m_pos;
    }
    // Numbers beyond the exact decimal type are kept in scientific form as
    // long as a double holds them, so what the writer writes reads back.
    const std::optional<DecimalText> number = DecimalText::read(bytesBetween(start, m_pos));
    if (!number || !number->isKept())
        return fail(ErrorNumber, "Failed creating decimal instance");
    value = Value::numberFromAscii(number->keptText());
    return true;
}
