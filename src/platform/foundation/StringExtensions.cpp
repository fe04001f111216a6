#include "StringExtensions.h"

#include <QCryptographicHash>
#include <QList>
#include <QStringList>
#include <QUuid>

namespace StringExtensions {

QString md5(const QString& text)
{
    // All the bytes, also past an embedded NUL: the server hashes the whole text.
    return md5(text.toUtf8());
}

QString md5(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QString uuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

namespace {
// Letters, marks and digits of any script, "_" and "-".
bool isDomainCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == U'_' || c == U'-';
}
}  // namespace

bool validateEmail(const QString& text)
{
    if (text.isNull() || !text.contains(u'@') || !text.contains(u'.'))
        return false;
    // Only the domain is checked; the server has the last word on the rest.
    const QString domain = text.mid(text.indexOf(u'@') + 1);
    const QStringList pieces = domain.split(u'.');
    for (const QString& piece : pieces) {
        if (piece.isEmpty())
            return false;
        for (char32_t c : piece.toUcs4()) {
            if (!isDomainCharacter(c))
                return false;
        }
    }
    return true;
}

QString replaceAmpersands(const QString& text)
{
    QString result = text;
    return result.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

QString addingPercentEscapes(const QString& text)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding(QByteArrayLiteral("!$&'()*+,/:;=?@")));
}

}  // namespace StringExtensions
