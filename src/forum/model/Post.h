#pragma once

#include "app/model/ModelWithImage.h"
#include "app/session/Friend.h"
#include "forum/model/Attachment.h"
#include "forum/model/ModerationRequest.h"
#include "forum/model/PostQuote.h"
#include "forum/model/PostedDate.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class Thread;

// One post of a thread: its author, texts (HTML, BB-code and its quotes,
// plain), dates, the member's rights on it, its moderation state and its
// attachments. Made from a "showthread" answer's "postbits", or alone from
// its id. Its class operations carry the inline moderation of posts.
class Post : public ModelWithImage {
public:
    // The bits of status_flags; a new post has none.
    enum StatusFlag : qint32 {
        Deleted = 1,
        Approved = 2,
        UserIgnore = 4,     // the member ignores the author
        IgnoreGlobal = 8,   // the forum ignores the author
    };
    // BB-code longer than this is shown as the "message_too_long" text.
    static constexpr qsizetype MaxShownBbcode = 20000;

    Post();
    ~Post() override;

    // A post that fetches the page that holds it and picks itself out.
    static std::shared_ptr<Post> initWithPostid(qint32 postid);
    // The posts of an answer's "postbits", in order, each with its
    // "postbit_type" applied; elements without a "post" are no posts.
    static QList<std::shared_ptr<Post>> postsOfPostbits(const Value& postbits);

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // ---- Fields
    const FriendPtr& user() const { return m_user; }
    qint32 postid() const { return m_postid; }
    void setPostid(qint32 postid) { m_postid = postid; }
    QString postdate() const { return m_posted.dayText(); }
    void setPostdate(const QString& date) { m_posted.setDayText(date); }
    QString posttime() const { return m_posted.timeText(); }
    void setPosttime(const QString& time) { m_posted.setTimeText(time); }
    const QDateTime& date() const { return m_posted.date(); }
    void setDate(const QDateTime& date) { m_posted.setDate(date); }
    QString message() const { return m_message; }
    qint32 status_flags() const { return m_statusFlags; }
    void setStatus_flags(qint32 flags) { m_statusFlags = flags; }
    const AttachmentList& moderatedattachments() const { return m_moderatedattachments; }
    // The thumbnails followed by the image attachments (the strip's list).
    AttachmentList thumbnailattachments() const;
    // The thumbnail list alone.
    const AttachmentList& ownThumbnailattachments() const { return m_thumbnailattachments; }
    const AttachmentList& otherattachments() const { return m_otherattachments; }
    const AttachmentList& imageattachments() const { return m_imageattachments; }
    const AttachmentList& imageattachmentlinks() const { return m_imageattachmentlinks; }
    // The BB-code as shown and parsed: the "message_too_long" text for a long one.
    QString message_bbcode() const { return m_messageBbcode; }
    void setMessage_bbcode(const QString& bbcode);
    // The BB-code as the forum sent it, however long: what an edit starts
    // from and what a quote carries.
    QString sourceBbcode() const { return m_sourceBbcode; }
    const PostQuotePtr& message_postquote() const { return m_messagePostquote; }
    // The message without its tags, made on first use and kept.
    QString message_nohtml() const;
    QString signature() const { return m_signature; }
    void setSignature(const QString& signature) { m_signature = signature; }
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    QString del_username() const { return m_delUsername; }
    void setDel_username(const QString& name) { m_delUsername = name; }
    // The title of the thread that holds a post known by its id alone, as
    // the answer that brought the post gave it; else empty.
    QString threadtitle() const { return m_threadtitle; }
    void setThreadtitle(const QString& title) { m_threadtitle = title; }
    // Not owned: the thread that holds the post.
    std::shared_ptr<Thread> thread() const { return m_thread.lock(); }
    void setThread(const std::shared_ptr<Thread>& thread) { m_thread = thread; }
    bool canEdit() const { return m_canEdit; }
    void setCanEdit(bool can) { m_canEdit = can; }
    bool canReply() const { return m_canReply; }
    void setCanReply(bool can) { m_canReply = can; }
    bool canReport() const { return m_canReport; }
    void setCanReport(bool can) { m_canReport = can; }

