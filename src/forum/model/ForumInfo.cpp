#include "forum/model/ForumInfo.h"

#include "app/net/ApiRequest.h"
#include "app/session/AppContext.h"
#include "app/session/SessionEvents.h"
#include "forum/model/AnswerShape.h"
#include "platform/foundation/UserDefaults.h"

namespace {

const QString kDismissedNotices = QStringLiteral("dismissed_notices");
const QString kInboxPhrase = QStringLiteral("Unread Private Messages");

}  // namespace

ForumInfo::ForumInfo() = default;

ForumInfo::~ForumInfo() = default;

std::shared_ptr<ForumInfo> ForumInfo::getInstance(std::source_location asker)
{
    return AppContext::current().part<ForumInfo>(asker);
}

void ForumInfo::attachTo(AppContext& context)
{
    context.setPart(std::make_shared<ForumInfo>());
    // The tree of this context, whichever it is by then (tests replace it).
    context.sessionEvents().dropForumTree = [&context] {
        if (const std::shared_ptr<ForumInfo> tree = context.existingPart<ForumInfo>())
            tree->clear();
    };
    context.sessionEvents().clearDismissedNotices = [] { cleanDismissedNoticesList(); };
}

void ForumInfo::detachFrom(AppContext& context)
{
    context.sessionEvents().dropForumTree = {};
    context.sessionEvents().clearDismissedNotices = {};
    context.setPart<ForumInfo>(nullptr);
}

void ForumInfo::clearInstance()
{
    if (!AppContext::exists())
        return;
    if (const std::shared_ptr<ForumInfo> tree = AppContext::current().existingPart<ForumInfo>())
        tree->clear();
}

void ForumInfo::resetInstance()
{
    if (AppContext::exists())
        AppContext::current().setPart<ForumInfo>(nullptr);
}

void ForumInfo::clear()
{
    const auto guard = keepAlive();
    for (const HTTPRequestPtr& request : requests().requests()) {
        removeRequest(request);
        request->cancel();
    }
    m_initRequest.reset();
    m_forums.clear();
    m_notifications.clear();
    m_inboxNotification.reset();
    {
        std::lock_guard lock(m_lock);
        m_notices.clear();
    }
    notifyChanged();
}

// ---- Dismissed notices

QStringList ForumInfo::dismissedNoticesList()
{
    QStringList list;
    for (const Value& id : UserDefaults::standard().objectForKey(kDismissedNotices).list()) {
        if (id.isString())
            list.append(id.string());
    }
    return list;
}

void ForumInfo::saveDismissedNoticesList(const QStringList& list)
{
    ValueList values;
    for (const QString& id : list)
        values.push_back(Value(id));
    UserDefaults::standard().setObject(kDismissedNotices, Value(std::move(values)));
    UserDefaults::standard().synchronize();
}

void ForumInfo::cleanDismissedNoticesList()
{
    UserDefaults::standard().removeObjectForKey(kDismissedNotices);
}

// ---- Requests

const PropertyTable& ForumInfo::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
                                           .setterOnly("forums", &ForumInfo::setForums)
                                           .setterOnly("notifications_menubits", &ForumInfo::setNotifications_menubits)
                                           .setterOnly("notices", &ForumInfo::setNotices)
                                           .setterOnly("header", &ForumInfo::setHeader);
    return table;
}

void ForumInfo::fetchForumHome()
{
    getInstance()->requestURL(QStringLiteral("forum"), ValueDict(), RequestMethod::GET);
}

void ForumInfo::fetchForumList()
{
    const std::shared_ptr<ForumInfo> shared = getInstance();
    if (!shared->m_forums.isEmpty() || shared->initRequest())
        return;
    shared->m_initRequest = shared->requestURL(QStringLiteral("api_forumlist"), ValueDict(), RequestMethod::GET);
}

void ForumInfo::reload()
{
    const std::shared_ptr<ForumInfo> shared = getInstance();
    if (shared->initRequest())
        return;
    shared->m_forums.clear();
    shared->fetchForumList();
}

