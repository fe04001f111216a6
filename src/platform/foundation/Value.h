#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class Value;
class ValueDict;

using ValueList = std::vector<Value>;

// One step of a path lookup: a dictionary key or a list index.
class PathStep {
public:
    PathStep(const QString& key) : m_key(key) {}
    PathStep(const char16_t* key) : m_key(QString::fromUtf16(key)) {}
    PathStep(int index) : m_index(index), m_isIndex(true) {}

    bool isIndex() const { return m_isIndex; }
    const QString& key() const { return m_key; }
    int index() const { return m_index; }

private:
    QString m_key;
    int m_index = -1;
    bool m_isIndex = false;
};

struct Lookup;

// The dynamic value of the system: what the JSON codec makes, what settings,
// archives and property lists hold, and what requests carry as parameters.
//
// "Absent" (nothing) and "null" (the JSON null object) are different values:
// a model filled with nothing announces a change, one filled with null does not.
// A number keeps the decimal text it was made from; its conversions follow the
// platform's rules for text-to-number and truth.
//
// A value is one machine word: null, booleans, integers and texts of up to
// seven bytes live in the word itself; anything else is shared, immutable and
// reference-counted, so copies are cheap. Texts read from JSON stay UTF-8 and
// become UTF-16 when asked for, which keeps a parsed answer near its own size.
class Value {
public:
    enum class Type { Absent, Null, Bool, Number, String, List, Dict, Bytes, Date };

    Value() = default;
    Value(bool b);
    Value(int n);
    Value(qint64 n);
    Value(quint64 n);
    Value(double d);
    Value(const QString& s);
    Value(const char16_t* s) : Value(QString::fromUtf16(s)) {}
    Value(const ValueList& list);
    Value(ValueList&& list);
    Value(const ValueDict& dict);
    Value(ValueDict&& dict);
    Value(const QByteArray& bytes);
    Value(const QDateTime& date);

    Value(const Value& other) noexcept : m_word(other.m_word) { retain(); }
    Value(Value&& other) noexcept : m_word(other.m_word) { other.m_word = 0; }
    Value& operator=(const Value& other) noexcept;
    Value& operator=(Value&& other) noexcept;
    ~Value() { release(); }

    static Value null();
    // A number from its decimal text, kept as given ("12.50" stays "12.50").
    static Value number(const QString& decimalText);
    // A text from bytes that are valid UTF-8, kept as UTF-8 (the JSON parser
    // checks its input once and hands its texts over this way). An empty text
    // reads back as a null QString, as the parser's always have.
    static Value textFromValidUtf8(QByteArrayView utf8);
    // A number from decimal text in ASCII, kept as given.
    static Value numberFromAscii(QByteArrayView decimalText);
    // A dictionary of entries whose keys are known to differ (the JSON parser
    // has merged repeated keys already); the entries are moved from.
    static Value dictionaryOfDistinctEntries(std::pair<QString, Value>* entries, qsizetype count);

    Type type() const;
    bool isAbsent() const { return m_word == 0; }
    bool isNull() const { return m_word == kNull; }
    // Absent or null: "no value" for most readers.
    bool isNothing() const { return m_word == 0 || m_word == kNull; }
    bool isBool() const { return m_word == kFalse || m_word == kTrue; }
    bool isNumber() const { return type() == Type::Number; }
    // Numbers and booleans (the platform keeps booleans as numbers).
    bool isNumeric() const { return isNumber() || isBool(); }
    bool isString() const { return type() == Type::String; }
    bool isList() const { return tag() == kListBox; }
    bool isDict() const { return tag() == kDictBox; }
    bool isBytes() const { return tag() == kBytesBox; }
    bool isDate() const { return tag() == kDateBox; }

    // Conversions with the platform's rules. A text converts by its leading
    // number (after blanks and a sign); a value with no conversion gives 0.
    qint32 toInt() const;
    qint64 toLongLong() const;
    quint64 toULongLong() const;
    double toDouble() const;
    float toFloat() const;
    // Truth: a number is true when not zero; a text is true when its first
    // character after blanks, a sign and leading zeros is Y, y, T, t or 1-9.
    bool toBool() const;

    // A text as it is; a number as its decimal text; a boolean as "1" or "0";
    // anything else gives a null QString.
    QString toString() const;
    // The decimal text of a number ("1"/"0" for booleans); null otherwise.
    QString numberText() const;
    // The integer of a number whose decimal text is a plain integer within 64
    // bits ("42", "-7"); nothing for any other value.
    std::optional<qint64> exactInteger() const;

    // The text of a String value, or a null QString.
    QString string() const;
    // The list of a List value, or an empty list.
    const ValueList& list() const;
    // The dictionary of a Dict value, or an empty one.
    const ValueDict& dict() const;
    QByteArray bytes() const;
    QDateTime date() const;

    // The value under a key of a dictionary; absent for any other value.
    Value operator[](const QString& key) const;
    Value operator[](const char16_t* key) const { return (*this)[QString::fromUtf16(key)]; }
    // The element at an index of a list; absent when out of range or not a list.
    Value at(int index) const;
    int size() const;

    // Follows a path of keys and indexes (see Lookup).
    Lookup lookup(std::initializer_list<PathStep> path) const;

    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }

    // A short debugging text.
    QString debugText() const;

