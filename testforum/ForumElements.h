#pragma once

#include "ForumContent.h"
#include "TestForumRequest.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

// The JSON elements the forum's answers are made of (forums, threads, posts,
// attachments, page navigation, blog and article rows), as one viewer sees them.
class ForumElements {
public:
    explicit ForumElements(const ForumContent& content) : m_content(content) {}

    // {"response": content}
    static QJsonObject response(const QJsonObject& content);
    // {"response": {"errormessage": code}}: a text, or a list such as ["forumpasswordmissing"].
    static QJsonObject code(const QJsonValue& errormessage);
    // The forum writes a list of one as its element, and an empty list as null.
    static QJsonValue listOrSingle(const QJsonArray& list);
    // "pagenav": {"pagenumber", "nextpage", "totalpages", "total", "pagenav": [{"curpage", "pagenumbers"}]}.
    static QJsonObject pagenav(int page, int totalpages, int total, int perpage);
    // The page asked for, kept within 1..totalpages.
    static int clampPage(const QString& asked, int totalpages);
    // The request's "perpage" within 1..100, or the setting's number of items a page.
    static int perPage(const TestForumRequest& request, const ForumContent& content, const QString& setting,
                       int fallback);
    static int pageCount(int total, int perpage) { return qMax(1, (total + perpage - 1) / qMax(1, perpage)); }
    static QString dateText(qint64 time);
    // Titles come with "&" written "&amp;", as the forum stores them.
    static QString ampersands(const QString& text);

    // A forum element; with `children` its visible subforums under "subforums", all the way down.
    QJsonObject forum(const ForumNode& node, const ForumViewer& viewer, bool children) const;
    QJsonArray forumTree(const ForumViewer& viewer) const;
    QJsonObject thread(const ForumThread& thread, const ForumViewer& viewer) const;
    QJsonObject post(const ForumPost& post, const ForumViewer& viewer) const;
    // {"post": post, "postbit_type": "postbit" | "postbit_deleted" | "postbit_ignore" | "postbit_ignore_global"}
    QJsonObject postbit(const ForumPost& post, const ForumViewer& viewer) const;
    QJsonObject blogFields(const ForumBlogEntry& entry) const;
    QJsonObject articleFields(const ForumArticle& article) const;
    // {"0": address} of the member's avatar; empty when the member has none.
    QJsonObject avatar(int userid) const;
    QString avatarUrl(int userid) const;
    QString username(int userid) const;
    QString html(const QString& bbcode) const;

private:
    QString postbitType(const ForumPost& post, const ForumViewer& viewer) const;
    void addAttachments(QJsonObject& element, const ForumPost& post, const ForumViewer& viewer) const;
    QJsonObject forumShow(const ForumNode& node, const ForumViewer& viewer) const;

    const ForumContent& m_content;
};
