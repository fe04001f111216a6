#include "Value.h"

#include <QHash>
#include <QLocale>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

static_assert(sizeof(Value) == sizeof(void*), "a value is one machine word");

using Entry = ValueDict::Entry;
static_assert(std::endian::native == std::endian::little, "inline texts follow the tag byte in memory");

// ---------------------------------------------------------------- TextNumber

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// Index of the first character after leading blanks.
qsizetype skipBlanks(const QString& text, qsizetype i = 0)
{
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    return i;
}

template <typename Int>
Int leadingInteger(const QString& text)
{
    qsizetype i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    // Accumulate as a negative number so that the minimum fits; saturate.
    const Int min = std::numeric_limits<Int>::min();
    Int acc = 0;
    bool overflow = false;
    for (; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128; ++i) {
        const int digit = text.at(i).unicode() - u'0';
        if (!overflow) {
            if (acc < (min + digit) / 10)
                overflow = true;
            else
                acc = static_cast<Int>(acc * 10 - digit);
        }
    }
    if (overflow)
        return negative ? min : std::numeric_limits<Int>::max();
    if (negative)
        return acc;
    if (acc == min)
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(-acc);
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

}  // namespace

namespace TextNumber {

qint32 toInt(const QString& text)
{
    return leadingInteger<qint32>(text);
}

qint64 toLongLong(const QString& text)
{
    return leadingInteger<qint64>(text);
}

double toDouble(const QString& text)
{
    // The longest leading run that reads as a decimal number: sign, digits,
    // point, digits, exponent.
    qsizetype i = skipBlanks(text);
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && isAsciiDigit(text.at(i))) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text.at(i) == u'.') {
        ++i;
        while (i < text.size() && isAsciiDigit(text.at(i))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    if (i < text.size() && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype j = i + 1;
        if (j < text.size() && (text.at(j) == u'+' || text.at(j) == u'-'))
            ++j;
        if (j < text.size() && isAsciiDigit(text.at(j))) {
            while (j < text.size() && isAsciiDigit(text.at(j)))
                ++j;
            end = j;
        }
    }
    bool ok = false;
    const double d = QLocale::c().toDouble(QStringView(text).mid(start, end - start), &ok);
    if (ok)
        return d;
    // Out of range for a double: the platform saturates.
    return (start < text.size() && text.at(start) == u'-') ? -HUGE_VAL : HUGE_VAL;
}

bool toBool(const QString& text)
{
    qsizetype i = skipBlanks(text);
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    while (i < text.size() && text.at(i) == u'0')
        ++i;
    if (i >= text.size())
        return false;
    const QChar c = text.at(i);
    return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
}

}  // namespace TextNumber

// ---------------------------------------------------------------- number texts

