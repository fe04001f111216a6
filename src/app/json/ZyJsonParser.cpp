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

quint32 hashOf(QByteArrayView bytes)
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

// The keys of every answer, made into QStrings once per process: a forum
// sends the same few hundred keys again and again. A key is looked up by its
// UTF-8 bytes and converted only on first sight. The pool's texts are never
// freed, so their QStrings share them without reference counting; past a
// bound (hostile input may send any number of keys) keys are plain QStrings.
// The pool grows in small steps: the first answer of a process pays for its
// own keys only.
class KeyPool {
public:
    static KeyPool& shared()
    {
        static KeyPool* pool = new KeyPool;  // outlives every value that shares its texts
        return *pool;
    }

    // The key with these UTF-8 bytes (hashOf(utf8) is their hash); pooled
    // tells whether the pool keeps it (else it is a plain QString).
    QString key(QByteArrayView utf8, quint32 hash, bool* pooled)
    {
        *pooled = true;
        if (utf8.isEmpty())
            return QString();
        const size_t length = size_t(utf8.size());
        const std::lock_guard<std::mutex> lock(m_mutex);
        const size_t mask = m_slots.size() - 1;
        size_t slot = hash & mask;
        for (; m_slots[slot] != 0; slot = (slot + 1) & mask) {
            const Key& known = m_keys[m_slots[slot] - 1];
            if (known.hash == hash && known.length == length &&
                sameBytes(m_bytes.data() + known.offset, utf8.data(), length))
                return known.text;
        }
        // Field names are ASCII: those are widened into the pool directly.
        const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return uchar(c) < 0x80; });
        const QString converted = ascii ? QString() : utf8ToQString(utf8);
        const size_t units = ascii ? length : size_t(converted.size());
        char16_t* stored = room(units);
        if (!stored) {
            *pooled = false;
            return ascii ? QString::fromLatin1(utf8) : converted;
        }
        if (ascii)
            std::copy(utf8.begin(), utf8.end(), stored);
        else
            std::memcpy(stored, converted.utf16(), sizeof(char16_t) * units);
        m_keys.push_back(Key{QString::fromRawData(reinterpret_cast<const QChar*>(stored), qsizetype(units)), hash,
                             quint32(m_bytes.size()), quint32(length)});
        m_bytes.append(utf8.data(), length);
        if (m_keys.size() * 2 > m_slots.size())
            rehash(m_slots.size() * 2);
        else
            m_slots[slot] = quint32(m_keys.size());
        return m_keys.back().text;
    }

private:
    // Enough for the keys of every answer a forum sends, and a bound on what
    // hostile input can make the process keep.
    static constexpr size_t kMostKeys = 4096;
    static constexpr size_t kChunk = 4096;  // UTF-16 units
    static constexpr size_t kChunks = 16;

    struct Key {
        QString text;
        quint32 hash;
        quint32 offset;  // of the UTF-8 bytes in m_bytes
        quint32 length;
    };

    KeyPool() { rehash(256); }

    // Room for a text of so many units, or null once the pool is full.
    char16_t* room(size_t units)
    {
        if (m_keys.size() >= kMostKeys || units > kChunk)
            return nullptr;
        if (m_chunks.empty() || m_chunkUsed + units > kChunk) {
            if (m_chunks.size() == kChunks)
                return nullptr;
            m_chunks.push_back(std::make_unique_for_overwrite<char16_t[]>(kChunk));
            m_chunkUsed = 0;
        }
        m_chunkUsed += units;
        return m_chunks.back().get() + m_chunkUsed - units;
    }

    void rehash(size_t size)
    {
        m_slots.assign(size, 0);
        const size_t mask = size - 1;
        for (size_t i = 0; i < m_keys.size(); ++i) {
            size_t slot = m_keys[i].hash & mask;
            while (m_slots[slot] != 0)
                slot = (slot + 1) & mask;
            m_slots[slot] = quint32(i + 1);
        }
    }

    std::mutex m_mutex;
    std::vector<quint32> m_slots;  // the key's index + 1; 0 for a free slot
    std::vector<Key> m_keys;
    std::string m_bytes;
    std::vector<std::unique_ptr<char16_t[]>> m_chunks;
    size_t m_chunkUsed = 0;
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

