#include "ForumFormParser.h"

namespace ForumFormParser {

QString decodeComponent(const QByteArray& encoded)
{
    QByteArray spaced = encoded;
    spaced.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(spaced));
}

QList<QPair<QString, QString>> decodePairs(const QByteArray& text)
{
    QList<QPair<QString, QString>> pairs;
    for (const QByteArray& piece : text.split('&')) {
        if (piece.isEmpty())
            continue;
        const qsizetype equals = piece.indexOf('=');
        if (equals < 0)
            pairs.append({decodeComponent(piece), QString()});
        else
            pairs.append({decodeComponent(piece.left(equals)), decodeComponent(piece.mid(equals + 1))});
    }
    return pairs;
}

}  // namespace ForumFormParser
