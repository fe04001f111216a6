#pragma once

#include "ForumFeeds.h"
#include "TestForumRequest.h"

#include <QHash>

#include <optional>

// Search in two steps: "search_process" takes the criteria and answers a search
// id under "show"."searchid"; "search_showresults" pages through what it found.
// Threads, posts, blog entries and articles are searched by words (all of them,
// in titles and texts), by member name or by tag, within forums or one thread,
// by date, in the order asked for. Not locked: the forum guards it.
class ForumSearch {
public:
    explicit ForumSearch(ForumContent& content) : m_content(content), m_elements(content), m_feeds(content) {}

    std::optional<QJsonValue> answer(const TestForumRequest& request, const ForumViewer& viewer);

private:
    enum class Kind { Thread, Post, Blog, Article };
    struct Hit {
        Kind kind = Kind::Thread;
        int id = 0;
    };
    struct Result {
        int userid = 0;
        bool posts = false;  // rows are posts ("showposts" 1)
        bool mixed = false;  // rows of every kind, as the general search has them
        QList<Hit> hits;
        qint64 made = 0;
    };

    QJsonObject process(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject showResults(const TestForumRequest& request, const ForumViewer& viewer) const;
    QJsonObject row(const Hit& hit, const ForumViewer& viewer) const;
    void keep(int searchid, const Result& result);

    ForumContent& m_content;
    ForumElements m_elements;
    ForumFeeds m_feeds;
    QHash<int, Result> m_results;
    int m_nextId = 1;
};