// The keys of the documents a thread reads, each made into a QString once
// and shared by every object that uses it. The keys the process-wide pool
// took stay from one document to the next, so that a thread's later answers
// find their keys without hashing or locking; the others go with their
// document. The table also merges repeated keys of an object in one pass: a
// key remembers the last object that took it, and where.
class ZyJsonParser::KeyTable {
public:
    static constexpr quint32 kLoose = kNoKey;

    KeyTable() : m_slots(64, 0) { std::fill(std::begin(m_firstKeys), std::end(m_firstKeys), kLoose); }

    // Forgets the keys of the document just read that the pool did not take.
    void endDocument()
    {
        m_added = 0;
        if (m_entries.size() == m_kept)
            return;
        m_bytes.resize(m_entries[m_kept].offset);
        m_entries.erase(m_entries.begin() + qsizetype(m_kept), m_entries.end());
        size_t size = 64;
        while (size < m_kept * 4)
            size *= 2;
        rehash(size);
    }

    // As intern(bytes), for the key that follows the key numbered previous
    // (kLoose for an object's first key) at a depth. Objects of one kind
    // repeat their keys in one order, so the key that followed last time is
    // tried before any hashing.
    quint32 internAfter(QByteArrayView bytes, quint32 previous, size_t depth)
    {
        quint32& successor = previous != kLoose ? m_entries[previous].next : m_firstKeys[std::min(depth, kDepths - 1)];
        const quint32 guess = successor;
        // The guess may name a key of an earlier document that has gone.
        if (guess < m_entries.size() && m_entries[guess].length == quint32(bytes.size()) &&
            sameBytes(m_bytes.data() + m_entries[guess].offset, bytes.data(), size_t(bytes.size())))
            return guess;
        const quint32 id = intern(bytes);
        // Entries may have moved while a new key was added.
        (previous != kLoose ? m_entries[previous].next : m_firstKeys[std::min(depth, kDepths - 1)]) = id;
        return id;
    }

    // The number of the key with these UTF-8 bytes, made on first sight; or
    // kLoose for a key the table does not keep (a very long one, or any new
    // one once the document has added many).
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
        if (m_entries.size() - m_kept >= kMostKeys)
            return kLoose;
        const quint32 id = quint32(m_entries.size());
        // A document's first keys are field names; once it has added many,
        // the rest are data (ids as keys, say) that the process need not keep.
        bool pooled = false;
        QString key = m_added < kPooled ? KeyPool::shared().key(bytes, hash, &pooled) : utf8ToQString(bytes);
        ++m_added;
        // Kept keys come first, so that a document's own ones go in one cut.
        if (pooled && m_kept == m_entries.size())
            ++m_kept;
        m_entries.push_back(Entry{std::move(key), hash, quint32(m_bytes.size()), quint32(bytes.size()), 0, 0, kLoose});
        m_bytes.append(bytes.data(), size_t(bytes.size()));
        if (m_entries.size() * 2 > m_slots.size())
            rehash(m_slots.size() * 2);
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

    quint32 nextSerial()
    {
        if (++m_serial == 0) {
            // Kept keys outlive four billion objects: none may still carry
            // the serial that comes round again.
            for (Entry& entry : m_entries)
                entry.serial = 0;
            m_serial = 1;
        }
        return m_serial;
    }

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

    void rehash(size_t size)
    {
        m_slots.assign(size, 0);
        const size_t mask = size - 1;
        for (size_t i = 0; i < m_entries.size(); ++i) {
            size_t slot = m_entries[i].hash & mask;
            while (m_slots[slot] != 0)
                slot = (slot + 1) & mask;
            m_slots[slot] = slotFor(m_entries[i].hash, quint32(i));
        }
    }

    static constexpr size_t kDepths = 32;

