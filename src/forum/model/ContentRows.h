#pragma once

#include "app/model/Model.h"

#include <QString>

#include <functional>

// The content of the feeds and search rows that the forum does not model
// itself (blog entries, articles): the library that models it registers how
// a row becomes its model, by the row's kind ("blog", "article") and where
// the row comes from. A kind nobody registered is skipped.
class ContentRows {
public:
    enum class Source {
        SearchRow,  // a row of the search results: the content under its kind's key
        FeedRow,    // a row of the new and top feed: the content is the row itself
    };
    // A model of the row, or null when the row holds none.
    using Maker = std::function<ModelPtr(const Value& row)>;

    static void registerMaker(const QString& kind, Source source, Maker maker);
    static bool isRegistered(const QString& kind, Source source);
    // The row's model; null when nobody makes this kind or the row holds none.
    static ModelPtr make(const QString& kind, Source source, const Value& row);
};
