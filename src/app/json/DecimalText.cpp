#include "app/json/DecimalText.h"

namespace {
constexpr int maxSignificantDigits = 38;
constexpr qint64 minExponent = -128;
constexpr qint64 maxExponent = 127;
// Exponents are saturated here while reading; the digit count of any text
// cannot bring a saturated exponent back into range.
constexpr qint64 exponentSaturation = 1'000'000'000'000LL;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
}  // namespace

std::optional<DecimalText> DecimalText::read(QStringView text)
{
    DecimalText number;
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        number.m_negative = text[i] == u'-';
        ++i;
    }

    QString digits;
    qint64 fractionDigits = 0;
    bool anyDigit = false;
    for (; i < n && isDigit(text[i]); ++i) {
        anyDigit = true;
        if (!digits.isEmpty() || text[i] != u'0')
            digits.append(text[i]);
    }
    if (i < n && text[i] == u'.') {
        for (++i; i < n && isDigit(text[i]); ++i) {
            anyDigit = true;
            ++fractionDigits;
            // A leading zero after the point only shifts the value.
            if (!digits.isEmpty() || text[i] != u'0')
                digits.append(text[i]);
        }
    }
    if (!anyDigit)
        return std::nullopt;

    qint64 exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'-' || text[i] == u'+')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        if (i >= n || !isDigit(text[i]))
            return std::nullopt;
        for (; i < n && isDigit(text[i]); ++i) {
            if (exponent < exponentSaturation)
                exponent = exponent * 10 + (text[i].unicode() - u'0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != n)
        return std::nullopt;

    qsizetype trailingZeros = 0;
    while (trailingZeros < digits.size() && digits[digits.size() - 1 - trailingZeros] == u'0')
        ++trailingZeros;
    digits.chop(trailingZeros);

    number.m_digits = digits;
    number.m_exponent = digits.isEmpty() ? 0 : exponent - fractionDigits + trailingZeros;
    if (digits.isEmpty())
        number.m_negative = false;
    return number;
}

bool DecimalText::fitsDecimal() const
{
    return m_digits.size() <= maxSignificantDigits && m_exponent >= minExponent && m_exponent <= maxExponent;
}

QString DecimalText::plainText() const
{
    if (isZero())
        return QStringLiteral("0");
    QString text;
    if (m_negative)
        text.append(u'-');
    if (m_exponent >= 0) {
        text.append(m_digits);
        text.append(QString(m_exponent, u'0'));
    } else {
        const qsizetype fraction = -m_exponent;
        if (fraction < m_digits.size()) {
            text.append(m_digits.left(m_digits.size() - fraction));
            text.append(u'.');
            text.append(m_digits.right(fraction));
        } else {
            text.append(QStringLiteral("0."));
            text.append(QString(fraction - m_digits.size(), u'0'));
            text.append(m_digits);
        }
    }
    return text;
}

QString DecimalText::scientificText() const
{
    if (isZero())
        return QStringLiteral("0");
    QString text;
    if (m_negative)
        text.append(u'-');
    text.append(m_digits);
    if (m_exponent != 0) {
        text.append(u'e');
        text.append(QString::number(m_exponent));
    }
    return text;
}
