#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// Small text helpers used across the application.
namespace StringExtensions {
// The MD5 digest of the text's full UTF-8 bytes as 32 lower-case hex digits.
QString md5(const QString& text);
// The MD5 digest of the bytes as 32 lower-case hex digits.
QString md5(const QByteArray& bytes);
// A fresh unique identifier, upper-case, in the 8-4-4-4-12 form.
QString uuid();
// Whether the text has the shape of an e-mail address.
bool validateEmail(const QString& text);
// Turns every "&amp;" back into "&".
QString replaceAmpersands(const QString& text);
// The address escaping of the platform: letters, digits and
// ! $ & ' ( ) * + , - . / : ; = ? @ _ ~ stay, every other UTF-8 byte becomes
// "%" and two upper-case hex digits.
QString addingPercentEscapes(const QString& text);
// Every place of `term` in `text` as [start, end) in the text's units,
// ignoring letter case and diacritics in any script, each search starting
// where the previous place ended. None for an empty term or text.
QList<std::pair<int, int>> rangesOfString(const QString& text, const QString& term);
}  // namespace StringExtensions
