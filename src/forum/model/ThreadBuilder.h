#pragma once

#include "forum/model/Builder.h"
#include "forum/model/ForumPasswordDelegate.h"

#include <QString>

#include <memory>

class Forum;

// Starts a new thread in a forum: the form ("newthread_newthread", asked at
// once, again after the forum's password was typed), then the attachments
// and the thread itself ("newthread_postthread").
class ThreadBuilder : public Builder, public ForumPasswordDelegate {
public:
    // The builder keeps the forum.
    static std::shared_ptr<ThreadBuilder> initWithForum(const std::shared_ptr<Forum>& forum);
    ThreadBuilder();
    ~ThreadBuilder() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    void requestNewThread(const std::shared_ptr<Forum>& forum);
    void post() override;
    std::optional<ValueDict> getParams() override;
    void setFromRequest(const HTTPRequestPtr& request) override;
    void passwordSavedForForum(Forum* forum) override;
    // The member left the prompt: the forum answers its own prompts again.
    void passwordCancelledForForum(Forum* forum) override;

    // The prefixes as a list of groups ({"optgroup_label", "optgroup_options"});
    // a text (the forum has none) leaves none.
    void setPrefix_options(const Value& options);
    static Value arrayOfThreadPrefix(const Value& options);

    const std::shared_ptr<Forum>& forum() const { return m_forum; }
    void setForum(const std::shared_ptr<Forum>& forum) { m_forum = forum; }
    const Value& prefix_options() const { return m_prefixOptions; }
    bool canpostnew() const { return m_canpostnew; }
    void setCanpostnew(bool can) { m_canpostnew = can; }
    qint32 postminchars() const { return m_postminchars; }
    void setPostminchars(qint32 count) { m_postminchars = count; }
    qint32 titlemaxchars() const { return m_titlemaxchars; }
    void setTitlemaxchars(qint32 count) { m_titlemaxchars = count; }
    qint32 maxpolloptions() const { return m_maxpolloptions; }
    void setMaxpolloptions(qint32 count) { m_maxpolloptions = count; }
    // The new thread's id once the forum has made it.
    qint32 threadid() const { return m_threadid; }
    void setThreadid(qint32 threadid) { m_threadid = threadid; }
    // The id of the chosen prefix, or null.
    QString threadPrefix() const { return m_threadPrefix; }
    void setThreadPrefix(const QString& prefix) { m_threadPrefix = prefix; }

protected:
    HTTPRequestPtr askForFreshForm() override;
    // The forum's first page, where a thread the forum took is.
    HTTPRequestPtr lookForSentContent() override;
    // A thread the member started there with the title, active since the
    // form was given; its id becomes the builder's.
    bool holdsSentContent(const RequestOutcome& answer) override;

private:
    // The forum's password hash as a parameter, when one is stored.
    void addPasswordHash(ValueDict& params) const;

    std::shared_ptr<Forum> m_forum;
    Value m_prefixOptions;
    bool m_canpostnew = false;
    qint32 m_postminchars = 0;
    qint32 m_titlemaxchars = 0;
    qint32 m_maxpolloptions = 0;
    qint32 m_threadid = 0;
    QString m_threadPrefix;
};

using ThreadBuilderPtr = std::shared_ptr<ThreadBuilder>;
