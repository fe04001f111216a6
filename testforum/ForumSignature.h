#pragma once

#include <QByteArray>
#include <QString>

// The forum's side of the API signatures, written from the protocol alone so that
// it can catch a client that signs wrongly.
namespace ForumSignature {

// The API key every client of this forum is built with.
QString apiKey();

// Lower-case hex MD5 of the bytes.
QString md5Hex(const QByteArray& bytes);

// The text a request signature covers: the query pairs exactly as they arrived
// (still percent-encoded), without "api_c", "api_v", "api_s" and "api_sig",
// "api_m" once, ordered by key, joined with "&".
QByteArray signedQueryText(const QByteArray& rawQuery);

// md5(signed query text + token + client id + secret + API key).
QString requestSignature(const QByteArray& rawQuery, const QString& token,
                         const QString& clientId, const QString& secret);

// md5(body + token + client id + secret + API key): the "Authorization" of an answer.
QString responseSignature(const QByteArray& body, const QString& token,
                          const QString& clientId, const QString& secret);

}  // namespace ForumSignature
