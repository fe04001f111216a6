#pragma once

#include "app/session/Friend.h"
#include "forum/model/AbstractThread.h"
#include "forum/model/ModerationRequest.h"
#include "forum/model/PostedDate.h"
#include "forum/model/Subscribable.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class Forum;
class Post;

// One forum thread: the row of a thread list (title, starter, counters,
// status flags) and the paged list of its posts ("showthread", or
// "api_gotonewpost" for the page of the first unread post). Its class
// operations carry the inline moderation of threads and their copying.
class Thread : public Subscribable<AbstractThread> {
public:
    // The bits of status_flags.
    enum StatusFlag : qint32 {
        Hot = 1,
        New = 2,
        Sticky = 4,
        Dot = 8,  // the member has posted in it
        Closed = 16,
        Approved = 32,
        Deleted = 64,
    };

    Thread();
    ~Thread() override;

    // A bare thread of that id; nothing is fetched (the link router's).
    static std::shared_ptr<Thread> initWithThreadid(qint32 threadid);

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // ---- Fields
    const FriendPtr& user() const { return m_user; }
    // Not owned: the forum that holds the thread.
    std::shared_ptr<Forum> forum() const { return m_forum.lock(); }
    void setForum(const std::shared_ptr<Forum>& forum) { m_forum = forum; }
    qint32 status_flags() const { return m_statusFlags; }
    void setStatus_flags(qint32 flags) { m_statusFlags = flags; }
    QString lastpostdate() const { return m_lastPosted.dayText(); }
    void setLastpostdate(const QString& date) { m_lastPosted.setDayText(date); }
    QString lastposttime() const { return m_lastPosted.timeText(); }
    void setLastposttime(const QString& time) { m_lastPosted.setTimeText(time); }
    const QDateTime& lastdate() const { return m_lastPosted.date(); }
    void setLastdate(const QDateTime& date) { m_lastPosted.setDate(date); }
    QString threadtitle() const { return m_threadtitle; }
    void setThreadtitle(const QString& title) { m_threadtitle = title; }
    qint32 realthreadid() const { return m_realthreadid; }
    void setRealthreadid(qint32 id) { m_realthreadid = id; }
    qint32 rating() const { return m_rating; }
    void setRating(qint32 rating) { m_rating = rating; }
    QString preview() const { return m_preview; }
    void setPreview(const QString& preview) { m_preview = preview; }
    // From the answer's "show"."deletedthread"; apart from the Deleted flag.
    bool deleted() const { return m_deleted; }
    void setDeleted(bool deleted) { m_deleted = deleted; }
    qint32 replies() const { return m_replies; }
    void setReplies(qint32 replies) { m_replies = replies; }
    qint32 views() const { return m_views; }
    void setViews(qint32 views) { m_views = views; }
    QString prefix_rich() const { return m_prefixRich; }
    void setPrefix_rich(const QString& prefix) { m_prefixRich = prefix; }
    bool isAnnouncement() const { return m_isAnnouncement; }
    void setIsAnnouncement(bool announcement) { m_isAnnouncement = announcement; }

    // ---- Answer keys that are no plain field
    void setThread(const Value& nested);
    void setPostusername(const Value& name);
    void setPostuserid(const Value& id);
    // A dictionary gives its "0" entry, a list its first element, a text
    // itself; "&amp;" is turned into "&".
    void setAvatar(const Value& avatar);
    void setSticky(const Value& sticky);
    void setStatus(const Value& status);
    void setDel_userid(const Value& userid);
    void setShow(const Value& show);

    // ---- Flags
    bool isHot() const { return m_statusFlags & Hot; }
    bool isNew() const { return m_statusFlags & New; }
    bool isSticky() const { return m_statusFlags & Sticky; }
    bool hasReplied() const { return m_statusFlags & Dot; }
    bool isClosed() const { return m_statusFlags & Closed; }
    bool isApproved() const { return m_statusFlags & Approved; }
    bool isDeleted() const { return m_statusFlags & Deleted; }
    void setStickyFlag(bool on) { setFlag(Sticky, on); }
    void setClosed(bool on) { setFlag(Closed, on); }
    void setApproved(bool on) { setFlag(Approved, on); }
    void markAsRead() { setFlag(New, false); }

