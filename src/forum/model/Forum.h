#pragma once

#include "app/model/ModelWithPages.h"
#include "forum/model/ForumPasswordDelegate.h"
#include "forum/model/Subscribable.h"
#include "platform/foundation/AlertView.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class Thread;

// One node of the forum tree and the paged list of its threads
// ("forumdisplay", 20 a page) with its stickies, announcements and the
// member's permissions. It asks for the password of a protected forum and
// keeps the hash that every later request to that forum carries, and it
// subscribes the member to the forum.
class Forum : public Subscribable<ModelWithPages>, public ForumPasswordDelegate, public AlertViewDelegate {
public:
    static constexpr int ThreadsPerPage = 20;

    Forum();
    ~Forum() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // ---- Tree
    qint32 forumid() const { return m_forumid; }
    void setForumid(qint32 forumid) { m_forumid = forumid; }
    qint32 level() const { return m_level; }
    void setLevel(qint32 level) { m_level = level; }
    const QList<std::shared_ptr<Forum>>& children() const { return m_children; }
    void setChildren(const QList<std::shared_ptr<Forum>>& children) { m_children = children; }
    // Not owned: the forum that holds this one; none at the top.
    std::shared_ptr<Forum> parent() const { return m_parent.lock(); }
    void setParent(const std::shared_ptr<Forum>& parent) { m_parent = parent; }
    bool is_category() const { return m_isCategory; }
    void setIs_category(bool category) { m_isCategory = category; }
    bool is_link() const { return m_isLink; }
    void setIs_link(bool link) { m_isLink = link; }
    QString statusicon() const { return m_statusicon; }
    void setStatusicon(const QString& icon) { m_statusicon = icon; }
    qint32 threadcount() const { return m_threadcount; }
    void setThreadcount(qint32 count) { m_threadcount = count; }
    qint32 replycount() const { return m_replycount; }
    void setReplycount(qint32 count) { m_replycount = count; }
    QString title_clean() const { return m_titleClean; }
    void setTitle_clean(const QString& title) { m_titleClean = title; }
    QString description_clean() const { return m_descriptionClean; }
    void setDescription_clean(const QString& description) { m_descriptionClean = description; }
    bool isNew() const { return m_statusicon == u"new"; }

    // ---- Permissions (from an answer's "show")
    bool canModerate() const { return m_canModerate; }
    void setCanModerate(bool can) { m_canModerate = can; }
    bool canDeleteThreads() const { return m_canDeleteThreads; }
    void setCanDeleteThreads(bool can) { m_canDeleteThreads = can; }
    bool canDeleteThreadsAsSpam() const { return m_canDeleteThreadsAsSpam; }
    void setCanDeleteThreadsAsSpam(bool can) { m_canDeleteThreadsAsSpam = can; }
    bool canOpenCloseThread() const { return m_canOpenCloseThread; }
    void setCanOpenCloseThread(bool can) { m_canOpenCloseThread = can; }
    bool canApproveUnapproveThread() const { return m_canApproveUnapproveThread; }
    void setCanApproveUnapproveThread(bool can) { m_canApproveUnapproveThread = can; }
    bool canMoveThread() const { return m_canMoveThread; }
    void setCanMoveThread(bool can) { m_canMoveThread = can; }
    bool canViewThreads() const { return m_canViewThreads; }
    void setCanViewThreads(bool can) { m_canViewThreads = can; }
    bool canSearchForums() const { return m_canSearchForums; }
    void setCanSearchForums(bool can) { m_canSearchForums = can; }
    bool canPostThreads() const { return m_canPostThreads; }
    void setCanPostThreads(bool can) { m_canPostThreads = can; }
    bool canStickThread() const { return m_canMoveThread; }

    // ---- Threads
    const QList<std::shared_ptr<Thread>>& stickies() const { return m_stickies; }
    const QList<std::shared_ptr<Thread>>& announcements() const { return m_announcements; }
    QList<std::shared_ptr<Thread>> threadsOnPage(int pageNumber) const;
    void fetchPage(int pageNumber) override;
    // Drops the stickies and subforums, then fetches page 1.
    void refresh();
    // The answer's "show" (permissions), then the password or the page.
    void setFromRequest(const HTTPRequestPtr& request) override;
    // An answer that names a code may ask for the password and brings no
    // page; any other's threads, announcements and stickies are taken before
    // the keys.
    void setDictionary(const Value& dictionary) override;
    void setThreads(const Value& threadbits, const QString& pageKey);
    void setStickies(const Value& stickies);
    void populateAnnouncements(const Value& announcebits);

    // ---- Answer keys that are no plain field
    void setSubforums(const Value& subforums);
    void setChildforumbits(const Value& subforums) { setSubforums(subforums); }
    void setParent_is_category(bool category);
    void setShow(const Value& show);
    void setForum(const Value& nested);

    // ---- Password
    // Asks for the password when the forum says it is missing (a list whose
    // first element is "forumpasswordmissing").
    void handleProtectedForums(const Value& errormessage);
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;
    // Fetches page 1 of that forum again, now with the hash.
    void passwordSavedForForum(Forum* forum) override;
    // Told instead of the forum itself when set; not owned.
    ForumPasswordDelegate* passwordDelegate() const { return m_passwordDelegate.get(); }
    void setPasswordDelegate(ForumPasswordDelegate* delegate) { m_passwordDelegate = WeakRef<ForumPasswordDelegate>(delegate); }
    // The prompt on screen, if any.
    const std::shared_ptr<AlertView>& passwordPrompt() const { return m_passwordPrompt; }
    // The hash of each forum's password by forum id, for the whole run (never stored).
    static QHash<qint32, QString>& forumPassword();
    // The stored hash of the forum's password, or a null text.
    static QString passwordHash(qint32 forumid);
    // md5 of the member's id and the password as typed.
    static QString hashOfPassword(qint32 userid, const QString& password);
    // Forgets every hash, as a new run would (tests).
    static void resetForumPasswords();

    // ---- As a table of this forum (section 0) and its subforums (section 1)
    int numberOfSections() const { return 2; }
    int numberOfRowsInSection(int section) const;
    // Null outside the table.
    std::shared_ptr<Forum> retrieveForumAtIndexPath(int section, int row);

protected:
    std::pair<QString, qint32> subscriptionTarget() const override;

private:
    std::shared_ptr<Forum> self();
    void setParentIsCategory(const Value& category);

    QList<std::shared_ptr<Thread>> m_announcements;
    std::shared_ptr<AlertView> m_passwordPrompt;
    WeakRef<ForumPasswordDelegate> m_passwordDelegate;
    QList<std::shared_ptr<Thread>> m_stickies;
    qint32 m_level = 0;
    QList<std::shared_ptr<Forum>> m_children;
    std::weak_ptr<Forum> m_parent;
    bool m_isCategory = false;
    bool m_canModerate = false;
    bool m_canDeleteThreads = false;
    bool m_canDeleteThreadsAsSpam = false;
    bool m_canOpenCloseThread = false;
    bool m_canApproveUnapproveThread = false;
    bool m_canMoveThread = false;
    bool m_canViewThreads = false;
    bool m_canSearchForums = false;
    bool m_canPostThreads = false;
    qint32 m_forumid = 0;
    QString m_statusicon;
    qint32 m_threadcount = 0;
    qint32 m_replycount = 0;
    QString m_titleClean;
    QString m_descriptionClean;
    bool m_isLink = false;
    int m_nesting = 0;
};

using ForumPtr = std::shared_ptr<Forum>;
