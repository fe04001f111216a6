#include "forum/model/ThreadBuilder.h"

#include "app/config/ErrorMessages.h"
#include "app/model/Config.h"
#include "forum/model/AnswerShape.h"
#include "forum/model/Forum.h"
#include "forum/model/PostingForm.h"
#include "forum/model/Thread.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"

namespace {

constexpr int TaggingEnabled = 1024;

}  // namespace

std::shared_ptr<ThreadBuilder> ThreadBuilder::initWithForum(const std::shared_ptr<Forum>& forum)
{
    auto builder = std::make_shared<ThreadBuilder>();
    builder->setForum(forum);
    builder->requestNewThread(forum);
    return builder;
}

ThreadBuilder::ThreadBuilder() = default;

ThreadBuilder::~ThreadBuilder() = default;

const PropertyTable& ThreadBuilder::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&Builder::propertyTable())
            .setterOnly("prefix_options", &ThreadBuilder::setPrefix_options)
            .boolean("canpostnew", &ThreadBuilder::canpostnew, &ThreadBuilder::setCanpostnew)
            .integer("postminchars", &ThreadBuilder::postminchars, &ThreadBuilder::setPostminchars)
            .integer("titlemaxchars", &ThreadBuilder::titlemaxchars, &ThreadBuilder::setTitlemaxchars)
            .integer("maxpolloptions", &ThreadBuilder::maxpolloptions, &ThreadBuilder::setMaxpolloptions)
            .integer("threadid", &ThreadBuilder::threadid, &ThreadBuilder::setThreadid)
            .text("threadPrefix", &ThreadBuilder::threadPrefix, &ThreadBuilder::setThreadPrefix);
    return table;
}

void ThreadBuilder::addPasswordHash(ValueDict& params) const
{
    if (!m_forum)
        return;
    const QString hash = Forum::passwordHash(m_forum->forumid());
    if (!hash.isNull())
        params.insert(QStringLiteral("forumpwdmd5"), Value(hash));
}

void ThreadBuilder::requestNewThread(const std::shared_ptr<Forum>& forum)
{
    if (forum)
        m_forum = forum;
    ValueDict params{{QStringLiteral("forumid"), Value(QString::number(m_forum ? m_forum->forumid() : 0))}};
    addPasswordHash(params);
    requestURL(QStringLiteral("newthread_newthread"), params, RequestMethod::GET);
}

std::optional<ValueDict> ThreadBuilder::getParams()
{
    return ValueDict{{QStringLiteral("values[forumid]"), Value(QString::number(m_forum ? m_forum->forumid() : 0))},
                     {QStringLiteral("contenttypeid"), Value(QStringLiteral("1"))}};
}

void ThreadBuilder::post()
{
    ValueDict params{{QStringLiteral("forumid"), Value(QString::number(m_forum ? m_forum->forumid() : 0))},
                     {QStringLiteral("message"), Value(PostingForm::text(message()))},
                     {QStringLiteral("subject"), Value(PostingForm::text(title()))}};
    PostingForm::addFixedFields(params);
    params.insert(QStringLiteral("poststarttime"), Value(QString::number(poststarttime())));
    if (!tags().isNull())
        params.insert(QStringLiteral("taglist"), Value(tags()));
    if (!posthash().isNull())
        params.insert(QStringLiteral("posthash"), Value(posthash()));
    if (!m_threadPrefix.isNull())
        params.insert(QStringLiteral("prefixid"), Value(m_threadPrefix));
    addPasswordHash(params);
    sendCreating(QStringLiteral("newthread_postthread"), params);
}

HTTPRequestPtr ThreadBuilder::askForFreshForm()
{
    if (!m_forum)
        return nullptr;
    ValueDict params{{QStringLiteral("forumid"), Value(QString::number(m_forum->forumid()))}};
    addPasswordHash(params);
    return sendFormRenewal(QStringLiteral("newthread_newthread"), params);
}

