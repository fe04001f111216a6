#pragma once

#include "ForumMembers.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// Who asks: the member signed in on the request's token (0 for a guest).
struct ForumViewer {
    int userid = 0;
    bool moderator = false;
    QString forumPasswordHash;  // "forumpwdmd5" as the request sent it
    bool isMember() const { return userid > 0; }
};

struct ForumNode {
    int forumid = 0;
    int parentid = 0;  // 0 at the top
    QString title;
    QString description;
    bool category = false;
    bool link = false;
    QString linkUrl;
    QString password;        // not empty: the forum asks for it
    bool membersOnly = false;
    bool moderateNew = false;  // members' new threads and replies wait for approval
    bool prefixes = false;     // offers the forum's thread prefixes
    QList<int> children;       // in display order
};

struct ForumAttachment {
    int attachmentid = 0;
    int postid = 0;     // 0 while the upload waits for its post
    QString posthash;   // the form it was uploaded with
    int userid = 0;
    QString filename;
    QString contentType;
    QByteArray bytes;
    QString linkUrl;    // a picture given by its web address instead of a file
    bool approved = true;
    QDateTime stamp;    // whole seconds: its "Date" and "Last-Modified"
    bool isImage() const { return contentType.startsWith(u"image/"); }
    // The content type the forum gives a file of this name.
    static QString typeOf(const QString& filename);
};

struct ForumPost {
    int postid = 0;
    int threadid = 0;
    int userid = 0;
    QString title;
    QString bbcode;
    QString html;  // given as written instead of the BB-code's (a staff post in HTML)
    qint64 time = 0;
    bool approved = true;
    bool deleted = false;
    int deletedBy = 0;
    int editedBy = 0;
    qint64 editedTime = 0;
};

struct ForumThread {
    int threadid = 0;
    int forumid = 0;
    int userid = 0;
    QString title;
    QString prefixid;
    QStringList tags;
    bool sticky = false;
    bool closed = false;
    bool approved = true;
    bool deleted = false;
    int deletedBy = 0;
    int views = 0;
    QList<int> posts;  // in time order
};

struct ForumAnnouncement {
    int announcementid = 0;
    int forumid = -1;  // -1: every forum
    int userid = 0;
    QString title;
    QString bbcode;
    qint64 start = 0;
};

struct ForumNotice {
    int noticeid = 0;
    QString text;
    QString audience;  // "all", "guests" or "members"
};

struct ForumComment {
    int userid = 0;
    QString text;
    qint64 time = 0;
};

struct ForumBlogEntry {
    int blogid = 0;
    int userid = 0;
    int categoryid = 0;
    QString title;
    QString bbcode;
    QStringList tags;
    qint64 time = 0;
    int views = 0;
    QList<ForumComment> comments;
    qint64 lastActivity() const { return comments.isEmpty() ? time : comments.last().time; }
};

struct ForumArticle {
    int articleid = 0;
    int userid = 0;
    QString title;
    QString bbcode;
    QString category;
    QString previewImage;  // a picture name, or empty
    QStringList tags;
    qint64 publish = 0;
    int views = 0;
    QList<ForumComment> comments;
};

struct ForumPrefix {
    QString id;
    QString title;
    QString group;
    QString color;
};

// What the forum remembers of one member beyond the member's profile.
struct ForumMemberState {
    QMap<int, int> threadSubscriptions;  // thread id -> e-mail update mode
    QMap<int, int> forumSubscriptions;   // forum id -> e-mail update mode
    QHash<int, qint64> readUpTo;         // thread id -> time of the last post read
    QSet<int> dismissedNotices;
    qint64 lastVisit = 0;                // posts after it count as new
    int unreadPms = 0;
    bool autosubscribe = false;
    int emailupdate = 0;                 // the member's usual e-mail update mode
};

// A compose form the forum handed out: its tokens and what it is for.
struct ForumForm {
    QString posthash;
    qint64 starttime = 0;
    int userid = 0;
};

struct ForumReport {
    int postid = 0;
    int userid = 0;
    QString reason;
    qint64 time = 0;
};

// Everything the forum holds besides its members and sessions: the forum tree,
// threads, posts, attachments, announcements, notices, blogs and articles, and
// each member's subscriptions and read marks (ForumSeed fills it at start). The
// rules of who sees what live here too. Not locked: the forum guards it.
class ForumContent {
public:
    explicit ForumContent(ForumMembers& members) : m_members(members) {}

    // The seed's "settings"; posts after `newSince` are new to a member who has not read them.
    void setSettings(const QJsonObject& settings, qint64 newSince);
    // A forum below `parentid` (0: at the top), after its parent.
    void addForum(const ForumNode& node);
    void addPrefix(const ForumPrefix& prefix) { m_prefixes.append(prefix); }
    void addAnnouncement(const ForumAnnouncement& announcement) { m_announcements.append(announcement); }
    void addNotice(const ForumNotice& notice) { m_notices.append(notice); }
    void addBlogCategory(int id, const QString& title) { m_blogCategories.insert(id, title); }
    void addBlog(const ForumBlogEntry& entry) { m_blogs.append(entry); }
    void addArticle(const ForumArticle& article) { m_articles.append(article); }

