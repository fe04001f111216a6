#include "forum/model/SearchRows.h"

ValueList SearchRows::elements(const Value& rows)
{
    if (rows.isList())
        return rows.list();
    if (rows.isDict())
        return ValueList{rows};
    return ValueList{};
}

void SearchRows::applyAvatar(Model& model, const Value& avatar)
{
    if (!avatar.isAbsent())
        model.setDictionary(Value(ValueDict{{QStringLiteral("avatar"), avatar}}));
}
