#include "app/text/MuLink.h"

#include "platform/foundation/Value.h"

std::optional<MuLink> MuLink::parse(const QString& text)
{
    if (!text.startsWith(QStringLiteral("mu:")))
        return std::nullopt;
    const QStringList pieces = text.mid(3).split(u'/');
    MuLink link;
    link.m_command = pieces.first();
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const QString& piece = pieces.at(i);
        const qsizetype equals = piece.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = piece.left(equals);
        const qsizetype next = piece.indexOf(u'=', equals + 1);
        const QString value = piece.mid(equals + 1, next < 0 ? -1 : next - equals - 1);
        link.m_parameters.insert(key, value);
    }
    return link;
}

bool MuLink::has(const QString& key) const
{
    return m_parameters.contains(key);
}

QString MuLink::value(const QString& key) const
{
    return m_parameters.value(key);
}

qint32 MuLink::integer(const QString& key) const
{
    return TextNumber::toInt(value(key));
}

qint32 MuLink::id(const QString& key, const QString& alias) const
{
    const qint32 id = integer(key);
    if (id != 0 || alias.isEmpty())
        return id;
    return integer(alias);
}
