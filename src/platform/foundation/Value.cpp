#include "Value.h"

#include <QLocale>

#include <cmath>
#include <limits>

// ---------------------------------------------------------------- ValueDict

ValueDict::ValueDict(std::initializer_list<Entry> entries)
{
    for (const Entry& e : entries)
        insert(e.first, e.second);
}

void ValueDict::insert(const QString& key, const Value& value)
{
    auto it = m_index.constFind(key);
    if (it != m_index.constEnd()) {
        m_entries[static_cast<size_t>(*it)].second = value;
        return;
    }
    m_index.insert(key, static_cast<int>(m_entries.size()));
    m_entries.emplace_back(key, value);
}

void ValueDict::remove(const QString& key)
{
    auto it = m_index.constFind(key);
    if (it == m_index.constEnd())
        return;
    m_entries.erase(m_entries.begin() + *it);
    reindex();
}

bool ValueDict::contains(const QString& key) const
{
    return m_index.contains(key);
}

Value ValueDict::value(const QString& key) const
{
    auto it = m_index.constFind(key);
    if (it == m_index.constEnd())
        return Value();
    return m_entries[static_cast<size_t>(*it)].second;
}

QStringList ValueDict::keys() const
{
    QStringList result;
    result.reserve(size());
    for (const Entry& e : m_entries)
        result.append(e.first);
    return result;
}

bool ValueDict::operator==(const ValueDict& other) const
{
    if (size() != other.size())
        return false;
    for (const Entry& e : m_entries) {
        if (!other.contains(e.first) || other.value(e.first) != e.second)
            return false;
    }
    return true;
}

void ValueDict::reindex()
{
    m_index.clear();
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_index.insert(m_entries[i].first, static_cast<int>(i));
}

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

// ---------------------------------------------------------------- Value

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

Value::Value(bool b) : m_type(Type::Bool), m_bool(b) {}
Value::Value(int n) : m_type(Type::Number), m_text(QString::number(n)) {}
Value::Value(qint64 n) : m_type(Type::Number), m_text(QString::number(n)) {}
Value::Value(quint64 n) : m_type(Type::Number), m_text(QString::number(n)) {}
Value::Value(double d) : m_type(Type::Number), m_text(QString::number(d, 'g', 17))
{
    // Shortest text that reads back as the same double.
    for (int precision = 1; precision <= 17; ++precision) {
        const QString candidate = QString::number(d, 'g', precision);
        if (candidate.toDouble() == d) {
            m_text = candidate;
            break;
        }
    }
}
Value::Value(const QString& s) : m_type(Type::String), m_text(s) {}
Value::Value(const ValueList& list) : m_type(Type::List), m_list(std::make_shared<const ValueList>(list)) {}
Value::Value(ValueList&& list)
    : m_type(Type::List), m_list(std::make_shared<const ValueList>(std::move(list)))
{
}
Value::Value(const ValueDict& dict) : m_type(Type::Dict), m_dict(std::make_shared<const ValueDict>(dict)) {}
Value::Value(ValueDict&& dict)
    : m_type(Type::Dict), m_dict(std::make_shared<const ValueDict>(std::move(dict)))
{
}
Value::Value(const QByteArray& bytes) : m_type(Type::Bytes), m_bytes(bytes) {}
Value::Value(const QDateTime& date) : m_type(Type::Date), m_date(date) {}

Value Value::null()
{
    Value v;
    v.m_type = Type::Null;
    return v;
}

Value Value::number(const QString& decimalText)
{
    Value v;
    v.m_type = Type::Number;
    v.m_text = decimalText;
    return v;
}

qint32 Value::toInt() const
{
    switch (m_type) {
    case Type::Bool: return m_bool ? 1 : 0;
    case Type::Number: return numberToInteger<qint32>(m_text);
    case Type::String: return TextNumber::toInt(m_text);
    default: return 0;
    }
}

qint64 Value::toLongLong() const
{
    switch (m_type) {
    case Type::Bool: return m_bool ? 1 : 0;
    case Type::Number: return numberToInteger<qint64>(m_text);
    case Type::String: return TextNumber::toLongLong(m_text);
    default: return 0;
    }
}