    // ---- Pages of posts
    // "showthread" for the page, with the forum's password hash when one is
    // stored. A thread without a forum gets a temporary one for this fetch.
    void fetchPage(int pageNumber) override;
    // "api_gotonewpost": the page of the first unread post.
    void fetchSpecialPage() override;
    // Empties the pages and fetches the current page again (page 1 at least).
    void reload() override;
    void postResult(const HTTPRequestPtr& request);
    // Whether the member may moderate the thread's posts, as the forum said
    // last: its forum's word, else that of the last page that came.
    bool canModerate() const;
    // The posts of an answer's "postbits", stored under the page.
    void setPostbits(const Value& postbits, int pageNumber);
    QList<std::shared_ptr<Post>> postsOnPage(int pageNumber) const;

    // ---- Inline moderation of threads (each list of ids one call). The
    // answer is judged; a failure is given to `done`, or shown when there is
    // no `done`.
    using Done = ModerationRequest::Done;
    static void close(const QList<qint32>& ids, Done done = {});
    static void open(const QList<qint32>& ids, Done done = {});
    static void approve(const QList<qint32>& ids, Done done = {});
    static void unapprove(const QList<qint32>& ids, Done done = {});
    static void stick(const QList<qint32>& ids, Done done = {});
    static void unstick(const QList<qint32>& ids, Done done = {});
    static void undelete(const QList<qint32>& ids, Done done = {});
    // Hides the threads ("deletetype" 1).
    static void deleteThreads(const QList<qint32>& ids, Done done = {});
    // Asks which members started the threads, then deletes the threads as spam.
    static void deleteAsSpam(const QList<qint32>& ids, Done done = {});
    // Moves the threads; an alert tells the outcome, then both forums refresh.
    static void move(const QList<qint32>& ids, const std::shared_ptr<Forum>& fromForum,
                     const std::shared_ptr<Forum>& toForum, Done done = {});
    // Copies the threads one after the other; a failure stops the copy and is
    // shown, a complete copy refreshes both forums.
    static void copy(const QList<qint32>& ids, const std::shared_ptr<Forum>& fromForum,
                     const std::shared_ptr<Forum>& toForum, Done done = {});
    // "tlist[<id>]" = "1" for each id.
    static ValueDict buildIdsParams(const QList<qint32>& ids);
    // The ids joined with ",".
    static QString joinedIds(const QList<qint32>& ids);

protected:
    std::pair<QString, qint32> subscriptionTarget() const override;
    void pageLoadCancelled(const HTTPRequestPtr& request) override;

private:
    void setFlag(qint32 flag, bool on);
    // Sends a fetch with the forum's password hash; a thread without a forum
    // gets a temporary one that the fetches in flight hold until the last
    // of them ends.
    void sendFetch(const QString& apiMethod, ValueDict params);
    void endFetch(const HTTPRequestPtr& request);
    bool heldByFetches(const std::shared_ptr<Forum>& forum) const;

    FriendPtr m_user;
    std::weak_ptr<Forum> m_forum;
    qint32 m_statusFlags = 0;
    PostedDate m_lastPosted;
    QString m_threadtitle;
    qint32 m_realthreadid = 0;
    qint32 m_rating = 0;
    QString m_preview;
    bool m_deleted = false;
    qint32 m_replies = 0;
    qint32 m_views = 0;
    QString m_prefixRich;
    bool m_isAnnouncement = false;

    // The temporary forum each fetch in flight holds, by its request.
    QHash<const HTTPRequest*, std::shared_ptr<Forum>> m_temporaryForums;
    // The permission of the last page that came.
    bool m_canModerate = false;
    int m_nesting = 0;
};

using ThreadPtr = std::shared_ptr<Thread>;
