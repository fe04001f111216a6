#pragma once

#include "app/json/ZyJsonBase.h"
#include "platform/foundation/Value.h"

#include <QByteArray>

// Reads JSON text into values: objects to insertion-ordered dictionaries,
// arrays to lists, numbers to exact decimals. Lenient in two points: a missing
// comma between elements or members is accepted, and vertical tab and form
// feed count as whitespace.
class ZyJsonParser : public ZyJsonBase {
public:
    // A dictionary or list, or nothing (see errorTrace()).
    Value objectWithString(const QString& text);
    // Any value, or nothing.
    Value fragmentWithString(const QString& text);

private:
    // The byte at the read position; the end of the input reads as 0, which no
    // token starts with, so comparisons need no separate end check.
    uchar peek() const { return m_pos < m_bytes.size() ? uchar(m_bytes[m_pos]) : 0; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    // The code of the (UTF-8) character at a position, for error texts.
    char32_t characterCodeAt(qsizetype pos) const;
    void skipWhitespace();
    bool skipLiteral(const char* rest);

    // Adds an error and answers false. Kept out of line so that the error
    // texts take no room in the frames of the recursive readers.
    Q_NEVER_INLINE bool fail(int code, const char* description);
    Q_NEVER_INLINE bool failForKey(const QString& key);

    bool scanValue(Value& value);
    Q_NEVER_INLINE bool scanScalar(Value& value);
    bool scanRestOfArray(Value& value);
    bool scanRestOfDictionary(Value& value);
    bool scanRestOfString(QString& text);
    bool scanUnicodeChar(char32_t& character);
    bool scanHexQuad(char32_t& quad);
    bool scanNumber(Value& value);

    QByteArray m_bytes;
    qsizetype m_pos = 0;
};
