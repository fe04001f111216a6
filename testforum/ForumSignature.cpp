#include "ForumSignature.h"

#include <QCryptographicHash>
#include <QList>

#include <algorithm>

namespace ForumSignature {

QString apiKey()
{
    return QStringLiteral("Qw7rTz2k");
}

QString md5Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QByteArray signedQueryText(const QByteArray& rawQuery)
{
    struct Piece {
        QByteArray sortKey;
        QByteArray text;
    };
    QList<Piece> pieces;
    bool methodSeen = false;
    for (const QByteArray& text : rawQuery.split('&')) {
        if (text.isEmpty())
            continue;
        const qsizetype equals = text.indexOf('=');
        const QByteArray key = equals < 0 ? text : text.left(equals);
        if (key == "api_c" || key == "api_v" || key == "api_s" || key == "api_sig")
            continue;
        if (key == "api_m") {
            // A re-signed URL names the method twice; it is signed once.
            if (methodSeen)
                continue;
            methodSeen = true;
        }
        // Keys are ordered as the client saw them, before encoding; the pair
        // itself stays byte for byte as it arrived.
        pieces.append({QByteArray::fromPercentEncoding(key), text});
    }
    std::stable_sort(pieces.begin(), pieces.end(),
                     [](const Piece& a, const Piece& b) { return a.sortKey < b.sortKey; });
    QByteArray joined;
    for (const Piece& piece : pieces) {
        if (!joined.isEmpty())
            joined.append('&');
        joined.append(piece.text);
    }
    return joined;
}

QString requestSignature(const QByteArray& rawQuery, const QString& token,
                         const QString& clientId, const QString& secret)
{
    return md5Hex(signedQueryText(rawQuery) + token.toUtf8() + clientId.toUtf8()
                  + secret.toUtf8() + apiKey().toUtf8());
}

QString responseSignature(const QByteArray& body, const QString& token,
                          const QString& clientId, const QString& secret)
{
    return md5Hex(body + token.toUtf8() + clientId.toUtf8() + secret.toUtf8()
                  + apiKey().toUtf8());
}

}  // namespace ForumSignature
