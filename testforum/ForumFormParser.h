#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Decoding of the query and body encodings the forum accepts.
namespace ForumFormParser {

// One percent-encoded component; "+" stands for a space, as in forms.
QString decodeComponent(const QByteArray& encoded);

// "k=v&k2=v2" into decoded pairs in their order; a piece without "=" is a key
// with an empty value.
QList<QPair<QString, QString>> decodePairs(const QByteArray& text);

// The text fields (parts without a file name) of a multipart body, in body order.
QList<QPair<QString, QString>> multipartFields(const QByteArray& body, const QByteArray& boundary);

}  // namespace ForumFormParser
