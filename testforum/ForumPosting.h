#pragma once

#include "ForumElements.h"
#include "TestForumRequest.h"

#include <optional>

// Writing to the forum: new threads ("newthread_newthread", then
// "newthread_postthread"), replies ("newreply_newreply", "newreply_postreply"),
// edits ("editpost_editpost", "editpost_updatepost"), attachment uploads
// ("newattachment_manageattach", kept under the form's "posthash" until its post
// is sent) and reports ("report_sendemail"). Not locked: the forum guards it.
class ForumPosting {
public:
    explicit ForumPosting(ForumContent& content) : m_content(content), m_elements(content) {}

    std::optional<QJsonValue> answer(const TestForumRequest& request, const ForumViewer& viewer);

private:
    QJsonObject prepareThread(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject postThread(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject prepareReply(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject postReply(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject prepareEdit(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject updatePost(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject upload(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject report(const TestForumRequest& request, const ForumViewer& viewer);

    // A forum that takes new threads from the viewer, or the refusal.
    std::optional<QJsonObject> forumRefusal(const ForumNode* node, const ForumViewer& viewer) const;
    // A post the viewer may edit, or the refusal.
    std::optional<QJsonObject> editRefusal(const ForumPost* post, const ForumViewer& viewer) const;
    bool tooShort(const QString& message) const;
    QJsonObject formFields(const ForumForm& form) const;
    QJsonValue prefixOptions(const ForumNode& node) const;

    ForumContent& m_content;
    ForumElements m_elements;
};
