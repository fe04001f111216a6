#include "app/net/HTTPResponse.h"

QString HTTPResponse::headerValue(const QString& name) const
{
    for (const auto& [header, value] : m_headers) {
        if (QString::fromLatin1(header).compare(name, Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(value);
    }
    return QString();
}