void ForumInfo::setFromRequest(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    const bool isInitRequest = request == initRequest();
    // A failed answer, of either call, fills nothing.
    const std::optional<RequestOutcome> answer = takeAnswer(request);
    if (isInitRequest)
        m_initRequest.reset();
    if (!answer)
        return;
    const Value& json = request->response();
    if (json.isList()) {
        setForums(json);
        notifyChanged();
        return;
    }
    setDictionary(answer->dictionary());
}

// ---- Filling

void ForumInfo::setForums(const Value& forums)
{
    if (!AnswerShape::isListLike(forums))
        return;
    QList<ForumPtr> tree;
    for (const Value& element : AnswerShape::dictionariesOf(forums))
        tree.append(Model::createWithDictionary<Forum>(element));
    m_forums = tree;
}

void ForumInfo::setNotifications_menubits(const Value& notifications)
{
    m_notifications.clear();
    m_inboxNotification.reset();
    for (const Value& element : AnswerShape::dictionariesOf(notifications)) {
        const auto notification = Model::createWithDictionary<Notification>(element);
        if (notification->phrase() == kInboxPhrase)
            m_inboxNotification = notification;
        m_notifications.append(notification);
    }
}

void ForumInfo::setNotices(const Value& notices)
{
    std::lock_guard lock(m_lock);
    if (!AnswerShape::isListLike(notices))
        return;
    const QStringList dismissed = dismissedNoticesList();
    QStringList stillDismissed;
    QList<NoticePtr> shown;
    for (const Value& element : AnswerShape::dictionariesOf(notices)) {
        const auto notice = Model::createWithDictionary<Notice>(element);
        const QString id = QString::number(notice->_noticeid());
        if (dismissed.contains(id)) {
            if (!stillDismissed.contains(id))
                stillDismissed.append(id);
        } else {
            shown.append(notice);
        }
    }
    // Ids of notices the forum no longer sends are forgotten.
    saveDismissedNoticesList(stillDismissed);
    m_notices = shown;
}

void ForumInfo::setHeader(const Value& header)
{
    const AnswerShape::NestingLevel level(m_nesting);
    if (!level.tooDeep())
        setDictionary(header);
}

int ForumInfo::numberOfNotifications() const
{
    int total = 0;
    for (const std::shared_ptr<Notification>& notification : m_notifications)
        total += notification->total();
    return total;
}

// ---- Look-ups

ForumPtr ForumInfo::searchForum(qint32 forumid) const
{
    return searchForum(forumid, m_forums);
}

ForumPtr ForumInfo::searchForum(qint32 forumid, const QList<ForumPtr>& forums)
{
    for (const ForumPtr& forum : forums) {
        if (forum->forumid() == forumid)
            return forum;
        if (ForumPtr found = searchForum(forumid, forum->children()))
            return found;
    }
    return nullptr;
}

void ForumInfo::dismissNotice(qint32 noticeid)
{
    std::lock_guard lock(m_lock);
    if (initRequest())
        return;
    m_notices.removeIf([noticeid](const NoticePtr& notice) { return notice->_noticeid() == noticeid; });
    QStringList dismissed = dismissedNoticesList();
    dismissed.append(QString::number(noticeid));
    saveDismissedNoticesList(dismissed);
    ApiRequest::send(QStringLiteral("ajax_dismissnotice"),
                     ValueDict{{QStringLiteral("noticeid"), Value(QString::number(noticeid))}}, RequestMethod::POST,
                     Selector(), nullptr);
}

// ---- Table

int ForumInfo::numberOfRowsInSection(int section) const
{
    if (section < 0 || section >= m_forums.size())
        return 0;
    const ForumPtr& entry = m_forums.at(section);
    const int children = int(entry->children().size());
    if (entry->is_category())
        return children == 0 ? 1 : children;
    return children + 1;
}

ForumPtr ForumInfo::retrieveForumAtIndexPath(int section, int row) const
{
    if (section < 0 || section >= m_forums.size() || row < 0)
        return nullptr;
    const ForumPtr& entry = m_forums.at(section);
    const QList<ForumPtr>& children = entry->children();
    if (entry->is_category()) {
        // A category without subforums stands for itself in its one row.
        if (children.isEmpty())
            return row == 0 ? entry : nullptr;
        return row < children.size() ? children.at(row) : nullptr;
    }
    if (row == 0)
        return entry;
    return row - 1 < children.size() ? children.at(row - 1) : nullptr;
}
