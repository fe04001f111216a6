#include "forum/model/AnswerShape.h"

namespace AnswerShape {

bool isListLike(const Value& value)
{
    return value.isList() || value.isDict();
}

ValueList listOf(const Value& value)
{
    if (value.isList())
        return value.list();
    if (value.isDict())
        return ValueList{value};
    return ValueList();
}

ValueList dictionariesOf(const Value& value)
{
    ValueList found;
    for (const Value& element : listOf(value)) {
        if (element.isDict())
            found.push_back(element);
    }
    return found;
}

QString codeOf(const Value& value)
{
    const Value code = value.isList() ? value.at(0) : value;
    return code.isString() ? code.string() : QString();
}

QString pageKeyOf(const Value& value)
{
    if (value.isNumber())
        return value.numberText();
    if (value.isString())
        return value.string();
    return QString();
}

QString emailUpdateOf(const Value& json)
{
    Value selected = json[u"response"][u"HTML"][u"emailselected"];
    if (!selected.isDict())
        selected = json[u"HTML"][u"emailselected"];
    const ValueDict& modes = selected.dict();
    for (const char* mode : {"3", "2", "1"}) {
        if (modes.contains(QStringLiteral("[%1]").arg(QLatin1String(mode))))
            return QString::fromLatin1(mode);
    }
    return QStringLiteral("0");
}

}  // namespace AnswerShape
