#include "app/json/DecimalText.h"

#include <QString>

#include <cmath>
#include <cstdlib>

namespace {
constexpr size_t maxSignificantDigits = 38;
constexpr qint64 minExponent = -128;
constexpr qint64 maxExponent = 127;
// Exponents are saturated here while reading; the digit count of any text
// cannot bring a saturated exponent back into range.
constexpr qint64 exponentSaturation = 1'000'000'000'000LL;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
}  // namespace

std::optional<DecimalText> DecimalText::read(QStringView text)
{
    // Anything beyond Latin-1 is no digit, sign, point or exponent either.
    return read(QByteArrayView(text.toLatin1()));
}

std::optional<DecimalText> DecimalText::read(QByteArrayView text)
{
    DecimalText number;
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        number.m_negative = text[i] == '-';
        ++i;
    }

    std::string& digits = number.m_digits;
    qint64 fractionDigits = 0;
    bool anyDigit = false;
    for (; i < n && isDigit(text[i]); ++i) {
        anyDigit = true;
        if (!digits.empty() || text[i] != '0')
            digits.push_back(text[i]);
    }
    if (i < n && text[i] == '.') {
        for (++i; i < n && isDigit(text[i]); ++i) {
            anyDigit = true;
            ++fractionDigits;
            // A leading zero after the point only shifts the value.
            if (!digits.empty() || text[i] != '0')
                digits.push_back(text[i]);
        }
    }
    if (!anyDigit)
        return std::nullopt;

    qint64 exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '-' || text[i] == '+')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        if (i >= n || !isDigit(text[i]))
            return std::nullopt;
        for (; i < n && isDigit(text[i]); ++i) {
            if (exponent < exponentSaturation)
                exponent = exponent * 10 + (text[i] - '0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != n)
        return std::nullopt;

    size_t trailingZeros = 0;
    while (trailingZeros < digits.size() && digits[digits.size() - 1 - trailingZeros] == '0')
        ++trailingZeros;
    digits.resize(digits.size() - trailingZeros);

    number.m_exponent = digits.empty() ? 0 : exponent - fractionDigits + qint64(trailingZeros);
    if (digits.empty())
        number.m_negative = false;
    return number;
}

bool DecimalText::fitsDecimal() const
{
    return m_digits.size() <= maxSignificantDigits && m_exponent >= minExponent && m_exponent <= maxExponent;
}

bool DecimalText::isKept() const
{
    if (fitsDecimal())
        return true;
    // The magnitude lies in [10^(p-1), 10^p) with p the position of the point
    // after the first digit; beyond these bounds no double comes near it.
    const qint64 power = qint64(m_digits.size()) + m_exponent;
    if (power > 310 || power < -330)
        return false;
    // The text has no point, so the locale's decimal separator plays no part.
    const QByteArray text = scientificText();
    const double d = std::strtod(text.constData(), nullptr);
    return std::isfinite(d) && d != 0.0;
}

QByteArray DecimalText::plainText() const
{
    if (isZero())
        return QByteArrayLiteral("0");
    QByteArray text;
    const qsizetype digits = qsizetype(m_digits.size());
    text.reserve(digits + qsizetype(std::abs(m_exponent)) + 3);
    if (m_negative)
        text.append('-');
    if (m_exponent >= 0) {
        text.append(m_digits.data(), digits);
        text.append(QByteArray(qsizetype(m_exponent), '0'));
    } else {
        const qsizetype fraction = qsizetype(-m_exponent);
        if (fraction < digits) {
            text.append(m_digits.data(), digits - fraction);
            text.append('.');
            text.append(m_digits.data() + (digits - fraction), fraction);
        } else {
            text.append("0.");
            text.append(QByteArray(fraction - digits, '0'));
            text.append(m_digits.data(), digits);
        }
    }
    return text;
}

QByteArray DecimalText::scientificText() const
{
    if (isZero())
        return QByteArrayLiteral("0");
    QByteArray text;
    if (m_negative)
        text.append('-');
    text.append(m_digits.data(), qsizetype(m_digits.size()));
    if (m_exponent != 0) {
        text.append('e');
        text.append(QByteArray::number(m_exponent));
    }
    return text;
}