quint64 Value::toULongLong() const
{
    return static_cast<quint64>(toLongLong());
}

double Value::toDouble() const
{
    switch (m_type) {
    case Type::Bool: return m_bool ? 1.0 : 0.0;
    case Type::Number:
    case Type::String: return TextNumber::toDouble(m_text);
    default: return 0.0;
    }
}

float Value::toFloat() const
{
    return static_cast<float>(toDouble());
}

bool Value::toBool() const
{
    switch (m_type) {
    case Type::Bool: return m_bool;
    case Type::Number: return TextNumber::toDouble(m_text) != 0.0;
    case Type::String: return TextNumber::toBool(m_text);
    default: return false;
    }
}

QString Value::toString() const
{
    switch (m_type) {
    case Type::String: return m_text;
    case Type::Number:
    case Type::Bool: return numberText();
    default: return QString();
    }
}

QString Value::numberText() const
{
    if (m_type == Type::Bool)
        return m_bool ? QStringLiteral("1") : QStringLiteral("0");
    if (m_type == Type::Number)
        return m_text;
    return QString();
}

QString Value::string() const
{
    return m_type == Type::String ? m_text : QString();
}

const ValueList& Value::list() const
{
    return m_type == Type::List ? *m_list : emptyList();
}

const ValueDict& Value::dict() const
{
    return m_type == Type::Dict ? *m_dict : emptyDict();
}

QByteArray Value::bytes() const
{
    return m_bytes;
}

QDateTime Value::date() const
{
    return m_date;
}

Value Value::operator[](const QString& key) const
{
    if (m_type != Type::Dict)
        return Value();
    return m_dict->value(key);
}

Value Value::at(int index) const
{
    if (m_type != Type::List || index < 0 || index >= static_cast<int>(m_list->size()))
        return Value();
    return (*m_list)[static_cast<size_t>(index)];
}

int Value::size() const
{
    if (m_type == Type::List)
        return static_cast<int>(m_list->size());
    if (m_type == Type::Dict)
        return m_dict->size();
    return 0;
}

Lookup Value::lookup(std::initializer_list<PathStep> path) const
{
    Lookup result;
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
            if (!current.dict().contains(step.key()))
                return Lookup{Lookup::Status::Absent, Value()};
            current = current[step.key()];
        }
    }
    if (current.isAbsent())
        return Lookup{Lookup::Status::Absent, Value()};
    return Lookup{Lookup::Status::Found, current};
}

bool Value::operator==(const Value& other) const
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case Type::Absent:
    case Type::Null: return true;
    case Type::Bool: return m_bool == other.m_bool;
    case Type::Number: return m_text == other.m_text || toDouble() == other.toDouble();
    case Type::String: return m_text == other.m_text;
    case Type::List: return *m_list == *other.m_list;
    case Type::Dict: return *m_dict == *other.m_dict;
    case Type::Bytes: return m_bytes == other.m_bytes;
    case Type::Date: return m_date == other.m_date;
    }
    return false;
}

QString Value::debugText() const
{
    switch (m_type) {
    case Type::Absent: return QStringLiteral("(nothing)");
    case Type::Null: return QStringLiteral("null");
    case Type::Bool: return m_bool ? QStringLiteral("true") : QStringLiteral("false");
    case Type::Number: return m_text;
    case Type::String: return u'"' + m_text + u'"';
    case Type::List: {
        QStringList parts;
        for (const Value& v : *m_list)
            parts.append(v.debugText());
        return u'[' + parts.join(QStringLiteral(", ")) + u']';
    }
    case Type::Dict: {
        QStringList parts;
        for (const auto& [key, v] : *m_dict)
            parts.append(key + QStringLiteral(": ") + v.debugText());
        return u'{' + parts.join(QStringLiteral(", ")) + u'}';
    }
    case Type::Bytes: return QStringLiteral("<%1 bytes>").arg(m_bytes.size());
    case Type::Date: return m_date.toString(Qt::ISODate);
    }
    return QString();
}
