#include "PropertyList.h"

#include <QFile>
#include <QTimeZone>

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

// Property-list dates count seconds from 2001-01-01 UTC.
const QDateTime kReferenceDate(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());

struct PlistDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

Value toValue(plist_t node);

Value dictToValue(plist_t node)
{
    ValueDict dict;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(node, &it);
    if (!it)
        return Value(dict);
    for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, it, &key, &item);
        if (!item) {
            std::free(key);
            break;
        }
        const Value v = toValue(item);
        if (key && !v.isAbsent())
            dict.insert(QString::fromUtf8(key), v);
        std::free(key);
    }
    std::free(it);
    return Value(std::move(dict));
}

Value arrayToValue(plist_t node)
{
    ValueList list;
    const uint32_t n = plist_array_get_size(node);
    list.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
        const Value v = toValue(plist_array_get_item(node, i));
        if (!v.isAbsent())
            list.push_back(v);
    }
    return Value(std::move(list));
}

Value toValue(plist_t node)
{
    if (!node)
        return Value();
    switch (plist_get_node_type(node)) {
    case PLIST_DICT: return dictToValue(node);
    case PLIST_ARRAY: return arrayToValue(node);
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return Value(QString::fromUtf8(text, static_cast<qsizetype>(length)));
    }
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Value(b != 0);
    }
    case PLIST_UINT: {
        // The library keeps every integer as 64 raw bits without its sign;
        // negative numbers are far more common in our data than ones above
        // 2^63, so the bits read as signed.
        uint64_t bits = 0;
        plist_get_uint_val(node, &bits);
        return Value(static_cast<qint64>(bits));
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return Value(d);
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return Value(QByteArray(bytes, static_cast<qsizetype>(length)));
    }
    case PLIST_DATE: {
        int32_t sec = 0;
        int32_t usec = 0;
        plist_get_date_val(node, &sec, &usec);
        return Value(kReferenceDate.addMSecs(qint64(sec) * 1000 + usec / 1000));
    }
    case PLIST_UID: {
        uint64_t uid = 0;
        plist_get_uid_val(node, &uid);
        return Value(static_cast<quint64>(uid));
    }
    default: return Value();
    }
}

plist_t numberNode(const Value& value)
{
    const QString text = value.numberText();
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (ok)
        return plist_new_uint(static_cast<uint64_t>(n));
    const quint64 u = text.toULongLong(&ok);
    if (ok)
        return plist_new_uint(u);
    return plist_new_real(value.toDouble());
}

plist_t dateNode(const QDateTime& date)
{
    const qint64 ms = kReferenceDate.msecsTo(date);
    qint64 sec = ms / 1000;
    qint64 rest = ms % 1000;
    if (rest < 0) {
        rest += 1000;
        sec -= 1;
    }
    // The library's dates hold 32-bit seconds; beyond that the nearest end stands.
    sec = std::clamp<qint64>(sec, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    return plist_new_date(static_cast<int32_t>(sec), static_cast<int32_t>(rest * 1000));
}

// A node for the value, or null for a value a property list cannot hold.
plist_t toNode(const Value& value)
{
    switch (value.type()) {
    case Value::Type::Absent:
    case Value::Type::Null: return nullptr;
    case Value::Type::Bool: return plist_new_bool(value.toBool() ? 1 : 0);
    case Value::Type::Number: return numberNode(value);
    case Value::Type::String: return plist_new_string(value.string().toUtf8().constData());
    case Value::Type::Bytes: {
        const QByteArray bytes = value.bytes();
        return plist_new_data(bytes.constData(), static_cast<uint64_t>(bytes.size()));
    }
    case Value::Type::Date: return dateNode(value.date());
    case Value::Type::List: {
        plist_t array = plist_new_array();
        for (const Value& item : value.list()) {
            if (plist_t node = toNode(item))
                plist_array_append_item(array, node);
        }
        return array;
    }
    case Value::Type::Dict: {
        plist_t dict = plist_new_dict();
        for (const auto& [key, item] : value.dict()) {
            if (plist_t node = toNode(item))
                plist_dict_set_item(dict, key.toUtf8().constData(), node);
        }
        return dict;
    }
    }
    return nullptr;
}

template <typename Writer, typename Freer>
QByteArray write(const Value& value, Writer writer, Freer freer)
{
    PlistPtr root(toNode(value));
    if (!root)
        return QByteArray();
    char* out = nullptr;
    uint32_t length = 0;
    writer(static_cast<plist_t>(root.get()), &out, &length);
    if (!out)
        return QByteArray();
    QByteArray result(out, static_cast<qsizetype>(length));
    freer(out);
    return result;
}

}  // namespace

Value PropertyList::fromData(const QByteArray& data, bool* ok)
{
    if (ok)
        *ok = false;
    if (data.isEmpty() || data.size() > std::numeric_limits<int32_t>::max())
        return Value();
    plist_t node = nullptr;
    plist_from_memory(data.constData(), static_cast<uint32_t>(data.size()), &node);
    PlistPtr root(node);
    if (!root)
        return Value();
    Value value = toValue(node);
    if (ok)
        *ok = !value.isAbsent();
    return value;
}

QByteArray PropertyList::toBinary(const Value& value)
{
    return write(value, plist_to_bin, plist_to_bin_free);
}

QByteArray PropertyList::toXml(const Value& value)
{
    return write(value, plist_to_xml, plist_to_xml_free);
}

Value PropertyList::readFile(const QString& path, bool* ok)
{
    if (ok)
        *ok = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Value();
    return fromData(file.readAll(), ok);
}
