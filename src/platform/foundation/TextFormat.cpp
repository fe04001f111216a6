#include "TextFormat.h"

namespace TextFormat {

QString fill(const QString& format, const QList<Value>& args)
{
    QString result;
    result.reserve(format.size());
    qsizetype next = 0;
    auto nextArgument = [&]() { return next < args.size() ? args.at(next++) : Value(); };

    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != u'%' || i + 1 >= format.size()) {
            result.append(c);
            continue;
        }
        const QChar conversion = format.at(i + 1);
        if (conversion == u'@') {
            // toString() of nothing and null is a null text: both fill as empty.
            result.append(nextArgument().toString());
            ++i;
        } else if (conversion == u'd') {
            const Value arg = nextArgument();
            if (!arg.isNothing())
                result.append(QString::number(arg.toLongLong()));
            ++i;
        } else if (conversion == u'%') {
            result.append(u'%');
            ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

}  // namespace TextFormat
