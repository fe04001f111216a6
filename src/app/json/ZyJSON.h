#pragma once

#include "app/json/ZyJsonBase.h"
#include "app/json/ZyJsonParser.h"
#include "app/json/ZyJsonWriter.h"

// One object that reads and writes: a parser and a writer behind the calls,
// whose error trace this object takes over after each call.
class ZyJSON : public ZyJsonBase {
public:
    ZyJSON();

    Value objectWithString(const QString& text);
    Value fragmentWithString(const QString& text);
    QString stringWithObject(const Value& value);
    QString stringWithFragment(const Value& value);

    // allowScalar chooses the fragment form. On failure the last error of the
    // trace is handed out through error, when one is given.
    Value objectWithString(const QString& text, bool allowScalar, Error* error);
    QString stringWithObject(const Value& value, bool allowScalar, Error* error);

    Value objectWithString(const QString& text, Error* error);
    Value fragmentWithString(const QString& text, Error* error);
    QString stringWithObject(const Value& value, Error* error);
    QString stringWithFragment(const Value& value, Error* error);

    // The parser's limit; setting it sets the writer's too.
    quint32 maxDepth() const override { return m_parser.maxDepth(); }
    void setMaxDepth(quint32 maxDepth) override;

    bool humanReadable() const { return m_writer.humanReadable(); }
    void setHumanReadable(bool humanReadable) { m_writer.setHumanReadable(humanReadable); }
    bool sortKeys() const { return m_writer.sortKeys(); }
    void setSortKeys(bool sortKeys) { m_writer.setSortKeys(sortKeys); }

private:
    Value takeOver(const Value& result, const ZyJsonBase& from, Error* error);
    QString takeOver(const QString& result, const ZyJsonBase& from, Error* error);

    ZyJsonWriter m_writer;
    ZyJsonParser m_parser;
};
