#include "forum/model/ContentRows.h"

#include <QHash>

namespace {

QString keyOf(const QString& kind, ContentRows::Source source)
{
    return kind + (source == ContentRows::Source::SearchRow ? QStringLiteral("/search") : QStringLiteral("/feed"));
}

// Filled once by the registering libraries, like the screen registry.
QHash<QString, ContentRows::Maker>& makers()
{
    static QHash<QString, ContentRows::Maker> table;
    return table;
}

}  // namespace

void ContentRows::registerMaker(const QString& kind, Source source, Maker maker)
{
    makers().insert(keyOf(kind, source), std::move(maker));
}

bool ContentRows::isRegistered(const QString& kind, Source source)
{
    return makers().contains(keyOf(kind, source));
}

ModelPtr ContentRows::make(const QString& kind, Source source, const Value& row)
{
    const auto it = makers().constFind(keyOf(kind, source));
    return it == makers().constEnd() ? nullptr : (*it)(row);
}
