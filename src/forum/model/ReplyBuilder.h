#pragma once

#include "forum/model/AbstractThread.h"
#include "forum/model/Builder.h"

#include <QString>

#include <memory>

class Forum;
class Post;

// Replies to a thread (or comments an article): the form
// ("newreply_newreply", asked at once by thread or by post), then the
// attachments (pictures held in memory too) and the reply
// ("newreply_postreply"). A sent reply reloads the thread.
class ReplyBuilder : public Builder {
public:
    // A page number past the end of any thread.
    static constexpr int PastTheLastPage = 1000000;

    ReplyBuilder();
    ~ReplyBuilder() override;

    static std::shared_ptr<ReplyBuilder> initWithThread(const AbstractThreadPtr& thread);
    static std::shared_ptr<ReplyBuilder> initWithPost(const std::shared_ptr<Post>& post);

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // The send's state (0 idle, 1 sending, 2 sent, 3 failed).
    BuilderStatus status() const { return requestStatus(); }
    void setStatus(BuilderStatus status) { setRequestStatus(status); }
    const AbstractThreadPtr& thread() const { return m_thread; }
    void setThread(const AbstractThreadPtr& thread);
    // The larger of the id the form gave and the thread's own.
    qint32 threadid() const;
    void setThreadid(qint32 threadid) { m_threadid = threadid; }
    bool isSubscribed() const { return m_isSubscribed; }
    void setIsSubscribed(bool subscribed) { m_isSubscribed = subscribed; }
    // Not owned: the thread's forum, whose password hash the reply carries.
    std::shared_ptr<Forum> forum() const { return m_forum.lock(); }
    void setForum(const std::shared_ptr<Forum>& forum) { m_forum = forum; }

    // The form's "threadinfo": its keys fill the builder.
    void setThreadinfo(const Value& info);
    // Its forum, for the password hash when the builder has no forum.
    qint32 forumid() const { return m_forumid; }
    void setForumid(qint32 forumid) { m_forumid = forumid; }

    // Says what the closing of its editor does not say of a reply that ended
    // as sent: that it had reached the forum on the first try, or that it
    // waits for a moderator's approval. Nothing for a reply that simply went.
    void announceSent() const;

    std::optional<ValueDict> getParams() override;
    void post() override;
    void postReply();
    void setErrormessage(const Value& code) override;
    bool wasSentFine(const Value& code) override;
    void setFromRequest(const HTTPRequestPtr& request) override;

protected:
    bool uploadsNeedFormHash() const override { return false; }
    bool uploadsPicturesHeldInMemory() const override { return true; }
    HTTPRequestPtr askForFreshForm() override;
    // The thread's last page, where a reply the forum took is.
    HTTPRequestPtr lookForSentContent() override;
    // A post of the member there with the reply's text, since the form was given.
    bool holdsSentContent(const RequestOutcome& answer) override;

private:
    void sendForm(const ValueDict& params);
    // The forum's password hash as a parameter, when one is stored.
    void addPasswordHash(ValueDict& params) const;

    AbstractThreadPtr m_thread;
    qint32 m_threadid = 0;
    bool m_isSubscribed = false;
    std::weak_ptr<Forum> m_forum;
    qint32 m_forumid = 0;
};

using ReplyBuilderPtr = std::shared_ptr<ReplyBuilder>;
