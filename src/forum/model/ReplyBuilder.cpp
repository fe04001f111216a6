#include "forum/model/ReplyBuilder.h"

#include "forum/model/Forum.h"
#include "forum/model/Post.h"
#include "forum/model/PostingForm.h"
#include "forum/model/Thread.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

#include <algorithm>

ReplyBuilder::ReplyBuilder() = default;

ReplyBuilder::~ReplyBuilder() = default;

std::shared_ptr<ReplyBuilder> ReplyBuilder::initWithThread(const AbstractThreadPtr& thread)
{
    auto builder = std::make_shared<ReplyBuilder>();
    builder->setThread(thread);
    builder->sendForm({{QStringLiteral("threadid"), Value(QString::number(thread ? thread->threadid() : 0))}});
    return builder;
}

std::shared_ptr<ReplyBuilder> ReplyBuilder::initWithPost(const std::shared_ptr<Post>& post)
{
    auto builder = std::make_shared<ReplyBuilder>();
    // The thread's id comes with the form; its forum, when known, for the password.
    if (post) {
        if (const std::shared_ptr<Thread> thread = post->thread())
            builder->setForum(thread->forum());
    }
    builder->sendForm({{QStringLiteral("postid"), Value(QString::number(post ? post->postid() : 0))}});
    return builder;
}

const PropertyTable& ReplyBuilder::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Builder::propertyTable())
                                           .integer("threadid", &ReplyBuilder::threadid, &ReplyBuilder::setThreadid)
                                           .boolean("isSubscribed", &ReplyBuilder::isSubscribed,
                                                    &ReplyBuilder::setIsSubscribed)
                                           .setterOnly("threadinfo", &ReplyBuilder::setThreadinfo)
                                           .integer("forumid", &ReplyBuilder::forumid, &ReplyBuilder::setForumid);
    return table;
}

void ReplyBuilder::setThread(const AbstractThreadPtr& thread)
{
    m_thread = thread;
    if (const auto forumThread = std::dynamic_pointer_cast<Thread>(thread))
        m_forum = forumThread->forum();
}

qint32 ReplyBuilder::threadid() const
{
    return std::max(m_threadid, m_thread ? m_thread->threadid() : 0);
}

void ReplyBuilder::sendForm(const ValueDict& params)
{
    requestURL(QStringLiteral("newreply_newreply"), params, RequestMethod::GET);
}

void ReplyBuilder::setThreadinfo(const Value& info)
{
    setDictionary(info.isDict() ? info : Value());
}

void ReplyBuilder::announceSent() const
{
    if (status() != BuilderStatus::Sent)
        return;
    if (awaitsApproval()) {
        announceApproval(QStringLiteral("reply_awaits_approval"));
    } else if (alreadyPosted()) {
        AlertView::create(localized("published_title"),
                          localized("reply_already_posted"), nullptr,
                          {localized("ok")})
            ->show();
    }
}

std::optional<ValueDict> ReplyBuilder::getParams()
{
    return ValueDict{{QStringLiteral("values[threadid]"), Value(QString::number(threadid()))},
                     {QStringLiteral("contenttypeid"), Value(QStringLiteral("1"))}};
}

void ReplyBuilder::post()
{
    postReply();
}

void ReplyBuilder::postReply()
{
    ValueDict params{{QStringLiteral("threadid"), Value(QString::number(threadid()))},
                     {QStringLiteral("message"), Value(PostingForm::text(message()))},
                     {QStringLiteral("title"), Value(PostingForm::text(title()))}};
    PostingForm::addFixedFields(params);
    params.insert(QStringLiteral("subscribe"), Value(m_isSubscribed ? QStringLiteral("1") : QStringLiteral("0")));
    params.insert(QStringLiteral("poststarttime"), Value(QString::number(poststarttime())));
    if (!posthash().isNull())
        params.insert(QStringLiteral("posthash"), Value(posthash()));
    if (!tags().isNull())
        params.insert(QStringLiteral("tags"), Value(tags()));
    addPasswordHash(params);
    sendCreating(QStringLiteral("newreply_postreply"), params);
}

void ReplyBuilder::addPasswordHash(ValueDict& params) const
{
    const std::shared_ptr<Forum> forum = m_forum.lock();
    const QString hash = Forum::passwordHash(forum ? forum->forumid() : m_forumid);
    if (!hash.isNull())
        params.insert(QStringLiteral("forumpwdmd5"), Value(hash));
}

HTTPRequestPtr ReplyBuilder::askForFreshForm()
{
    return sendFormRenewal(QStringLiteral("newreply_newreply"),
                           {{QStringLiteral("threadid"), Value(QString::number(threadid()))}});
}

HTTPRequestPtr ReplyBuilder::lookForSentContent()
{
    // A page past any thread's end: the forum answers with its last.
    ValueDict params{{QStringLiteral("threadid"), Value(QString::number(threadid()))},
                     {QStringLiteral("pagenumber"), Value(QString::number(PastTheLastPage))}};
    addPasswordHash(params);
    return sendLookup(QStringLiteral("showthread"), params);
}

bool ReplyBuilder::holdsSentContent(const RequestOutcome& answer)
{
    const QList<PostPtr> posts = Post::postsOfPostbits(answer.dictionary()[u"postbits"]);
    return std::any_of(posts.cbegin(), posts.cend(), [&](const PostPtr& post) {
        return isMembersSinceForm(post->user()->userid(), post->date())
               && PostingForm::sameText(message(), post->sourceBbcode());
    });
}

void ReplyBuilder::setErrormessage(const Value& code)
{
    if (!attachmentRequests().isEmpty()) {
        setRequestStatus(BuilderStatus::Sending);
    } else if (endsSent(code)) {
        if (m_thread)
            m_thread->reload();
        setRequestStatus(BuilderStatus::Sent);
    }
    notifyChanged();
}

bool ReplyBuilder::wasSentFine(const Value& code)
{
    static const QStringList blogCodes = {QStringLiteral("blog_editthanks_notify"),
                                          QStringLiteral("blog_entrythanks_notify"),
                                          QStringLiteral("redirect_blog_entrythanks")};
    return code.isString() && blogCodes.contains(code.string());
}

void ReplyBuilder::setFromRequest(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    if (requestStatus() != BuilderStatus::Idle)
        setRequestStatus(BuilderStatus::Failed);
    const Value response = request->response()[u"response"];
    if (request->success() && response.isDict()) {
        if (response.dict().contains(QStringLiteral("checked"))) {
            const Value subscribe = response[u"checked"][u"subscribe"];
            if (const auto forumThread = std::dynamic_pointer_cast<Thread>(m_thread))
                forumThread->setIsSubscribed(subscribe.isNumeric());
            if (subscribe.isString())
                m_isSubscribed = subscribe.string().contains(u"checked");
        }
        setCanpostattachment(response[u"forumrules"][u"can"][u"postattachment"].toBool());
    }
    Model::setFromRequest(request);
}