    // ---- Answer keys that are no plain field
    void setPost(const Value& nested);
    void setUsername(const Value& name);
    void setUserid(const Value& id);
    // A text is the HTML; a dictionary gives its own "message".
    void setMessage(const Value& message);
    void setAvatarurl(const Value& address);
    void setModeratedattachments(const Value& list);
    void setThumbnailattachments(const Value& list);
    void setOtherattachments(const Value& list);
    void setImageattachments(const Value& list);
    void setImageattachmentlinks(const Value& list);
    // "postbit_deleted", "postbit_ignore" and "postbit_ignore_global" set their flag.
    void setPostbit_type(const Value& type);
    void setShow(const Value& show);

    // ---- Flags
    bool isDeleted() const { return m_statusFlags & Deleted; }
    bool isApproved() const { return m_statusFlags & Approved; }
    bool userIgnore() const { return m_statusFlags & UserIgnore; }
    bool ignoreGlobal() const { return m_statusFlags & IgnoreGlobal; }
    void setDeleted(bool on) { setFlag(Deleted, on); }
    void setApproved(bool on) { setFlag(Approved, on); }
    void setUserIgnore(bool on) { setFlag(UserIgnore, on); }
    void setIgnoreGlobal(bool on) { setFlag(IgnoreGlobal, on); }

    // ---- Attachments
    bool isApprovedAttachment() const { return m_moderatedattachments.isEmpty(); }
    // After the attachments were approved (moved to their lists) or
    // unapproved (all back to moderation).
    void setApprovedAttachment(bool approved);

    // ---- Actions
    // The quote of this post in the form the forum reads; of a post longer
    // than MaxShownBbcode, its start, saying that the rest was left out.
    QString quote() const;
    void parseFromThread(const HTTPRequestPtr& request);
    // Reports the post; the forum's acknowledgement reaches the observers as
    // a failure carrying its text, as any refusal does.
    void report(const QString& reason);
    void reportedRequest(const HTTPRequestPtr& request);
    // Takes the author off the member's ignore list; the flag clears at once.
    void unignore();

    // ---- Inline moderation of posts (see Thread's)
    using Done = ModerationRequest::Done;
    // Hides the posts ("deletetype" 1).
    static void deletePosts(const QList<qint32>& ids, Done done = {});
    static void undelete(const QList<qint32>& ids, Done done = {});
    static void approve(const QList<qint32>& ids, Done done = {});
    static void unapprove(const QList<qint32>& ids, Done done = {});
    static void approveAttachments(const QList<qint32>& ids, Done done = {});
    static void unapproveAttachments(const QList<qint32>& ids, Done done = {});
    // "plist[<id>]" = "1" for each id.
    static ValueDict buildIdsParams(const QList<qint32>& ids);

private:
    void setFlag(qint32 flag, bool on);

    FriendPtr m_user;
    qint32 m_postid = 0;
    PostedDate m_posted;
    QString m_message;
    qint32 m_statusFlags = 0;
    AttachmentList m_moderatedattachments;
    AttachmentList m_thumbnailattachments;
    AttachmentList m_otherattachments;
    AttachmentList m_imageattachments;
    AttachmentList m_imageattachmentlinks;
    QString m_messageBbcode;
    QString m_sourceBbcode;
    PostQuotePtr m_messagePostquote;
    mutable QString m_messageNohtml;
    mutable bool m_hasNohtml = false;
    QString m_signature;
    QString m_title;
    QString m_delUsername;
    QString m_threadtitle;
    std::weak_ptr<Thread> m_thread;
    bool m_canEdit = false;
    bool m_canReply = false;
    bool m_canReport = false;
    int m_nesting = 0;
};

using PostPtr = std::shared_ptr<Post>;
