#include "DateExtensions.h"

#include "platform/foundation/NamedException.h"

namespace {

QString kindName(const Value& value)
{
    switch (value.type()) {
    case Value::Type::List: return QStringLiteral("List");
    case Value::Type::Dict: return QStringLiteral("Dictionary");
    case Value::Type::Bytes: return QStringLiteral("Bytes");
    default: return QStringLiteral("Value");
    }
}

}  // namespace

namespace DateExtensions {

std::optional<QDateTime> createWithObject(const Value& value)
{
    if (value.isDate())
        return value.date();
    if (value.isNothing())
        return std::nullopt;
    if (value.isNumeric() || value.isString())
        return QDateTime::currentDateTimeUtc().addSecs(value.toLongLong());
    throw NamedException(QStringLiteral("Invalid date"),
                         QStringLiteral("Attempt to create a date with invalid parameter of class \"%1\"")
                             .arg(kindName(value)));
}

}  // namespace DateExtensions
