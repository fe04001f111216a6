#include "app/json/ZyJsonParser.h"

#include "app/json/DecimalText.h"

#include <cstring>

namespace {
bool isWhitespace(uchar c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}

bool isDigit(uchar c)
{
    return c >= '0' && c <= '9';
}

int hexDigit(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Bytes that end a plain run inside a string: quote, backslash and controls.
bool endsRun(uchar c)
{
    return c == '"' || c == '\\' || c < 0x20;
}
}  // namespace

Value ZyJsonParser::objectWithString(const QString& text)
{
    const Value value = fragmentWithString(text);
    if (value.isDict() || value.isList())
        return value;
    if (!value.isAbsent())
        addErrorWithCode(ErrorFragment, QStringLiteral("Valid fragment, but not JSON"));
    return Value();
}

Value ZyJsonParser::fragmentWithString(const QString& text)
{
    clearErrorTrace();
    if (text.isNull()) {
        addErrorWithCode(ErrorInput, QStringLiteral("Input was 'nil'"));
        return Value();
    }
    resetDepth();
    m_bytes = text.toUtf8();
    m_pos = 0;

    Value value;
    const bool ok = scanValue(value);
    if (ok) {
        skipWhitespace();
        if (!atEnd()) {
            addErrorWithCode(ErrorTrailingGarbage, QStringLiteral("Garbage after JSON"));
            value = Value();
        }
    }
    m_bytes.clear();
    return ok ? value : Value();
}

char32_t ZyJsonParser::characterCodeAt(qsizetype pos) const
{
    if (pos >= m_bytes.size())
        return 0;
    const uchar lead = uchar(m_bytes[pos]);
    const qsizetype length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const QList<uint> characters = QString::fromUtf8(m_bytes.mid(pos, length)).toUcs4();
    return characters.isEmpty() ? lead : char32_t(characters.first());
}

void ZyJsonParser::skipWhitespace()
{
    while (!atEnd() && isWhitespace(peek()))
        ++m_pos;
}

bool ZyJsonParser::skipLiteral(const char* rest)
{
    const qsizetype length = qsizetype(std::strlen(rest));
    if (m_bytes.size() - m_pos < length || std::memcmp(m_bytes.constData() + m_pos, rest, size_t(length)) != 0)
        return false;
    m_pos += length;
    return true;
}

bool ZyJsonParser::fail(int code, const char* description)
{
    addErrorWithCode(code, QString::fromLatin1(description));
    return false;
}

bool ZyJsonParser::failForKey(const QString& key)
{
    addErrorWithCode(ErrorParse, QStringLiteral("Object value expected for key: ") + key);
    return false;
}

// Containers recurse through here, so it keeps no locals of its own: the stack
// use per level of nesting stays small.
bool ZyJsonParser::scanValue(Value& value)
{
    skipWhitespace();
    if (atEnd())
        return fail(ErrorEndOfInput, "Unexpected end of string");
    switch (peek()) {
    case '{':
        ++m_pos;
        return scanRestOfDictionary(value);
    case '[':
        ++m_pos;
        return scanRestOfArray(value);
    default:
        return scanScalar(value);
    }
}

bool ZyJsonParser::scanScalar(Value& value)
{
    const uchar c = peek();
    switch (c) {
    case '"': {
        ++m_pos;
        QString text;
        if (!scanRestOfString(text))
            return false;
        value = Value(text);
        return true;
    }
    case 't':
        ++m_pos;
        if (!skipLiteral("rue"))
            return fail(ErrorParse, "Expected 'true'");
        value = Value(true);
        return true;
    case 'f':
        ++m_pos;
        if (!skipLiteral("alse"))
            return fail(ErrorParse, "Expected 'false'");
        value = Value(false);
        return true;
    case 'n':
        ++m_pos;
        if (!skipLiteral("ull"))
            return fail(ErrorParse, "Expected 'null'");
        value = Value::null();
        return true;
    case '+':
        return fail(ErrorNumber, "Leading + disallowed in number");
    default:
        if (c == '-' || isDigit(c))
            return scanNumber(value);
        return fail(ErrorParse, "Unrecognised leading character");
    }
}

bool ZyJsonParser::scanRestOfArray(Value& value)
{
    if (!enterLevel())
        return false;
    ValueList list;
    while (!atEnd()) {
        skipWhitespace();
        if (peek() == ']') {
            ++m_pos;
            leaveLevel();
            value = Value(std::move(list));
            return true;
        }
        Value element;
        if (!scanValue(element))
            return fail(ErrorParse, "Expected value while parsing array");
        list.push_back(std::move(element));
        skipWhitespace();
        if (peek() == ',') {
            ++m_pos;
            skipWhitespace();
            if (peek() == ']')
                return fail(ErrorTrailingComma, "Trailing comma disallowed in array");
        }
    }
    return fail(ErrorEndOfInput, "End of input while parsing array");
}

bool ZyJsonParser::scanRestOfDictionary(Value& value)
{
    if (!enterLevel())
        return false;
    ValueDict dict;
    while (!atEnd()) {
        skipWhitespace();
        if (peek() == '}') {
            ++m_pos;
            leaveLevel();
            value = Value(std::move(dict));
            return true;
        }
        QString key;
        if (peek() != '"')
            return fail(ErrorParse, "Object key string expected");
        ++m_pos;
        if (!scanRestOfString(key))
            return fail(ErrorParse, "Object key string expected");
        skipWhitespace();
        if (peek() != ':')
            return fail(ErrorParse, "Expected ':' separating key and value");
        ++m_pos;
        Value member;
        if (!scanValue(member))
            return failForKey(key);
        dict.insert(key, member);
        skipWhitespace();
        if (peek() == ',') {
            ++m_pos;
            skipWhitespace();
            if (peek() == '}')
                return fail(ErrorTrailingComma, "Trailing comma disallowed in object");
        }
    }
    return fail(ErrorEndOfInput, "End of input while parsing object");
}

bool ZyJsonParser::scanRestOfString(QString& text)
{
    do {
        const qsizetype start = m_pos;
        while (!atEnd() && !endsRun(peek()))
            ++m_pos;
        if (m_pos > start)
            text.append(QString::fromUtf8(m_bytes.constData() + start, m_pos - start));

        const uchar c = peek();
        if (c == '"') {
            ++m_pos;
            return true;
        }
        if (c != '\\') {
            // Also the end of the input: an unterminated string.
            addErrorWithCode(ErrorControlCharacter,
                             QStringLiteral("Unescaped control character '0x%1'").arg(uint(c), 0, 16));
            return false;
        }

        ++m_pos;
        const uchar escaped = peek();
        switch (escaped) {
        case '\\':
        case '/':
        case '"': text.append(QLatin1Char(char(escaped))); break;
        case 'b': text.append(QChar(8)); break;
        case 'f': text.append(QChar(12)); break;
        case 'n': text.append(QChar(10)); break;
        case 'r': text.append(QChar(13)); break;
        case 't': text.append(QChar(9)); break;
        case 'u': {
            ++m_pos;
            char32_t character = 0;
            if (!scanUnicodeChar(character))
                return fail(ErrorUnicode, "Broken unicode character");
            text.append(QString::fromUcs4(&character, 1));
            // The quad has been consumed already.
            continue;
        }
        default:
            addErrorWithCode(ErrorEscape,
                             QStringLiteral("Illegal escape sequence '0x%1'").arg(uint(characterCodeAt(m_pos)), 0, 16));
            return false;
        }
        ++m_pos;
    } while (!atEnd());

    return fail(ErrorEndOfInput, "Unexpected EOF while parsing string");
}

bool ZyJsonParser::scanUnicodeChar(char32_t& character)
{
    char32_t high = 0;
    if (!scanHexQuad(high))
        return fail(ErrorUnicode, "Missing hex quad");
    if (high >= 0xD800 && high <= 0xDBFF) {
        char32_t low = 0;
        bool haveLow = false;
        if (peek() == '\\') {
            ++m_pos;
            if (peek() == 'u') {
                ++m_pos;
                haveLow = scanHexQuad(low);
            }
        }
        if (!haveLow)
            return fail(ErrorUnicode, "Missing low character in surrogate pair");
        if (low < 0xDC00 || low > 0xDFFF)
            return fail(ErrorUnicode, "Invalid low surrogate char");
        character = 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
        return true;
    }
    if (high >= 0xDC00 && high <= 0xDFFF)
        return fail(ErrorUnicode, "Invalid high character in surrogate pair");
    character = high;
    return true;
}

bool ZyJsonParser::scanHexQuad(char32_t& quad)
{
    quad = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexDigit(peek());
        if (digit < 0)
            return fail(ErrorUnicode, "Missing hex digit in quad");
        ++m_pos;
        quad = quad * 16 + char32_t(digit);
    }
    return true;
}

