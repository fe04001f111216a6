#pragma once

#include "platform/foundation/Value.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <ostream>

// Readable failure messages for the Qt text types and our dynamic value:
// GoogleTest would otherwise print their bytes.

inline std::ostream& operator<<(std::ostream& os, const QString& text)
{
    return os << text.toStdString();
}

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << "b\"" << bytes.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '(';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", \"" : "\"") << list.at(i).toStdString() << '"';
    *os << ')';
}

inline void PrintTo(const QUrl& url, std::ostream* os)
{
    *os << '<' << url.toString(QUrl::FullyEncoded).toStdString() << '>';
}

inline void PrintTo(const Value& value, std::ostream* os)
{
    *os << value.debugText().toStdString();
}