    std::vector<Entry> m_entries;
    size_t m_kept = 0;   // the first entries, which the pool took
    size_t m_added = 0;  // by the document being read
    std::string m_bytes;
    quint32 m_firstKeys[kDepths];
    // The key's hash above its entry number + 1, so that most misses need no
    // look at the entry; 0 for a free slot.
    static quint64 slotFor(quint32 hash, quint32 id) { return (quint64(hash) << 32) | (id + 1); }
    std::vector<quint64> m_slots;
    quint32 m_serial = 0;
};

// What reading a document needs besides the input, reused by every parser
// of a thread: once grown, reading allocates for the values only.
struct ZyJsonParser::Scratch {
    std::string escaped;
    std::vector<Frame> frames;
    std::vector<Value> values;
    std::vector<QString> keys;
    std::vector<quint32> keyIds;
    std::vector<ValueDict::Entry> entries;
    KeyTable keyTable;
    bool inUse = false;

    // Empties the lists after a document; what a big one made them grow to
    // is given back.
    void clear()
    {
        frames.clear();
        values.clear();
        keys.clear();
        keyIds.clear();
        entries.clear();
        keyTable.endDocument();
        constexpr size_t kKept = 4096;
        if (escaped.capacity() > 16 * kKept)
            std::string().swap(escaped);
        if (values.capacity() > kKept)
            std::vector<Value>().swap(values);
        if (keys.capacity() > kKept) {
            std::vector<QString>().swap(keys);
            std::vector<quint32>().swap(keyIds);
        }
        if (entries.capacity() > kKept)
            std::vector<ValueDict::Entry>().swap(entries);
        if (frames.capacity() > kKept)
            std::vector<Frame>().swap(frames);
    }
};

ZyJsonParser::ZyJsonParser() = default;
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
    // A parser reads one document at a time, and reading calls nothing that
    // could read another; a second scratch only guards against that.
    thread_local Scratch threadScratch;
    std::unique_ptr<Scratch> ownScratch;
    if (threadScratch.inUse)
        ownScratch = std::make_unique<Scratch>();
    Scratch& scratch = ownScratch ? *ownScratch : threadScratch;
    scratch.inUse = true;
    m_scratch = &scratch;

    resetDepth();
    m_pos = reinterpret_cast<const uchar*>(json.data());
    m_end = m_pos + json.size();

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
    // nothing.
    scratch.clear();
    scratch.inUse = false;
    m_scratch = nullptr;
    m_pos = m_end = nullptr;
    m_text = QByteArrayView();
    return ok ? value : Value();
}

void ZyJsonParser::skipWhitespaceRun()
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
    const std::vector<Frame>& frames = m_scratch->frames;
    const size_t enclosing = frames.size() - 1;
    // The innermost frame stays on the stack: the enclosing ones measure
    // their own elements up to where it begins.
    for (size_t i = enclosing; i-- > 0;) {
        const Frame& frame = frames[i];
        if (!frame.isObject) {
            fail(ErrorParse, "Expected value while parsing array");
            continue;
        }
        const size_t elements = frames[i + 1].valueStart - frame.valueStart;
        const QString& key = m_scratch->keys[frame.keyStart + elements];
        addErrorWithCode(ErrorParse, QStringLiteral("Object value expected for key: ") + key);
    }
    return false;
}

bool ZyJsonParser::unwind()
{
    const std::vector<Frame>& frames = m_scratch->frames;
    for (size_t i = frames.size(); i-- > 0;) {
        const Frame& frame = frames[i];
        if (!frame.isObject) {
            fail(ErrorParse, "Expected value while parsing array");
            continue;
        }
        const size_t end = i + 1 < frames.size() ? frames[i + 1].valueStart : m_scratch->values.size();
        const QString& key = m_scratch->keys[frame.keyStart + (end - frame.valueStart)];
        addErrorWithCode(ErrorParse, QStringLiteral("Object value expected for key: ") + key);
    }
    return false;
}

