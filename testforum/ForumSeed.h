#pragma once

#include "ForumContent.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// Reads the seed into the forum's content: "settings", "prefixes", "forums",
// "threads" (with "filler" posts), "filler_threads", "announcements",
// "notices", "blogs", "articles" and "member_state". Times count back from the
// moment it reads ("ago": "5h"); members are named by their names.
class ForumSeed {
public:
    // Attachment files are looked for in `folder`.
    ForumSeed(ForumContent& content, const QString& folder);

    // False, with the reason, when the seed names something that is not there.
    bool load(const QJsonObject& seed, QString* problem);

private:
    bool loadForums(const QJsonArray& forums, int parentid, QString* problem);
    bool loadThread(const QJsonObject& object, QString* problem);
    bool loadFillerThreads(const QJsonObject& object, QString* problem);
    bool loadAttachment(const QJsonObject& object, int postid, int userid, QString* problem);
    void loadExtras(const QJsonObject& seed);
    int userIdOf(const QJsonValue& value) const;

    ForumContent& m_content;
    QString m_folder;
    qint64 m_origin = 0;
};
