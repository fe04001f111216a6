#pragma once

#include "ForumElements.h"
#include "TestForumRequest.h"

#include <optional>

// The lists beside the forum tree: "api_getnewtop" (new and top content, at the
// answer's top level), the subscriptions ("subscription_addsubscription",
// "subscription_doaddsubscription", "subscription_removesubscription",
// "subscription_viewsubscription") and the blogs ("blog_list", "blog_blog",
// "blog.post_newblog"). Not locked: the forum guards it.
class ForumFeeds {
public:
    explicit ForumFeeds(ForumContent& content) : m_content(content), m_elements(content) {}

    std::optional<QJsonValue> answer(const TestForumRequest& request, const ForumViewer& viewer);

    // Threads every list may show the viewer: visible, in a forum that asks no password.
    QList<const ForumThread*> listedThreads(const ForumViewer& viewer) const;
    // A search or subscription row: {"thread": element, "avatar": {"0": address}}.
    QJsonObject threadRow(const ForumThread& thread, const ForumViewer& viewer) const;
    // {"blog": fields, "avatar": ..., "blogposter": {...}}
    QJsonObject blogRow(const ForumBlogEntry& entry) const;
    // The article's fields with {"article": fields} beside them.
    QJsonObject articleRow(const ForumArticle& article) const;

private:
    QJsonObject newTop(const ForumViewer& viewer) const;
    QJsonObject subscription(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject subscribedThreads(const TestForumRequest& request, const ForumViewer& viewer) const;
    QJsonObject blogList(const TestForumRequest& request) const;
    QJsonObject blogEntry(const TestForumRequest& request);

    ForumContent& m_content;
    ForumElements m_elements;
};