HTTPRequestPtr ThreadBuilder::lookForSentContent()
{
    if (!m_forum)
        return nullptr;
    ValueDict params{{QStringLiteral("forumid"), Value(QString::number(m_forum->forumid()))},
                     {QStringLiteral("perpage"), Value(QString::number(Forum::ThreadsPerPage))},
                     {QStringLiteral("pagenumber"), Value(QStringLiteral("1"))}};
    addPasswordHash(params);
    return sendLookup(QStringLiteral("forumdisplay"), params);
}

bool ThreadBuilder::holdsSentContent(const RequestOutcome& answer)
{
    for (const Value& element : AnswerShape::dictionariesOf(answer.dictionary()[u"threadbits"])) {
        const auto thread = Model::createWithDictionary<Thread>(element);
        // Titles come with their "&" written "&amp;".
        const QString shown = StringExtensions::replaceAmpersands(thread->threadtitle());
        // A new thread's last post is its first.
        if (thread->threadid() >= 1 && isMembersSinceForm(thread->user()->userid(), thread->lastdate())
            && PostingForm::sameText(title(), shown)) {
            m_threadid = thread->threadid();
            return true;
        }
    }
    return false;
}

void ThreadBuilder::setFromRequest(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    const Value json = request->response();
    const Value response = json[u"response"];
    // Only the forum's own answer is read here; a failed one is judged below.
    if (request->success() && response.isDict()) {
        const Value& code = request->outcome().errorMessage();
        // A success code ("redirect_postthanks") comes with the new thread's id
        // and the rights as well; any other code may be the forum asking for
        // its password.
        const bool successCode = code.isAbsent() || Builder::isSentCode(code);
        if (!code.isAbsent() && m_forum) {
            if (!successCode)
                m_forum->setPasswordDelegate(this);
            m_forum->handleProtectedForums(code);
        }
        if (successCode) {
            m_threadid = json[u"show"][u"threadid"].toInt();
            setCanCreateTags(Config::getInstance().isFeatureEnabled(TaggingEnabled)
                             && json[u"show"][u"tag_option"].toBool());
            setCanpostattachment(response[u"forumrules"][u"can"][u"postattachment"].toBool());
        }
        const Value errors = response[u"postpreview"][u"errorlist"][u"errors"];
        if (!errors.isAbsent()) {
            const Value first = errors.isList() ? errors.at(0) : errors;
            const QString text = ErrorMessages::errorForCode(first);
            AlertView::create(QString(), text.isNull() ? first.toString() : text, nullptr,
                              {localized("ok")})
                ->show();
        } else if (m_threadid != 0) {
            setRequestStatus(BuilderStatus::Sent);
        }
    }
    Builder::setFromRequest(request);
}

void ThreadBuilder::passwordSavedForForum(Forum* forum)
{
    if (m_forum && forum == m_forum.get()) {
        m_forum->setPasswordDelegate(nullptr);
        requestNewThread(m_forum);
    }
}

void ThreadBuilder::passwordCancelledForForum(Forum* forum)
{
    if (m_forum && forum == m_forum.get())
        m_forum->setPasswordDelegate(nullptr);
}

void ThreadBuilder::setPrefix_options(const Value& options)
{
    m_prefixOptions = options.isString() ? Value() : arrayOfThreadPrefix(options);
}

Value ThreadBuilder::arrayOfThreadPrefix(const Value& options)
{
    const Value list = Model::arrayFromJsonObject(options);
    if (!list.isList())
        return Value();
    ValueList elements;
    for (const Value& element : list.list()) {
        // Only dictionaries name a group or a prefix.
        if (element.isDict())
            elements.push_back(element);
    }
    if (elements.empty() || elements.front().dict().contains(QStringLiteral("optgroup_label")))
        return Value(std::move(elements));
    return Value(ValueList{Value(ValueDict{{QStringLiteral("optgroup_label"), Value(QStringLiteral(""))},
                                          {QStringLiteral("optgroup_options"), Value(std::move(elements))}})});
}
