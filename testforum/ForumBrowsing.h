#pragma once

#include "ForumElements.h"
#include "TestForumRequest.h"

#include <optional>

// Reading the forum: "forum" (the home answer), "api_forumlist" (the tree as a
// top-level list), "forumdisplay", "showthread", "api_gotonewpost",
// "announcement_view" and "ajax_dismissnotice". Reading marks threads read.
// Not locked: the forum guards it.
class ForumBrowsing {
public:
    explicit ForumBrowsing(ForumContent& content) : m_content(content), m_elements(content) {}

    // The whole answer of one of these methods; nothing for any other method.
    std::optional<QJsonValue> answer(const TestForumRequest& request, const ForumViewer& viewer);

private:
    QJsonObject home(const ForumViewer& viewer) const;
    QJsonObject forumDisplay(const TestForumRequest& request, const ForumViewer& viewer) const;
    QJsonObject showThread(const TestForumRequest& request, const ForumViewer& viewer, bool firstNew);
    QJsonObject announcement(const TestForumRequest& request) const;
    QJsonObject dismissNotice(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonArray announcementsOf(int forumid) const;
    // An error answer when the viewer may not read the forum, else nothing.
    std::optional<QJsonObject> refusal(const ForumNode* node, const ForumViewer& viewer) const;

    ForumContent& m_content;
    ForumElements m_elements;
};