// One loop for the whole document: reading a value either finishes a scalar
// or opens a container; then the innermost open container takes a separator,
// its end, or (in an object) the next key before the next value.
bool ZyJsonParser::scanDocument(Value& result)
{
    std::vector<Frame>& frames = m_scratch->frames;
    std::vector<Value>& values = m_scratch->values;
    std::vector<QString>& keys = m_scratch->keys;
    KeyTable& keyTable = m_scratch->keyTable;
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
            frames.push_back(Frame{c == '{', quint32(values.size()), quint32(keys.size())});
        } else {
            if (!scanScalar(value))
                return unwind();
            if (frames.empty()) {
                result = std::move(value);
                return true;
            }
            values.push_back(std::move(value));
            afterElement = true;
        }

        for (;;) {
            if (afterElement) {
                skipWhitespace();
                if (peek() == ',') {
                    ++m_pos;
                    skipWhitespace();
                    const bool isObject = frames.back().isObject;
                    if (peek() == (isObject ? '}' : ']'))
                        return failInFrame(ErrorTrailingComma, isObject ? "Trailing comma disallowed in object"
                                                                        : "Trailing comma disallowed in array");
                }
            }
            const bool isObject = frames.back().isObject;
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
                if (frames.empty()) {
                    result = std::move(values.back());
                    values.pop_back();
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
                Frame& frame = frames.back();
                const quint32 id = keyTable.internAfter(m_text, frame.lastKey, frames.size());
                frame.lastKey = id;
                m_scratch->keyIds.push_back(id);
                if (id != KeyTable::kLoose)
                    keys.push_back(keyTable.key(id));
                else
                    keys.push_back(utf8ToQString(m_text));
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
    std::vector<Value>& values = m_scratch->values;
    const Frame frame = m_scratch->frames.back();
    m_scratch->frames.pop_back();
    const auto first = values.begin() + frame.valueStart;
    ValueList list(std::make_move_iterator(first), std::make_move_iterator(values.end()));
    values.erase(first, values.end());
    values.emplace_back(std::move(list));
}

void ZyJsonParser::closeObject()
{
    Scratch& scratch = *m_scratch;
    std::vector<Value>& values = scratch.values;
    const Frame frame = scratch.frames.back();
    scratch.frames.pop_back();
    const size_t count = values.size() - frame.valueStart;
    std::vector<ValueDict::Entry>& entries = scratch.entries;
    // A repeated key keeps its first position and takes the last value.
    const quint32 serial = scratch.keyTable.nextSerial();
    // Keys the table does not keep can only repeat each other: they are
    // looked up among themselves.
    QHash<QString, quint32> loose;
    for (size_t i = 0; i < count; ++i) {
        QString& key = scratch.keys[frame.keyStart + i];
        Value& value = values[frame.valueStart + i];
        const quint32 id = scratch.keyIds[frame.keyStart + i];
        const quint32 position = quint32(entries.size());
        std::optional<quint32> earlier;
        if (id != KeyTable::kLoose) {
            earlier = scratch.keyTable.take(id, serial, position);
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
    values.erase(values.begin() + frame.valueStart, values.end());
    scratch.keys.erase(scratch.keys.begin() + frame.keyStart, scratch.keys.end());
    scratch.keyIds.erase(scratch.keyIds.begin() + frame.keyStart, scratch.keyIds.end());
    values.push_back(Value::dictionaryOfDistinctEntries(entries.data(), qsizetype(entries.size())));
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
    std::string& buffer = m_scratch->escaped;
    buffer.assign(reinterpret_cast<const char*>(runStart), size_t(m_pos - runStart));
    for (;;) {
        ++m_pos;  // the backslash
        const uchar escaped = peek();
        switch (escaped) {
        case '\\':
        case '/':
        case '"': buffer.push_back(char(escaped)); break;
        case 'b': buffer.push_back('\b'); break;
        case 'f': buffer.push_back('\f'); break;
        case 'n': buffer.push_back('\n'); break;
        case 'r': buffer.push_back('\r'); break;
        case 't': buffer.push_back('\t'); break;
        case 'u': {
            ++m_pos;
            char32_t character = 0;
            if (!scanUnicodeChar(character))
                return fail(ErrorUnicode, "Broken unicode character");
            appendUtf8(buffer, character);
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
        buffer.append(reinterpret_cast<const char*>(start), size_t(m_pos - start));
        const uchar c = peek();
        if (c == '"') {
            ++m_pos;
            m_text = QByteArrayView(buffer.data(), qsizetype(buffer.size()));
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
