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

QList<QPair<QString, QString>> multipartFields(const QByteArray& body, const QByteArray& boundary)
{
    QList<QPair<QString, QString>> fields;
    const QByteArray delimiter = "--" + boundary;
    qsizetype at = body.indexOf(delimiter);
    while (at >= 0) {
        const qsizetype start = at + delimiter.size();
        if (body.mid(start, 2) == "--")
            break;
        const qsizetype next = body.indexOf("\r\n" + delimiter, start);
        if (next < 0)
            break;
        const QByteArray part = body.mid(start, next - start);
        const qsizetype headEnd = part.indexOf("\r\n\r\n");
        if (headEnd >= 0) {
            const QByteArray head = part.left(headEnd);
            const qsizetype nameAt = head.indexOf("name=\"");
            if (nameAt >= 0 && !head.contains("filename=")) {
                const qsizetype nameEnd = head.indexOf('"', nameAt + 6);
                fields.append({QString::fromUtf8(head.mid(nameAt + 6, nameEnd - nameAt - 6)),
                               QString::fromUtf8(part.mid(headEnd + 4))});
            }
        }
        at = next + 2;
    }
    return fields;
}

}  // namespace ForumFormParser
