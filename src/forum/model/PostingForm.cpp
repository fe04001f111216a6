#include "forum/model/PostingForm.h"

QString PostingForm::text(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

void PostingForm::addFixedFields(ValueDict& params)
{
    params.insert(QStringLiteral("loggedinuser"), Value(QStringLiteral("0")));
    params.insert(QStringLiteral("wysiwyg"), Value(QStringLiteral("0")));
    params.insert(QStringLiteral("signature"), Value(QStringLiteral("1")));
}

Value PostingForm::firstCode(const Value& code)
{
    return code.isList() ? code.at(0) : code;
}

namespace {

QString comparable(const QString& text)
{
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(u'\r', u'\n');
    return unified.trimmed();
}

}  // namespace

bool PostingForm::sameText(const QString& sent, const QString& kept)
{
    return comparable(sent) == comparable(kept);
}