    ForumMembers& members() { return m_members; }
    const ForumMembers& members() const { return m_members; }
    const QJsonObject& settings() const { return m_settings; }
    int setting(const QString& key, int fallback) const;
    static qint64 now();

    // The viewer as the request's member and forum password make it.
    ForumViewer viewer(int userid, const QString& forumPasswordHash) const;

    // Forums.
    const QList<int>& topForums() const { return m_top; }
    const ForumNode* forum(int forumid) const;
    ForumNode* forumMutable(int forumid);
    bool canSee(const ForumNode& node, const ForumViewer& viewer) const;
    bool passwordAccepted(const ForumNode& node, const ForumViewer& viewer) const;
    // The forum and those below it, depth first.
    QList<int> forumAndBelow(int forumid) const;
    // Readable without asking for a password: what lists and searches may show.
    bool openToListings(int forumid, const ForumViewer& viewer) const;

    // Threads and posts.
    const ForumThread* thread(int threadid) const;
    ForumThread* threadMutable(int threadid);
    const ForumPost* post(int postid) const;
    ForumPost* postMutable(int postid);
    QList<int> threadIds() const { return m_threads.keys(); }
    bool canSee(const ForumThread& thread, const ForumViewer& viewer) const;
    bool canSee(const ForumPost& post, const ForumViewer& viewer) const;
    // Threads of a forum the viewer may see, newest activity first.
    QList<const ForumThread*> threadsOf(int forumid, const ForumViewer& viewer, bool sticky) const;
    // Threads of a forum that count for everyone: approved and not deleted.
    QList<const ForumThread*> publicThreads(int forumid) const;
    QList<const ForumPost*> postsOf(const ForumThread& thread, const ForumViewer& viewer) const;
    // Posts that count for everyone: approved and not deleted.
    QList<const ForumPost*> publicPosts(const ForumThread& thread) const;
    qint64 lastPostTime(const ForumThread& thread) const;
    const ForumPost* lastPost(const ForumThread& thread) const;
    int replyCount(const ForumThread& thread) const;
    bool isHot(const ForumThread& thread) const;
    bool isNewFor(const ForumThread& thread, int userid) const;
    // The time up to which the member has read the thread.
    qint64 seenUpTo(int threadid, int userid) const;
    bool hasPosted(const ForumThread& thread, int userid) const;
    void markRead(const ForumThread& thread, int userid, qint64 upTo);

    ForumThread& addThread(ForumThread thread);
    ForumPost& addPost(ForumPost post);
    // Removes a thread and its posts for good.
    void eraseThread(int threadid);
    void erasePost(int postid);
    // Takes the post out of its thread and puts it in another one, in time order.
    void movePost(int postid, int threadid);
    // Puts the thread's posts back in time order.
    void sortPosts(ForumThread& thread);
    int nextThreadId() const;
    int nextPostId() const;

    // Attachments.
    const ForumAttachment* attachment(int attachmentid) const;
    QList<const ForumAttachment*> attachmentsOf(int postid) const;
    QList<ForumAttachment*> attachmentsOfMutable(int postid);
    ForumAttachment& addAttachment(ForumAttachment attachment);
    // Gives the uploads made with this form to the post.
    void claimUploads(const QString& posthash, int userid, int postid);

    // Forms.
    ForumForm openForm(int userid);
    bool formIsKnown(const QString& posthash, int userid) const;

    // Everything else.
    const QList<ForumAnnouncement>& announcements() const { return m_announcements; }
    const QList<ForumNotice>& notices() const { return m_notices; }
    const QList<ForumBlogEntry>& blogs() const { return m_blogs; }
    const ForumBlogEntry* blog(int blogid) const;
    const QMap<int, QString>& blogCategories() const { return m_blogCategories; }
    const QList<ForumArticle>& articles() const { return m_articles; }
    const QList<ForumPrefix>& prefixes() const { return m_prefixes; }
    const ForumPrefix* prefix(const QString& id) const;
    ForumMemberState& state(int userid);
    // The member's state as it stands, or as it would start.
    ForumMemberState stateOf(int userid) const;
    void addReport(const ForumReport& report);
    // What a test may check: see TestForum::threadState and postState.
    QJsonObject threadSnapshot(int threadid) const;
    QJsonObject postSnapshot(int postid) const;
    const QList<ForumReport>& reports() const { return m_reports; }

private:
    ForumMembers& m_members;
    QJsonObject m_settings;
    qint64 m_newSince = 0;
    QMap<int, ForumNode> m_forums;
    QList<int> m_top;
    QMap<int, ForumThread> m_threads;
    QMap<int, ForumPost> m_posts;
    QMap<int, ForumAttachment> m_attachments;
    QList<ForumAnnouncement> m_announcements;
    QList<ForumNotice> m_notices;
    QList<ForumBlogEntry> m_blogs;
    QMap<int, QString> m_blogCategories;
    QList<ForumArticle> m_articles;
    QList<ForumPrefix> m_prefixes;
    QHash<int, ForumMemberState> m_states;
    QHash<QString, ForumForm> m_forms;
    QList<ForumReport> m_reports;
};
