#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <optional>
#include <string>

// A decimal number read from its text as a sign, its significant digits and a
// power of ten, so "12.50", "1.25e1" and "125e-1" are the same number.
class DecimalText {
public:
    // Reads an optional sign, digits with an optional point (at least one
    // digit in all) and an optional exponent. Nothing else is accepted, so
    // "nan", "inf" and " 1" give nothing.
    static std::optional<DecimalText> read(QByteArrayView text);
    static std::optional<DecimalText> read(QStringView text);

    // Whether the exact decimal type holds it: at most 38 significant digits
    // and a power of ten from -128 to 127.
    bool fitsDecimal() const;
    // Whether the codec reads and writes it: it fits the decimal type, or a
    // double holds it without overflowing or vanishing to zero.
    bool isKept() const;

    // The plain decimal text without exponent: "12.5", "1000", "0.0015", "0".
    // Only for numbers that fit the decimal type (the text stays short).
    QByteArray plainText() const;
    // Significant digits and exponent ("15e-4"): a valid JSON number of any size.
    QByteArray scientificText() const;
    // The text the codec keeps and writes: plain when the number fits the
    // decimal type, scientific beyond it.
    QByteArray keptText() const { return fitsDecimal() ? plainText() : scientificText(); }

    bool isZero() const { return m_digits.empty(); }

private:
    DecimalText() = default;

    bool m_negative = false;
    std::string m_digits;  // no leading or trailing zeros; empty for zero
    qint64 m_exponent = 0;
};