bool ZyJsonParser::scanNumber(Value& value)
{
    const qsizetype start = m_pos;
    if (peek() == '-')
        ++m_pos;

    if (peek() == '0') {
        ++m_pos;
        if (isDigit(peek()))
            return fail(ErrorNumber, "Leading 0 disallowed in number");
    } else if (!isDigit(peek())) {
        return fail(ErrorNumber, "No digits after initial minus");
    } else {
        while (isDigit(peek()))
            ++m_pos;
    }

    if (peek() == '.') {
        ++m_pos;
        if (!isDigit(peek()))
            return fail(ErrorNumber, "No digits after decimal point");
        while (isDigit(peek()))
            ++m_pos;
    }

    if (peek() == 'e' || peek() == 'E') {
        ++m_pos;
        if (peek() == '-' || peek() == '+')
            ++m_pos;
        if (!isDigit(peek()))
            return fail(ErrorNumber, "No digits after exponent");
        while (isDigit(peek()))
            ++m_pos;
    }

    const QString text = QString::fromLatin1(m_bytes.constData() + start, m_pos - start);
    const std::optional<DecimalText> number = DecimalText::read(text);
    if (!number || !number->fitsDecimal())
        return fail(ErrorNumber, "Failed creating decimal instance");
    value = Value::number(number->plainText());
    return true;
}