namespace {

const ValueList& emptyList()
{
    static const ValueList list;
    return list;
}

const ValueDict& emptyDict()
{
    static const ValueDict dict;
    return dict;
}

bool isPlainInteger(const QString& text)
{
    qsizetype i = 0;
    if (i < text.size() && text.at(i) == u'-')
        ++i;
    if (i >= text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (!isAsciiDigit(text.at(i)))
            return false;
    }
    return true;
}

template <typename Int>
Int truncateDouble(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= static_cast<double>(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    if (d <= static_cast<double>(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    return static_cast<Int>(d);
}

template <typename Int>
Int numberToInteger(const QString& decimalText)
{
    if (isPlainInteger(decimalText))
        return leadingInteger<Int>(decimalText);
    return truncateDouble<Int>(TextNumber::toDouble(decimalText));
}

}  // namespace

// ---------------------------------------------------------------- UTF-8

QString utf8ToQString(QByteArrayView utf8)
{
    if (utf8.isEmpty())
        return QString();
    // QString::fromUtf8 takes leading U+FEFF characters for a byte-order mark
    // and drops them; text read from an answer keeps them.
    qsizetype marks = 0;
    while (utf8.size() - marks * 3 >= 3 && utf8[marks * 3] == '\xEF' && utf8[marks * 3 + 1] == '\xBB' &&
           utf8[marks * 3 + 2] == '\xBF')
        ++marks;
    if (marks == 0)
        return QString::fromUtf8(utf8);
    QString text(marks, QChar(0xFEFF));
    text.append(QString::fromUtf8(utf8.sliced(marks * 3)));
    return text;
}

// ---------------------------------------------------------------- shared parts

struct Value::TextBox : Box {
    quint32 size = 0;
    char* bytes() { return reinterpret_cast<char*>(this + 1); }
};

struct Value::StringBox : Box {
    explicit StringBox(const QString& s) : text(s) {}
    QString text;
};

struct Value::ListBox : Box {
    explicit ListBox(ValueList&& l) : list(std::move(l)) {}
    ValueList list;
};

struct Value::DictBox : Box {
    ValueDict dict;
};

struct Value::BytesBox : Box {
    explicit BytesBox(const QByteArray& b) : bytes(b) {}
    QByteArray bytes;
};

struct Value::DateBox : Box {
    explicit DateBox(const QDateTime& d) : date(d) {}
    QDateTime date;
};

namespace {

// A value keeps its tag in the low four bits of a shared part's address.
static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= 16, "shared parts need 16-byte alignment");

template <typename B, typename... Args>
B* makeBox(Args&&... args)
{
    return new B(std::forward<Args>(args)...);
}

template <typename B>
void freeBox(B* box)
{
    delete box;
}

// The count of the shared empty list and dictionary: never reaches zero.
constexpr int kImmortal = 1 << 30;

constexpr qint64 kMinSmallInteger = -(qint64(1) << 59);
constexpr qint64 kMaxSmallInteger = (qint64(1) << 59) - 1;

bool fitsSmallInteger(qint64 n)
{
    return n >= kMinSmallInteger && n <= kMaxSmallInteger;
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Optional minus and digits only, within 64 bits.
std::optional<qint64> plainInteger(QByteArrayView text)
{
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == '-';
    if (negative)
        ++i;
    if (i >= text.size())
        return std::nullopt;
    quint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!isAsciiDigit(text[i]))
            return std::nullopt;
        const quint64 digit = quint64(text[i] - '0');
        if (magnitude > (quint64(std::numeric_limits<qint64>::max()) + 1 - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (!negative && magnitude > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return negative ? qint64(0 - magnitude) : qint64(magnitude);
}

// The text QString::number would write for the integer: no sign on zero, no
// leading zeros. Only such texts may be kept as integers.
bool isCanonicalInteger(QByteArrayView text)
{
    qsizetype i = text.startsWith('-') ? 1 : 0;
    if (i >= text.size())
        return false;
    if (text[i] == '0')
        return text.size() == 1;
    for (; i < text.size(); ++i) {
        if (!isAsciiDigit(text[i]))
            return false;
    }
    return true;
}

template <typename Int>
Int saturate(qint64 n)
{
    if (n > qint64(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    if (n < qint64(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    return Int(n);
}

}  // namespace

// ---------------------------------------------------------------- Value

// The other value may live inside what this one releases (an element of this
// list, say): its word is taken before anything is let go.
Value& Value::operator=(const Value& other) noexcept
{
    const quintptr word = other.m_word;
    other.retain();
    release();
    m_word = word;
    return *this;
}

Value& Value::operator=(Value&& other) noexcept
{
    if (this != &other) {
        const quintptr word = std::exchange(other.m_word, 0);
        release();
        m_word = word;
    }
    return *this;
}

void Value::destroyBox()
{
    switch (tag()) {
    case kTextBox:
    case kNumberBox: {
        TextBox* text = static_cast<TextBox*>(box());
        text->~TextBox();
        ::operator delete(text);
        break;
    }
    case kStringBox: freeBox(static_cast<StringBox*>(box())); break;
    case kListBox: freeBox(static_cast<ListBox*>(box())); break;
    case kDictBox: {
        // The entries follow the box in the same block.
        DictBox* dictionary = static_cast<DictBox*>(box());
        dictionary->~DictBox();
        ::operator delete(dictionary);
        break;
    }
    case kBytesBox: freeBox(static_cast<BytesBox*>(box())); break;
    case kDateBox: freeBox(static_cast<DateBox*>(box())); break;
    default: break;
    }
    m_word = 0;
}

Value Value::fromWord(quintptr word)
{
    Value v;
    v.m_word = word;
    return v;
}

Value Value::boxed(Box* box, Tag tag)
{
    return fromWord(reinterpret_cast<quintptr>(box) | tag);
}

Value Value::utf8(QByteArrayView bytes, Tag inlineTag, Tag boxTag)
{
    if (bytes.size() <= kInlineCapacity) {
        quintptr word = inlineTag | (quintptr(bytes.size()) << 4);
        std::memcpy(reinterpret_cast<char*>(&word) + 1, bytes.data(), size_t(bytes.size()));
        return fromWord(word);
    }
    void* memory = ::operator new(sizeof(TextBox) + size_t(bytes.size()));
    TextBox* text = new (memory) TextBox;
    text->size = quint32(bytes.size());
    std::memcpy(text->bytes(), bytes.data(), size_t(bytes.size()));
    return boxed(text, boxTag);
}

Value::Value(bool b) : m_word(b ? kTrue : kFalse) {}
Value::Value(int n) : m_word((quintptr(qint64(n)) << 4) | kIntTag) {}
Value::Value(qint64 n)
{
    if (fitsSmallInteger(n))
        m_word = (quintptr(n) << 4) | kIntTag;
    else
        *this = utf8(QByteArray::number(n), kInlineNumber, kNumberBox);
}
Value::Value(quint64 n)
{
    if (n <= quint64(kMaxSmallInteger))
        m_word = (quintptr(n) << 4) | kIntTag;
    else
        *this = utf8(QByteArray::number(n), kInlineNumber, kNumberBox);
}
Value::Value(double d)
{
    // Shortest text that reads back as the same double.
    QString text = QString::number(d, 'g', 17);
    for (int precision = 1; precision <= 17; ++precision) {
        const QString candidate = QString::number(d, 'g', precision);
        if (candidate.toDouble() == d) {
            text = candidate;
            break;
        }
    }
    *this = numberFromAscii(text.toLatin1());
}
Value::Value(const QString& s) : Value(boxed(makeBox<StringBox>(s), kStringBox)) {}
Value::Value(const ValueList& list) : Value(ValueList(list)) {}
Value::Value(ValueList&& list)
{
    if (list.empty()) {
        *this = sharedEmpty(kListBox);
        return;
    }
    *this = boxed(makeBox<ListBox>(std::move(list)), kListBox);
}
Value::Value(const ValueDict& dict)
{
    *this = dictionary(dict.m_entries, dict.m_size, [](Entry& e) -> const Entry& { return e; });
    if (dict.m_index)
        static_cast<DictBox*>(box())->dict.reindex();
}

Value::Value(ValueDict&& dict)
{
    *this = dictionary(dict.m_entries, dict.m_size, [](Entry& e) -> Entry&& { return std::move(e); });
    if (dict.m_index)
        static_cast<DictBox*>(box())->dict.reindex();
}

Value Value::dictionaryOfDistinctEntries(std::pair<QString, Value>* entries, qsizetype count)
{
    Value v = dictionary(entries, count, [](Entry& e) -> Entry&& { return std::move(e); });
    if (count > ValueDict::kIndexThreshold)
        static_cast<DictBox*>(v.box())->dict.reindex();
    return v;
}

// One block for the box and its entries.
template <typename Take>
Value Value::dictionary(std::pair<QString, Value>* entries, qsizetype count, Take take)
{
    if (count == 0)
        return sharedEmpty(kDictBox);
    void* memory = ::operator new(sizeof(DictBox) + sizeof(Entry) * size_t(count));
    DictBox* box = new (memory) DictBox;
    Entry* storage = reinterpret_cast<Entry*>(box + 1);
    for (qsizetype i = 0; i < count; ++i)
        new (storage + i) Entry(take(entries[i]));
    box->dict.m_entries = storage;
    box->dict.m_size = quint32(count);
    return boxed(box, kDictBox);
}

// Every empty list and dictionary shares one of these; they are never freed.
Value Value::sharedEmpty(Tag tag)
{
    alignas(16) static ListBox noElements{ValueList()};
    alignas(16) static DictBox noEntries;
    static const bool immortal = [] {
        noElements.refs.store(kImmortal, std::memory_order_relaxed);
        noEntries.refs.store(kImmortal, std::memory_order_relaxed);
        return true;
    }();
    Q_UNUSED(immortal);
    Value v = tag == kListBox ? boxed(&noElements, kListBox) : boxed(&noEntries, kDictBox);
    v.retain();
    return v;
}
Value::Value(const QByteArray& bytes) : Value(boxed(makeBox<BytesBox>(bytes), kBytesBox)) {}
Value::Value(const QDateTime& date) : Value(boxed(makeBox<DateBox>(date), kDateBox)) {}

Value Value::null()
{
    return fromWord(kNull);
}

Value Value::number(const QString& decimalText)
{
    return numberFromAscii(decimalText.toUtf8());
}

Value Value::textFromValidUtf8(QByteArrayView utf8Bytes)
{
    return utf8(utf8Bytes, kInlineText, kTextBox);
}

Value Value::numberFromAscii(QByteArrayView decimalText)
{
    if (isCanonicalInteger(decimalText)) {
        const std::optional<qint64> n = plainInteger(decimalText);
        if (n && fitsSmallInteger(*n))
            return Value(*n);
    }
    return utf8(decimalText, kInlineNumber, kNumberBox);
}

Value::Type Value::type() const
{
    static constexpr Type types[16] = {
        Type::Absent, Type::Number, Type::String, Type::Number, Type::Null,   Type::Bool,  Type::Bool,  Type::Absent,
        Type::String, Type::String, Type::Number, Type::List,   Type::Dict,   Type::Bytes, Type::Date,  Type::Absent,
    };
    return types[tag()];
}

bool Value::holdsUtf8() const
{
    const quintptr t = tag();
    return t == kInlineText || t == kInlineNumber || t == kTextBox || t == kNumberBox;
}

QByteArrayView Value::utf8View() const
{
    switch (tag()) {
    case kInlineText:
    case kInlineNumber:
        return QByteArrayView(reinterpret_cast<const char*>(&m_word) + 1, qsizetype((m_word >> 4) & 7));
    case kTextBox:
    case kNumberBox: {
        TextBox* text = static_cast<TextBox*>(box());
        return QByteArrayView(text->bytes(), qsizetype(text->size));
    }
    default: return QByteArrayView();
    }
}

qint32 Value::toInt() const
{
    if (tag() == kIntTag)
        return saturate<qint32>(smallInteger());
    switch (type()) {
    case Type::Bool: return m_word == kTrue ? 1 : 0;
    case Type::Number: return numberToInteger<qint32>(numberText());
    case Type::String: return TextNumber::toInt(string());
    default: return 0;
    }
}

qint64 Value::toLongLong() const
{
    if (tag() == kIntTag)
        return smallInteger();
    switch (type()) {
    case Type::Bool: return m_word == kTrue ? 1 : 0;
    case Type::Number: return numberToInteger<qint64>(numberText());
    case Type::String: return TextNumber::toLongLong(string());
    default: return 0;
    }
}

quint64 Value::toULongLong() const
{
    return static_cast<quint64>(toLongLong());
}

double Value::toDouble() const
{
    if (tag() == kIntTag)
        return double(smallInteger());
    switch (type()) {
    case Type::Bool: return m_word == kTrue ? 1.0 : 0.0;
    case Type::Number: return TextNumber::toDouble(numberText());
    case Type::String: return TextNumber::toDouble(string());
    default: return 0.0;
    }
}

float Value::toFloat() const
{
    return static_cast<float>(toDouble());
}

bool Value::toBool() const
{
    if (tag() == kIntTag)
        return smallInteger() != 0;
    switch (type()) {
    case Type::Bool: return m_word == kTrue;
    case Type::Number: return toDouble() != 0.0;
    case Type::String: return TextNumber::toBool(string());
    default: return false;
    }
}

QString Value::toString() const
{
    switch (type()) {
    case Type::String: return string();
    case Type::Number:
    case Type::Bool: return numberText();
    default: return QString();
    }
}

QString Value::numberText() const
{
    switch (tag()) {
    case kFalseTag: return QStringLiteral("0");
    case kTrueTag: return QStringLiteral("1");
    case kIntTag: return QString::number(smallInteger());
    case kInlineNumber:
    case kNumberBox: return utf8ToQString(utf8View());
    default: return QString();
    }
}

std::optional<qint64> Value::exactInteger() const
{
    if (tag() == kIntTag)
        return smallInteger();
    if (tag() == kInlineNumber || tag() == kNumberBox)
        return plainInteger(utf8View());
    return std::nullopt;
}

QString Value::string() const
{
    switch (tag()) {
    case kInlineText:
        // An empty text from JSON has always read as a null QString.
        return (m_word >> 4) & 7 ? utf8ToQString(utf8View()) : QString();
    case kTextBox: return utf8ToQString(utf8View());
    case kStringBox: return static_cast<StringBox*>(box())->text;
    default: return QString();
    }
}

const ValueList& Value::list() const
{
    return isList() ? static_cast<ListBox*>(box())->list : emptyList();
}

const ValueDict& Value::dict() const
{
    return isDict() ? static_cast<DictBox*>(box())->dict : emptyDict();
}

QByteArray Value::bytes() const
{
    return isBytes() ? static_cast<BytesBox*>(box())->bytes : QByteArray();
}

QDateTime Value::date() const
{
    return isDate() ? static_cast<DateBox*>(box())->date : QDateTime();
}

Value Value::operator[](const QString& key) const
{
    if (!isDict())
        return Value();
    const Value* found = dict().valuePointer(key);
    return found ? *found : Value();
}

Value Value::at(int index) const
{
    const ValueList& elements = list();
    if (index < 0 || index >= static_cast<int>(elements.size()))
        return Value();
    return elements[static_cast<size_t>(index)];
}

int Value::size() const
{
    if (isList())
        return static_cast<int>(list().size());
    if (isDict())
        return dict().size();
    return 0;
}

Lookup Value::lookup(std::initializer_list<PathStep> path) const
{
    Value current = *this;
    for (const PathStep& step : path) {
        if (step.isIndex()) {
            // Asking nothing for an element gives nothing, as messaging nil does.
            if (current.isAbsent())
                return Lookup{Lookup::Status::Absent, Value()};
            if (!current.isList() || step.index() < 0 || step.index() >= current.size())
                return Lookup{Lookup::Status::Failed, Value()};
            current = current.at(step.index());
        } else {
            if (current.isAbsent())
                return Lookup{Lookup::Status::Absent, Value()};
            if (!current.isDict())
                return Lookup{Lookup::Status::Failed, Value()};
            const Value* found = current.dict().valuePointer(step.key());
            if (!found)
                return Lookup{Lookup::Status::Absent, Value()};
            current = *found;
        }
    }
    if (current.isAbsent())
        return Lookup{Lookup::Status::Absent, Value()};
    return Lookup{Lookup::Status::Found, current};
}

bool Value::operator==(const Value& other) const
{
    if (m_word == other.m_word)
        return true;
    const Type t = type();
    if (t != other.type())
        return false;
    switch (t) {
    case Type::Absent:
    case Type::Null:
    case Type::Bool: return false;  // each has one word per value
    case Type::Number:
        if (tag() == kIntTag && other.tag() == kIntTag)
            return double(smallInteger()) == double(other.smallInteger());
        return numberText() == other.numberText() || toDouble() == other.toDouble();
    case Type::String:
        if (holdsUtf8() && other.holdsUtf8())
            return utf8View() == other.utf8View();
        return string() == other.string();
    case Type::List: return list() == other.list();
    case Type::Dict: return dict() == other.dict();
    case Type::Bytes: return bytes() == other.bytes();
    case Type::Date: return date() == other.date();
    }
    return false;
}

QString Value::debugText() const
{
    switch (type()) {
    case Type::Absent: return QStringLiteral("(nothing)");
    case Type::Null: return QStringLiteral("null");
    case Type::Bool: return m_word == kTrue ? QStringLiteral("true") : QStringLiteral("false");
    case Type::Number: return numberText();
    case Type::String: return u'"' + string() + u'"';
    case Type::List: {
        QStringList parts;
        for (const Value& v : list())
            parts.append(v.debugText());
        return u'[' + parts.join(QStringLiteral(", ")) + u']';
    }
    case Type::Dict: {
        QStringList parts;
        for (const auto& [key, v] : dict())
            parts.append(key + QStringLiteral(": ") + v.debugText());
        return u'{' + parts.join(QStringLiteral(", ")) + u'}';
    }
    case Type::Bytes: return QStringLiteral("<%1 bytes>").arg(bytes().size());
    case Type::Date: return date().toString(Qt::ISODate);
    }
    return QString();
}

// ---------------------------------------------------------------- ValueDict

// Open addressing over entry positions; only large dictionaries have one.
class ValueDict::Index {
public:
    Index(const Entry* entries, quint32 count)
    {
        size_t capacity = 64;
        while (capacity < size_t(count) * 2)
            capacity *= 2;
        m_slots.assign(capacity, 0);
        for (quint32 i = 0; i < count; ++i)
            place(entries[i].first, i);
    }

    int find(const Entry* entries, const QString& key) const
    {
        const size_t mask = m_slots.size() - 1;
        for (size_t slot = qHash(key) & mask;; slot = (slot + 1) & mask) {
            const quint32 held = m_slots[slot];
            if (held == 0)
                return -1;
            if (entries[held - 1].first == key)
                return int(held - 1);
        }
    }

    // Answers false when the table should grow first.
    bool add(const QString& key, quint32 position)
    {
        if ((size_t(position) + 1) * 2 > m_slots.size())
            return false;
        place(key, position);
        return true;
    }

private:
    void place(const QString& key, quint32 position)
    {
        const size_t mask = m_slots.size() - 1;
        size_t slot = qHash(key) & mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = position + 1;
    }

    std::vector<quint32> m_slots;  // entry position + 1; 0 for a free slot
};

void ValueDict::IndexDeleter::operator()(Index* index) const
{
    delete index;
}

ValueDict::ValueDict(std::initializer_list<Entry> entries)
{
    for (const Entry& e : entries)
        insert(e.first, e.second);
}

ValueDict::ValueDict(const ValueDict& other)
{
    *this = other;
}

ValueDict::ValueDict(ValueDict&& other) noexcept
{
    *this = std::move(other);
}

ValueDict& ValueDict::operator=(const ValueDict& other)
{
    if (this == &other)
        return *this;
    clear();
    reserve(other.m_size);
    std::uninitialized_copy(other.begin(), other.end(), m_entries);
    m_size = other.m_size;
    if (other.m_index)
        reindex();
    return *this;
}

ValueDict& ValueDict::operator=(ValueDict&& other) noexcept
{
    if (this == &other)
        return *this;
    if (other.m_capacity == 0 && other.m_entries) {
        // Entries inside a shared dictionary's block are not ours to take.
        return *this = static_cast<const ValueDict&>(other);
    }
    clear();
    m_entries = std::exchange(other.m_entries, nullptr);
    m_size = std::exchange(other.m_size, 0);
    m_capacity = std::exchange(other.m_capacity, 0);
    m_index = std::move(other.m_index);
    return *this;
}

ValueDict::~ValueDict()
{
    clear();
}

void ValueDict::clear()
{
    std::destroy_n(m_entries, m_size);
    if (m_capacity > 0)
        ::operator delete(m_entries);
    m_entries = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_index.reset();
}

void ValueDict::reserve(quint32 capacity)
{
    if (capacity <= m_capacity)
        return;
    Entry* grown = static_cast<Entry*>(::operator new(sizeof(Entry) * capacity));
    std::uninitialized_move_n(m_entries, m_size, grown);
    std::destroy_n(m_entries, m_size);
    if (m_capacity > 0)
        ::operator delete(m_entries);
    m_entries = grown;
    m_capacity = capacity;
}

int ValueDict::find(const QString& key) const
{
    if (m_index)
        return m_index->find(m_entries, key);
    const qsizetype length = key.size();
    for (quint32 i = 0; i < m_size; ++i) {
        const QString& candidate = m_entries[i].first;
        if (candidate.size() == length && (candidate.constData() == key.constData() || candidate == key))
            return int(i);
    }
    return -1;
}

void ValueDict::insert(const QString& key, const Value& value)
{
    insert(QString(key), Value(value));
}

void ValueDict::insert(QString&& key, Value&& value)
{
    const int position = find(key);
    if (position >= 0) {
        m_entries[position].second = std::move(value);
        return;
    }
    if (m_size == m_capacity)
        reserve(std::max<quint32>(4, m_capacity * 2));
    new (m_entries + m_size) Entry(std::move(key), std::move(value));
    ++m_size;
    if (m_index) {
        if (!m_index->add(m_entries[m_size - 1].first, m_size - 1))
            reindex();
    } else if (size() > kIndexThreshold) {
        reindex();
    }
}

void ValueDict::remove(const QString& key)
{
    const int position = find(key);
    if (position < 0)
        return;
    std::move(m_entries + position + 1, m_entries + m_size, m_entries + position);
    --m_size;
    std::destroy_at(m_entries + m_size);
    reindex();
}

Value ValueDict::value(const QString& key) const
{
    const Value* found = valuePointer(key);
    return found ? *found : Value();
}

const Value* ValueDict::valuePointer(const QString& key) const
{
    const int position = find(key);
    return position < 0 ? nullptr : &m_entries[position].second;
}

QStringList ValueDict::keys() const
{
    QStringList result;
    result.reserve(size());
    for (const Entry& e : *this)
        result.append(e.first);
    return result;
}

bool ValueDict::operator==(const ValueDict& other) const
{
    if (size() != other.size())
        return false;
    for (const Entry& e : *this) {
        const Value* theirs = other.valuePointer(e.first);
        if (!theirs || *theirs != e.second)
            return false;
    }
    return true;
}

void ValueDict::reindex()
{
    if (size() > kIndexThreshold)
        m_index.reset(new Index(m_entries, m_size));
    else
        m_index.reset();
}
