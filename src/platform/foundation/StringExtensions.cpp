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

namespace {

// A text made comparable without case and diacritics: each code point in
// its compatibility decomposition, marks dropped, case folded; `from` and
// `to` give, for each unit of the result, the range of the code point of
// the text it came from.
struct FoldedText {
    QString text;
    QList<int> from;
    QList<int> to;
};

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
           || category == QChar::Mark_Enclosing;
}

FoldedText fold(const QString& text)
{
    FoldedText folded;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
        const QString decomposed = text.mid(i, width).normalized(QString::NormalizationForm_KD);
        for (qsizetype j = 0; j < decomposed.size();) {
            const char32_t c = decomposed.at(j).isHighSurrogate() && j + 1 < decomposed.size()
                                   ? QChar::surrogateToUcs4(decomposed.at(j), decomposed.at(j + 1))
                                   : decomposed.at(j).unicode();
            j += QChar::requiresSurrogates(c) ? 2 : 1;
            if (isMark(c))
                continue;
            // Upper case first, for the letters whose fold is two ("ß": "ss").
            const QString unit = QString::fromUcs4(&c, 1).toUpper().toCaseFolded();
            folded.text.append(unit);
            for (qsizetype k = 0; k < unit.size(); ++k) {
                folded.from.append(int(i));
                folded.to.append(int(i + width));
            }
        }
        i += width;
    }
    return folded;
}

}  // namespace

QList<std::pair<int, int>> rangesOfString(const QString& text, const QString& term)
{
    QList<std::pair<int, int>> ranges;
    const QString needle = fold(term).text;
    if (needle.isEmpty() || text.isEmpty())
        return ranges;
    const FoldedText haystack = fold(text);
    qsizetype at = 0;
    while (at < haystack.text.size()) {
        const qsizetype found = haystack.text.indexOf(needle, at);
        if (found < 0)
            break;
        const qsizetype last = found + needle.size() - 1;
        // The marks written after the last letter belong to it.
        int end = haystack.to.at(last);
        while (end < text.size()) {
            const char32_t c = text.at(end).isHighSurrogate() && end + 1 < text.size()
                                   ? QChar::surrogateToUcs4(text.at(end), text.at(end + 1))
                                   : text.at(end).unicode();
            if (!isMark(c))
                break;
            end += QChar::requiresSurrogates(c) ? 2 : 1;
        }
        // A place inside one code point that folded to several ("ß" to
        // "ss") is the place found before it.
        if (ranges.isEmpty() || haystack.from.at(found) >= ranges.last().second)
            ranges.append({haystack.from.at(found), end});
        at = found + needle.size();
    }
    return ranges;
}

}  // namespace StringExtensions
