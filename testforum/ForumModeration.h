#pragma once

#include "ForumElements.h"
#include "TestForumRequest.h"

#include <optional>

// Inline moderation, for moderators only, changing what the forum serves:
// threads ("inlinemod_close", "_open", "_approvethread", "_unapprovethread",
// "_stick", "_unstick", "_undeletethread" with "tlist[id]" entries;
// "inlinemod_dodeletethreads", "_spamthread", "_dodeletespam",
// "_domovethreads"; "postings_docopythread") and posts ("inlinemod_dodeleteposts",
// "_undeleteposts", "_approveposts", "_unapproveposts", "_approveattachments",
// "_unapproveattachments" with "plist[id]" entries; "inlinemod_moveposts",
// "_domoveposts", "_docopyposts"). Not locked: the forum guards it.
class ForumModeration {
public:
    explicit ForumModeration(ForumContent& content) : m_content(content), m_elements(content) {}

    std::optional<QJsonValue> answer(const TestForumRequest& request, const ForumViewer& viewer);

private:
    QJsonObject threadFlags(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject deleteThreads(const QList<int>& ids, const QString& deletetype, const ForumViewer& viewer);
    QJsonObject spamUsers(const QList<int>& ids) const;
    QJsonObject moveThreads(const QList<int>& ids, int destination);
    QJsonObject copyThread(int threadid, int destination);
    QJsonObject postFlags(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject moveForm(const QList<int>& ids) const;
    QJsonObject movePosts(const TestForumRequest& request, bool copy);
    // A destination that can hold threads, or the refusal.
    std::optional<QJsonObject> destinationRefusal(int destination) const;
    int duplicatePost(const ForumPost& post, int threadid);

    ForumContent& m_content;
    ForumElements m_elements;
};
