#pragma once

#include "app/json/ZyJsonBase.h"
#include "platform/foundation/Value.h"

#include <QByteArray>
#include <QByteArrayView>


// Reads JSON text into values: objects to insertion-ordered dictionaries,
// arrays to lists, numbers to exact decimals. Lenient in two points: a missing
// comma between elements or members is accepted, and vertical tab and form
// feed count as whitespace.
//
// The reader works on the UTF-8 bytes and keeps no call stack of its own per
// level of nesting: open arrays and objects wait on an explicit stack, their
// elements in one shared scratch list. The parsers of a thread share that
// scratch and the keys they have read.
class ZyJsonParser : public ZyJsonBase {
public:
    ZyJsonParser();
    ~ZyJsonParser() override;

    // A dictionary or list, or nothing (see errorTrace()).
    Value objectWithString(const QString& text);
    // Any value, or nothing.
    Value fragmentWithString(const QString& text);

    // The same from the UTF-8 bytes of an answer, without a detour through
    // UTF-16: what decoding the bytes to text first would give. Bytes that
    // are no valid UTF-8 are refused as a whole; a null view counts as no
    // input; a leading byte-order mark is skipped.
    Value objectWithUTF8(QByteArrayView json);
    Value fragmentWithUTF8(QByteArrayView json);

private:
    struct Frame;
    class KeyTable;
    struct Scratch;

    Value objectFrom(Value fragment);
    Value parse(QByteArrayView json);
    bool scanDocument(Value& result);

    bool atEnd() const { return m_pos >= m_end; }
    // The byte at the read position; the end of the input reads as 0, which no
    // token starts with, so comparisons need no separate end check.
    uchar peek() const { return m_pos < m_end ? *m_pos : 0; }
    // Answers are mostly written without whitespace: the usual case is one
    // comparison where the caller is.
    void skipWhitespace()
    {
        if (m_pos < m_end && *m_pos <= ' ')
            skipWhitespaceRun();
    }
    Q_NEVER_INLINE void skipWhitespaceRun();
    bool skipLiteral(const char* rest, size_t length);

    // Adds an error and answers false.
    Q_NEVER_INLINE bool fail(int code, const char* description);
    // An error of the innermost open array or object itself: the enclosing
    // ones each add what they were reading.
    Q_NEVER_INLINE bool failInFrame(int code, const char* description);
    // A value could not be read: every open array or object adds its error.
    Q_NEVER_INLINE bool unwind();

    bool scanScalar(Value& value);
    // Reads a string after its opening quote; its UTF-8 text is left in
    // m_text (pointing into the input or into the escape buffer).
    bool scanRestOfString();
    bool scanEscapes(const uchar* runStart);
    bool scanUnicodeChar(char32_t& character);
    bool scanHexQuad(char32_t& quad);
    bool scanNumber(Value& value);
    Q_NEVER_INLINE bool scanDecimal(const uchar* start, Value& value);

    void closeArray();
    void closeObject();

    const uchar* m_pos = nullptr;
    const uchar* m_end = nullptr;
    QByteArrayView m_text;

    // The thread's scratch while a document is read.
    Scratch* m_scratch = nullptr;
};
