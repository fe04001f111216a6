#include "forum/model/Thread.h"

#include "forum/model/AnswerShape.h"
#include "forum/model/Forum.h"
#include "forum/model/Post.h"
#include "platform/foundation/StringExtensions.h"

Thread::Thread()
    : m_user(std::make_shared<Friend>())
{
}

Thread::~Thread() = default;

std::shared_ptr<Thread> Thread::initWithThreadid(qint32 threadid)
{
    auto thread = std::make_shared<Thread>();
    thread->setThreadid(threadid);
    return thread;
}

const PropertyTable& Thread::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&AbstractThread::propertyTable())
            .boolean("isSubscribed", &Thread::isSubscribed, &Thread::setIsSubscribed)
            .integer("status_flags", &Thread::status_flags, &Thread::setStatus_flags)
            .text("lastpostdate", &Thread::lastpostdate, &Thread::setLastpostdate)
            .text("lastposttime", &Thread::lastposttime, &Thread::setLastposttime)
            .text("threadtitle", &Thread::threadtitle, &Thread::setThreadtitle)
            .integer("realthreadid", &Thread::realthreadid, &Thread::setRealthreadid)
            .integer("rating", &Thread::rating, &Thread::setRating)
            .text("preview", &Thread::preview, &Thread::setPreview)
            .boolean("deleted", &Thread::deleted, &Thread::setDeleted)
            .integer("replies", &Thread::replies, &Thread::setReplies)
            .integer("views", &Thread::views, &Thread::setViews)
            .text("prefix_rich", &Thread::prefix_rich, &Thread::setPrefix_rich)
            .boolean("isAnnouncement", &Thread::isAnnouncement, &Thread::setIsAnnouncement)
            .setterOnly("thread", &Thread::setThread)
            .setterOnly("postusername", &Thread::setPostusername)
            .setterOnly("postuserid", &Thread::setPostuserid)
            .setterOnly("avatar", &Thread::setAvatar)
            .setterOnly("sticky", &Thread::setSticky)
            .setterOnly("status", &Thread::setStatus)
            .setterOnly("del_userid", &Thread::setDel_userid)
            .setterOnly("show", &Thread::setShow)
            .secondName("title", "threadtitle")
            .secondName("replycount", "replies");
    return table;
}

// ---- Answer keys

void Thread::setThread(const Value& nested)
{
    const AnswerShape::NestingLevel level(m_nesting);
    // The answer filling this thread tells its observers once, at its end:
    // a page's table reloads once.
    if (!level.tooDeep())
        fillFromDictionary(nested);
}

void Thread::setPostusername(const Value& name)
{
    m_user->setUsername(name.isString() ? name.string() : QString());
}

void Thread::setPostuserid(const Value& id)
{
    m_user->setUserid(id.toInt());
}

void Thread::setAvatar(const Value& avatar)
{
    Value address;
    if (avatar.isDict())
        address = avatar[u"0"];
    else if (avatar.isList())
        address = avatar.at(0);
    else
        address = avatar;
    setPicurl(address.isString() ? StringExtensions::replaceAmpersands(address.string()) : QString());
}

void Thread::setSticky(const Value& sticky)
{
    if (sticky.toInt() >= 1)
        setFlag(Sticky, true);
}

void Thread::setStatus(const Value& status)
{
    if (!status.isDict())
        return;
    const ValueDict& flags = status.dict();
    const std::pair<const char16_t*, StatusFlag> keys[] = {{u"hot", Hot}, {u"new", New}, {u"dot", Dot}, {u"lock", Closed}};
    for (const auto& [key, flag] : keys) {
        if (flags.contains(QString::fromUtf16(key)))
            setFlag(flag, true);
    }
}

void Thread::setDel_userid(const Value&)
{
    setFlag(Deleted, true);
}

void Thread::setShow(const Value& show)
{
    if (!show.isDict())
        return;
    setFlag(Approved, !show[u"moderated"].toBool());
    const Value deletedThread = show[u"deletedthread"];
    if (!deletedThread.isAbsent())
        m_deleted = deletedThread.toBool();
}

void Thread::setFlag(qint32 flag, bool on)
{
    m_statusFlags = on ? (m_statusFlags | flag) : (m_statusFlags & ~flag);
}

// ---- Pages of posts

