#include "app/json/ZyJsonWriter.h"

#include "app/json/DecimalText.h"

#include <algorithm>
#include <charconv>
#include <vector>

QString ZyJsonWriter::stringWithObject(const Value& value)
{
    clearErrorTrace();
    if (!value.isDict() && !value.isList()) {
        addErrorWithCode(ErrorFragment, QStringLiteral("Not valid type for JSON"));
        return QString();
    }
    resetDepth();
    QString json;
    if (!appendValue(value, json))
        return QString();
    return json;
}

QString ZyJsonWriter::stringWithFragment(const Value& value)
{
    clearErrorTrace();
    resetDepth();
    QString json;
    if (!appendValue(value, json))
        return QString();
    return json;
}

// Containers recurse through here and the two below, so error texts and
// scalars are handled out of line: the stack use per level stays small.
bool ZyJsonWriter::appendValue(const Value& value, QString& json)
{
    switch (value.type()) {
    case Value::Type::Dict: return appendDictionary(value.dict(), json);
    case Value::Type::List: return appendArray(value.list(), json);
    default: return appendScalar(value, json);
    }
}

bool ZyJsonWriter::appendScalar(const Value& value, QString& json)
{
    switch (value.type()) {
    case Value::Type::String: appendString(value.string(), json); return true;
    case Value::Type::Number: return appendNumber(value, json);
    case Value::Type::Bool: json.append(value.toBool() ? u"true" : u"false"); return true;
    case Value::Type::Null: json.append(u"null"); return true;
    case Value::Type::Bytes: return failUnsupported("NSData");
    case Value::Type::Date: return failUnsupported("NSDate");
    case Value::Type::Dict:
    case Value::Type::List:
    case Value::Type::Absent: break;
    }
    return failUnsupported("(null)");
}

bool ZyJsonWriter::failUnsupported(const char* className)
{
    addErrorWithCode(ErrorUnsupported, QStringLiteral("JSON serialisation not supported for ") + QString::fromLatin1(className));
    return false;
}

bool ZyJsonWriter::failForKey(const QString& key)
{
    addErrorWithCode(ErrorUnsupported, QStringLiteral("Unsupported value for key ") + key + QStringLiteral(" in object"));
    return false;
}

bool ZyJsonWriter::appendDictionary(const ValueDict& dict, QString& json)
{
    if (!enterLevel())
        return false;
    json.append(u'{');
    std::vector<const ValueDict::Entry*> entries;
    entries.reserve(size_t(dict.size()));
    for (const ValueDict::Entry& entry : dict)
        entries.push_back(&entry);
    if (m_sortKeys)
        std::sort(entries.begin(), entries.end(), [](const auto* a, const auto* b) { return a->first < b->first; });
    bool addComma = false;
    for (const ValueDict::Entry* entry : entries) {
        if (addComma)
            json.append(u',');
        addComma = true;
        if (m_humanReadable)
            appendIndent(json);
        appendString(entry->first, json);
        json.append(m_humanReadable ? u" : " : u":");
        if (!appendValue(entry->second, json))
            return failForKey(entry->first);
    }
    leaveLevel();
    if (m_humanReadable && !dict.isEmpty())
        appendIndent(json);
    json.append(u'}');
    return true;
}

bool ZyJsonWriter::appendArray(const ValueList& list, QString& json)
{
    if (!enterLevel())
        return false;
    json.append(u'[');
    bool addComma = false;
    for (const Value& element : list) {
        if (addComma)
            json.append(u',');
        addComma = true;
        if (m_humanReadable)
            appendIndent(json);
        if (!appendValue(element, json))
            return false;
    }
    leaveLevel();
    if (m_humanReadable && !list.empty())
        appendIndent(json);
    json.append(u']');
    return true;
}

bool ZyJsonWriter::appendNumber(const Value& value, QString& json)
{
    if (const std::optional<qint64> integer = value.exactInteger()) {
        char digits[24];
        const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, *integer);
        json.append(QLatin1StringView(digits, written.ptr - digits));
        return true;
    }
    // Only a finite decimal makes a valid token ("nan" or "inf" would not),
    // and only one the reader keeps: what is written must read back.
    const std::optional<DecimalText> number = DecimalText::read(value.numberText());
    if (!number || !number->isKept())
        return failUnsupported("NSNumber");
    json.append(QLatin1StringView(number->keptText()));
    return true;
}

void ZyJsonWriter::appendIndent(QString& json) const
{
    json.append(u'\n');
    json.append(QString(qsizetype(depth()) * 2, u' '));
}

void ZyJsonWriter::appendString(const QString& text, QString& json)
{
    json.append(u'"');
    const QChar* run = text.constData();
    const QChar* const end = run + text.size();
    for (const QChar* c = run; c != end; ++c) {
        const char16_t u = c->unicode();
        if (u >= 0x20 && u != u'"' && u != u'\\')
            continue;
        json.append(run, c - run);
        run = c + 1;
        switch (u) {
        case u'"': json.append(u"\\\""); break;
        case u'\\': json.append(u"\\\\"); break;
        case 8: json.append(u"\\b"); break;
        case 9: json.append(u"\\t"); break;
        case 10: json.append(u"\\n"); break;
        case 12: json.append(u"\\f"); break;
        case 13: json.append(u"\\r"); break;
        default: {
            static const char16_t hex[] = u"0123456789abcdef";
            const char16_t escape[] = {u'\\', u'u', u'0', u'0', hex[u >> 4], hex[u & 15]};
            json.append(reinterpret_cast<const QChar*>(escape), 6);
        }
        }
    }
    json.append(run, end - run);
    json.append(u'"');
}
