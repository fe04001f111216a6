#include "app/json/JSONConvenience.h"

#include "app/json/ZyJsonParser.h"
#include "app/json/ZyJsonWriter.h"
#include "platform/foundation/Log.h"

namespace {
QString failure(const ZyJsonBase& codec)
{
    const QString reason = codec.errorTrace().isEmpty() ? QString() : codec.errorTrace().last().description();
    return QStringLiteral("failed: ") + reason;
}
}  // namespace

Value JSONValue(const QString& text)
{
    ZyJsonParser parser;
    const Value value = parser.objectWithString(text);
    if (value.isAbsent())
        MU_LOG(Log::network, failure(parser));
    return value;
}

Value JSONValue(const QByteArray& utf8)
{
    ZyJsonParser parser;
    const Value value = parser.objectWithUTF8(utf8);
    if (value.isAbsent())
        MU_LOG(Log::network, failure(parser));
    return value;
}

Value JSONFragmentValue(const QByteArray& utf8)
{
    ZyJsonParser parser;
    const Value value = parser.fragmentWithUTF8(utf8);
    if (value.isAbsent())
        MU_LOG(Log::network, failure(parser));
    return value;
}

Value JSONFragmentValue(const QString& text)
{
    ZyJsonParser parser;
    const Value value = parser.fragmentWithString(text);
    if (value.isAbsent())
        MU_LOG(Log::network, failure(parser));
    return value;
}

QString JSONRepresentation(const Value& value)
{
    ZyJsonWriter writer;
    const QString json = writer.stringWithObject(value);
    if (json.isNull())
        MU_LOG(Log::network, failure(writer));
    return json;
}

QString JSONFragment(const Value& value)
{
    ZyJsonWriter writer;
    const QString json = writer.stringWithFragment(value);
    if (json.isNull())
        MU_LOG(Log::network, failure(writer));
    return json;
}
