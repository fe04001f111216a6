#pragma once

#include "app/model/Model.h"
#include "app/session/Notification.h"
#include "forum/model/Forum.h"
#include "forum/model/Notice.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <mutex>
#include <source_location>

class AppContext;

// The one shared model of the forum's home data: the forum tree, the
// member's notification counters and the notices the member has not
// dismissed. Filled from "forum" (the home answer) and "api_forumlist" (the
// tree alone, a list at the top of the answer). Dismissed notices are kept
// in the user defaults ("dismissed_notices") and told to the forum.
class ForumInfo : public Model {
public:
    ForumInfo();
    ~ForumInfo() override;

    // The forum tree of the application's context in use, the one attached
    // to it; none attached ends the program, naming the place that asked.
    static std::shared_ptr<ForumInfo> getInstance(std::source_location asker = std::source_location::current());
    // Gives the context a new tree, and lets its session clear the tree and
    // the dismissed notices whenever a member signs in or out (the wiring
    // does this when it builds the application). Detaching undoes both.
    static void attachTo(AppContext& context);
    static void detachFrom(AppContext& context);
    // Empties the shared instance in place (its requests cancelled, its
    // fields cleared, its observers told), so that screens observing it see
    // the next load.
    static void clearInstance();
    // Forgets the shared instance altogether, as a new run would (tests).
    static void resetInstance();

    static QStringList dismissedNoticesList();
    static void saveDismissedNoticesList(const QStringList& list);
    static void cleanDismissedNoticesList();

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // GET "forum", answered to the shared instance.
    void fetchForumHome();
    // GET "api_forumlist" when the tree is empty and none is on its way.
    void fetchForumList();
    // Drops the tree and fetches it again, unless a fetch is on its way.
    void reload();
    void setFromRequest(const HTTPRequestPtr& request) override;

    void setForums(const Value& forums);
    void setNotifications_menubits(const Value& notifications);
    void setNotices(const Value& notices);
    void setHeader(const Value& header);

    const QList<ForumPtr>& forums() const { return m_forums; }
    const QList<std::shared_ptr<Notification>>& notifications() const { return m_notifications; }
    // The counter whose phrase is "Unread Private Messages" (the last such).
    std::shared_ptr<Notification> inboxNotification() const { return m_inboxNotification.lock(); }
    const QList<NoticePtr>& notices() const { return m_notices; }
    // The "api_forumlist" request while it is on its way.
    HTTPRequestPtr initRequest() const { return m_initRequest.lock(); }
    int numberOfNotifications() const;

    // Depth first: a forum before its subforums and before later siblings.
    ForumPtr searchForum(qint32 forumid) const;
    static ForumPtr searchForum(qint32 forumid, const QList<ForumPtr>& forums);

    // Hides the notice, remembers it as dismissed and tells the forum;
    // nothing while the tree is being fetched.
    void dismissNotice(qint32 noticeid);

    // ---- As a table: one section per top-level entry. A category holds its
    // subforums (one row standing for the category itself when it has
    // none); a forum holds itself, then its subforums.
    int numberOfSections() const { return int(m_forums.size()); }
    int numberOfRowsInSection(int section) const;
    // Null outside the table.
    ForumPtr retrieveForumAtIndexPath(int section, int row) const;

private:
    void clear();

    std::weak_ptr<HTTPRequest> m_initRequest;
    QList<ForumPtr> m_forums;
    QList<std::shared_ptr<Notification>> m_notifications;
    std::weak_ptr<Notification> m_inboxNotification;
    QList<NoticePtr> m_notices;
    mutable std::recursive_mutex m_lock;
    int m_nesting = 0;
};

using ForumInfoPtr = std::shared_ptr<ForumInfo>;