void Thread::fetchPage(int pageNumber)
{
    sendFetch(QStringLiteral("showthread"),
              ValueDict{{QStringLiteral("threadid"), Value(QString::number(threadid()))},
                        {QStringLiteral("pagenumber"), Value(QString::number(pageNumber))}});
}

void Thread::fetchSpecialPage()
{
    sendFetch(QStringLiteral("api_gotonewpost"),
              ValueDict{{QStringLiteral("threadid"), Value(QString::number(threadid()))}});
}

void Thread::sendFetch(const QString& apiMethod, ValueDict params)
{
    std::shared_ptr<Forum> holder = forum();
    // Every fetch in flight shares the temporary forum: the first to end
    // must not take the permission from those still on their way.
    const bool temporary = !holder || heldByFetches(holder);
    if (!holder) {
        holder = Model::createWithDictionary<Forum>(Value());
        holder->setCanModerate(m_canModerate);
        m_forum = holder;
    }
    const QString hash = Forum::passwordHash(holder->forumid());
    if (!hash.isNull())
        params.insert(QStringLiteral("forumpwdmd5"), Value(hash));
    // The parameters travel in the body.
    const HTTPRequestPtr request = requestURL(apiMethod, params, RequestMethod::POST, SELECTOR(Thread, postResult));
    if (temporary)
        m_temporaryForums.insert(request.get(), holder);
}

bool Thread::heldByFetches(const std::shared_ptr<Forum>& forum) const
{
    for (const std::shared_ptr<Forum>& held : m_temporaryForums) {
        if (held == forum)
            return true;
    }
    return false;
}

void Thread::endFetch(const HTTPRequestPtr& request)
{
    const std::shared_ptr<Forum> temporary = m_temporaryForums.take(request.get());
    // The last fetch that holds the temporary forum lets it go, and only
    // while it is still the thread's forum.
    if (temporary && forum() == temporary && !heldByFetches(temporary))
        m_forum.reset();
}

bool Thread::canModerate() const
{
    if (const std::shared_ptr<Forum> holder = forum())
        return holder->canModerate();
    return m_canModerate;
}

void Thread::pageLoadCancelled(const HTTPRequestPtr& request)
{
    endFetch(request);
}

void Thread::reload()
{
    const int current = static_cast<int>(pagenumber());
    pages().clear();
    fetchPage(std::max(1, current));
}

void Thread::postResult(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    const std::optional<RequestOutcome> answer =
        takeAnswer(request, {.handlerJudgesRefusals = true});
    if (!answer) {
        endFetch(request);
        return;
    }
    const Value response = answer->dictionary();
    const Value pagenumber = response[u"pagenumber"];
    const bool pageCame = !pagenumber.isAbsent();
    if (pageCame) {
        const int page = pagenumber.toInt();
        pages().insert(pageKey(page), Page());
        setPostbits(response[u"postbits"], page);
    }
    // The permission comes with a page: an answer without one leaves it be.
    // The thread keeps it too, past its temporary forum.
    if (pageCame) {
        m_canModerate = request->response()[u"show"][u"inlinemod"].toBool();
        if (const std::shared_ptr<Forum> holder = forum())
            holder->setCanModerate(m_canModerate);
    }
    setDictionary(response);

    // A missing permission is told; so is any refusal that brought no page,
    // or the member would be left with nothing to read and no word why.
    const bool ownCode = answer->codeSource() == RequestOutcome::CodeSource::ErrorMessage;
    if (answer->is(RequestOutcome::Kind::ForumRefused)
        && ((ownCode && answer->answerCode().contains(u"nopermission")) || !pageCame))
        failedWithError(answer->failure());
    endFetch(request);
}

void Thread::setPostbits(const Value& postbits, int pageNumber)
{
    if (!AnswerShape::isListLike(postbits))
        return;
    const std::shared_ptr<Thread> self = std::static_pointer_cast<Thread>(keepAlive());
    Page posts;
    for (const PostPtr& post : Post::postsOfPostbits(postbits)) {
        post->setThread(self);
        posts.append(post);
    }
    pages().insert(pageKey(pageNumber), posts);
}

QList<PostPtr> Thread::postsOnPage(int pageNumber) const
{
    QList<PostPtr> posts;
    for (const ModelPtr& model : pages().value(pageKey(pageNumber)))
        posts.append(std::static_pointer_cast<Post>(model));
    return posts;
}

// ---- Subscription

std::pair<QString, qint32> Thread::subscriptionTarget() const
{
    return {QStringLiteral("threadid"), threadid()};
}
