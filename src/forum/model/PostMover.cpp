#include "forum/model/PostMover.h"

#include "forum/model/AnswerShape.h"
#include "forum/model/Forum.h"
#include "forum/model/Post.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Localized.h"

PostMover::PostMover() = default;

PostMover::~PostMover()
{
    m_title = QString();
    m_forum.reset();
}

const PropertyTable& PostMover::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable()).setterOnly("HTML", &PostMover::setHTML);
    return table;
}

void PostMover::setPostids(const QStringList& postids)
{
    m_postids = postids;
    if (m_postids.isEmpty())
        return;
    QList<qint32> ids;
    for (const QString& id : m_postids)
        ids.append(id.toInt());
    requestURL(QStringLiteral("inlinemod_moveposts"), Post::buildIdsParams(ids), RequestMethod::POST);
}

qint32 PostMover::levelOf(const Value& optionclass)
{
    if (!optionclass.isString())
        return 0;
    return optionclass.string().mid(1).toInt();
}

void PostMover::setHTML(const Value& html)
{
    QList<std::shared_ptr<Forum>> forums;
    for (const Value& entry : AnswerShape::dictionariesOf(html[u"moveforumbits"])) {
        auto forum = std::make_shared<Forum>();
        forum->setLevel(levelOf(entry[u"optionclass"]));
        forum->setTitle_clean(entry[u"optiontitle"].toString());
        forum->setForumid(entry[u"optionvalue"].toInt());
        forums.append(forum);
    }
    m_forums = forums;
}

void PostMover::move()
{
    send(QStringLiteral("inlinemod_domoveposts"));
}

void PostMover::copy()
{
    send(QStringLiteral("inlinemod_docopyposts"));
}

void PostMover::send(const QString& apiMethod)
{
    const ValueDict params{
        {QStringLiteral("postids"), Value(m_postids.join(u','))},
        {QStringLiteral("type"), Value(QStringLiteral("0"))},
        {QStringLiteral("title"), Value(m_title)},
        {QStringLiteral("destforumid"), Value(QString::number(m_forum ? m_forum->forumid() : 0))},
    };
    requestURL(apiMethod, params, RequestMethod::POST, SELECTOR(PostMover, showAlertForMoveCopySuccess));
    m_forum.reset();
    m_title = QString();
}

void PostMover::showAlertForMoveCopySuccess(const HTTPRequestPtr& request)
{
    const auto guard = keepAlive();
    // A failure goes to the observers alone: no word of success for it.
    const std::optional<RequestOutcome> answer = takeAnswer(request);
    if (!answer)
        return;
    const std::shared_ptr<AlertView> alert = AlertView::create(
        localized("published_successfully"), QString(), nullptr, QStringList());
    alert->show();
    const std::weak_ptr<AlertView> shown = alert;
    Clock::current().schedule(kAnnouncementMs, false, [shown] {
        if (const std::shared_ptr<AlertView> stillShown = shown.lock())
            stillShown->dismissWithoutButton();
    });
    setDictionary(answer->dictionary());
}