private:
    // The low four bits of the word tell what it holds. Shared parts are
    // allocated on 16-byte boundaries, so their address leaves those bits free.
    enum Tag : quintptr {
        kAbsentTag = 0,
        kIntTag = 1,          // a 60-bit integer above the tag
        kInlineText = 2,      // up to 7 UTF-8 bytes; their count in bits 4-6
        kInlineNumber = 3,    // decimal text of up to 7 bytes, laid out likewise
        kNullTag = 4,
        kFalseTag = 5,
        kTrueTag = 6,
        kTextBox = 8,         // UTF-8 bytes
        kStringBox = 9,       // a QString made by the application
        kNumberBox = 10,      // decimal text
        kListBox = 11,
        kDictBox = 12,
        kBytesBox = 13,
        kDateBox = 14,
    };
    static constexpr quintptr kTagMask = 15;
    static constexpr quintptr kNull = kNullTag;
    static constexpr quintptr kFalse = kFalseTag;
    static constexpr quintptr kTrue = kTrueTag;
    static constexpr int kInlineCapacity = 7;

    struct Box {
        std::atomic<int> refs{1};
    };
    struct TextBox;
    struct StringBox;
    struct ListBox;
    struct DictBox;
    struct BytesBox;
    struct DateBox;

    quintptr tag() const { return m_word & kTagMask; }
    bool isBoxed() const { return (m_word & 8) != 0; }
    Box* box() const { return reinterpret_cast<Box*>(m_word & ~kTagMask); }
    void retain() const
    {
        if (isBoxed())
            box()->refs.fetch_add(1, std::memory_order_relaxed);
    }
    void release()
    {
        if (isBoxed() && box()->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            destroyBox();
    }
    void destroyBox();
    static Value fromWord(quintptr word);
    static Value boxed(Box* box, Tag tag);
    static Value sharedEmpty(Tag tag);
    template <typename Take>
    static Value dictionary(std::pair<QString, Value>* entries, qsizetype count, Take take);
    static Value utf8(QByteArrayView bytes, Tag inlineTag, Tag boxTag);
    // The UTF-8 bytes of a text or decimal text held as UTF-8; empty otherwise.
    QByteArrayView utf8View() const;
    bool holdsUtf8() const;
    qint64 smallInteger() const { return qint64(m_word) >> 4; }

    quintptr m_word = 0;
};

// A dictionary that keeps insertion order: the forum's answers, request
// parameters and stored settings are all read and written in document order.
// Setting a key that is already present keeps its first position and takes
// the new value. Small dictionaries (most of a forum answer's) are searched
// in order; large ones keep a hash index beside their entries.
class ValueDict {
public:
    using Entry = std::pair<QString, Value>;

    // Dictionaries up to this size keep no index.
    static constexpr int kIndexThreshold = 32;

    ValueDict() = default;
    ValueDict(std::initializer_list<Entry> entries);
    ValueDict(const ValueDict& other);
    ValueDict(ValueDict&& other) noexcept;
    ValueDict& operator=(const ValueDict& other);
    ValueDict& operator=(ValueDict&& other) noexcept;
    ~ValueDict();

    void insert(const QString& key, const Value& value);
    void insert(QString&& key, Value&& value);
    void remove(const QString& key);
    bool contains(const QString& key) const { return find(key) >= 0; }
    // The value under the key, or an absent value.
    Value value(const QString& key) const;
    // The value under the key without a copy, or null when there is none.
    const Value* valuePointer(const QString& key) const;
    QStringList keys() const;

    int size() const { return static_cast<int>(m_size); }
    bool isEmpty() const { return m_size == 0; }

    const Entry* begin() const { return m_entries; }
    const Entry* end() const { return m_entries + m_size; }

    bool operator==(const ValueDict& other) const;
    bool operator!=(const ValueDict& other) const { return !(*this == other); }

private:
    friend class Value;
    class Index;
    struct IndexDeleter {
        void operator()(Index* index) const;
    };

    // Position of the key, or -1.
    int find(const QString& key) const;
    void reindex();
    void reserve(quint32 capacity);
    void clear();

    // The entries live in their own allocation, or (capacity 0) in the block
    // of the shared dictionary that holds this one, which never changes.
    Entry* m_entries = nullptr;
    quint32 m_size = 0;
    quint32 m_capacity = 0;
    std::unique_ptr<Index, IndexDeleter> m_index;
};

// The outcome of a path lookup. Absent: a key was missing (or the path ran
// through nothing). Failed: the lookup could not be made, such as an index
// into a value that is not a list, an index out of range, or a key into a
// value that is not a dictionary.
struct Lookup {
    enum class Status { Found, Absent, Failed };
    Status status = Status::Absent;
    Value value;

    bool found() const { return status == Status::Found; }
    bool failed() const { return status == Status::Failed; }
};

// Platform text-to-number rules, shared by Value and by readers of raw text.
namespace TextNumber {
qint32 toInt(const QString& text);
qint64 toLongLong(const QString& text);
double toDouble(const QString& text);
bool toBool(const QString& text);
}  // namespace TextNumber

// UTF-8 to UTF-16 that keeps every character, a leading U+FEFF included
// (QString::fromUtf8 drops one as a byte-order mark). No bytes give a null
// QString, as an empty text from JSON always has.
QString utf8ToQString(QByteArrayView utf8);
