#include "app/json/ZyJSON.h"

ZyJSON::ZyJSON()
{
    setMaxDepth(512);
}

void ZyJSON::setMaxDepth(quint32 maxDepth)
{
    ZyJsonBase::setMaxDepth(maxDepth);
    m_parser.setMaxDepth(maxDepth);
    m_writer.setMaxDepth(maxDepth);
}

// The trace always mirrors the inner object's, so a success leaves no stale
// errors of an earlier call behind.
Value ZyJSON::takeOver(const Value& result, const ZyJsonBase& from, Error* error)
{
    setErrorTrace(from.errorTrace());
    if (result.isAbsent() && error && !errorTrace().isEmpty())
        *error = errorTrace().last();
    return result;
}

QString ZyJSON::takeOver(const QString& result, const ZyJsonBase& from, Error* error)
{
    setErrorTrace(from.errorTrace());
    if (result.isNull() && error && !errorTrace().isEmpty())
        *error = errorTrace().last();
    return result;
}

Value ZyJSON::objectWithString(const QString& text)
{
    return objectWithString(text, false, nullptr);
}

Value ZyJSON::fragmentWithString(const QString& text)
{
    return objectWithString(text, true, nullptr);
}

QString ZyJSON::stringWithObject(const Value& value)
{
    return stringWithObject(value, false, nullptr);
}

QString ZyJSON::stringWithFragment(const Value& value)
{
    return stringWithObject(value, true, nullptr);
}

Value ZyJSON::objectWithString(const QString& text, bool allowScalar, Error* error)
{
    const Value result = allowScalar ? m_parser.fragmentWithString(text) : m_parser.objectWithString(text);
    return takeOver(result, m_parser, error);
}

QString ZyJSON::stringWithObject(const Value& value, bool allowScalar, Error* error)
{
    const QString result = allowScalar ? m_writer.stringWithFragment(value) : m_writer.stringWithObject(value);
    return takeOver(result, m_writer, error);
}

Value ZyJSON::objectWithString(const QString& text, Error* error)
{
    return objectWithString(text, false, error);
}

Value ZyJSON::fragmentWithString(const QString& text, Error* error)
{
    return objectWithString(text, true, error);
}

QString ZyJSON::stringWithObject(const Value& value, Error* error)
{
    return stringWithObject(value, false, error);
}

QString ZyJSON::stringWithFragment(const Value& value, Error* error)
{
    return stringWithObject(value, true, error);
}
