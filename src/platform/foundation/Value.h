#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <memory>
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

    static Value null();
    // A number from its decimal text, kept as given ("12.50" stays "12.50").
    static Value number(const QString& decimalText);

    Type type() const { return m_type; }
    bool isAbsent() const { return m_type == Type::Absent; }
    bool isNull() const { return m_type == Type::Null; }
    // Absent or null: "no value" for most readers.
    bool isNothing() const { return m_type == Type::Absent || m_type == Type::Null; }
    bool isBool() const { return m_type == Type::Bool; }
    bool isNumber() const { return m_type == Type::Number; }
    // Numbers and booleans (the platform keeps booleans as numbers).
    bool isNumeric() const { return m_type == Type::Number || m_type == Type::Bool; }
    bool isString() const { return m_type == Type::String; }
    bool isList() const { return m_type == Type::List; }
    bool isDict() const { return m_type == Type::Dict; }
    bool isBytes() const { return m_type == Type::Bytes; }
    bool isDate() const { return m_type == Type::Date; }

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
    Type m_type = Type::Absent;
    bool m_bool = false;
    QString m_text;  // String value, or the decimal text of a Number
    std::shared_ptr<const ValueList> m_list;
    std::shared_ptr<const ValueDict> m_dict;
    QByteArray m_bytes;
    QDateTime m_date;
};

// A dictionary that keeps insertion order: the forum's answers, request
// parameters and stored settings are all read and written in document order.
// Setting a key that is already present keeps its first position and takes
// the new value.
class ValueDict {
public:
    using Entry = std::pair<QString, Value>;

    ValueDict() = default;
    ValueDict(std::initializer_list<Entry> entries);

    void insert(const QString& key, const Value& value);
    void remove(const QString& key);
    bool contains(const QString& key) const;
    // The value under the key, or an absent value.
    Value value(const QString& key) const;
    QStringList keys() const;

    int size() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }

    std::vector<Entry>::const_iterator begin() const { return m_entries.begin(); }
    std::vector<Entry>::const_iterator end() const { return m_entries.end(); }

    bool operator==(const ValueDict& other) const;
    bool operator!=(const ValueDict& other) const { return !(*this == other); }

private:
    void reindex();

    std::vector<Entry> m_entries;
    QHash<QString, int> m_index;
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
