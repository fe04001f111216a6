// The class operations of Thread: inline moderation, moving and copying.
#include "forum/model/CopyThreadsRequestHelper.h"
#include "forum/model/Forum.h"
#include "forum/model/Thread.h"

#include "forum/model/AnswerShape.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

namespace {

void sendListed(const char* apiMethod, const QList<qint32>& ids, Thread::Done done)
{
    ModerationRequest::send(QString::fromLatin1(apiMethod), Thread::buildIdsParams(ids), std::move(done));
}

// Target first, then source, each once: a move into the forum it came from
// (which the forum refuses) names one forum twice. Either may have gone.
void refreshForums(const std::shared_ptr<Forum>& toForum, const std::shared_ptr<Forum>& fromForum)
{
    const bool oneForum = toForum && fromForum && toForum->forumid() == fromForum->forumid();
    if (toForum && !oneForum)
        toForum->refresh();
    if (fromForum)
        fromForum->refresh();
}

void showAlert(const QString& message, const QString& button)
{
    AlertView::create(QString(), message, nullptr, {button})->show();
}

}  // namespace

ValueDict Thread::buildIdsParams(const QList<qint32>& ids)
{
    ValueDict params;
    for (qint32 id : ids)
        params.insert(QStringLiteral("tlist[%1]").arg(id), Value(QStringLiteral("1")));
    return params;
}

QString Thread::joinedIds(const QList<qint32>& ids)
{
    QStringList texts;
    for (qint32 id : ids)
        texts.append(QString::number(id));
    return texts.join(u',');
}

void Thread::close(const QList<qint32>& ids, Done done)
{
    sendListed("inlinemod_close", ids, std::move(done));
}

void Thread::open(const QList<qint32>& ids, Done done)
{
    sendListed("inlinemod_open", ids, std::move(done));
}

void Thread::approve(const QList<qint32>& ids, Done done)
{
    sendListed("inlinemod_approvethread", ids, std::move(done));
}

void Thread::unapprove(const QList<qint32>& ids, Done done)
{
    sendListed("inlinemod_unapprovethread", ids, std::move(done));
}

void Thread::stick(const QList<qint32>& ids, Done done)
{
    sendListed("inlinemod_stick", ids, std::move(done));
}

void Thread::unstick(const QList<qint32>& ids, Done done)
{
    sendListed("inlinemod_unstick", ids, std::move(done));
}

void Thread::undelete(const QList<qint32>& ids, Done done)
{
    sendListed("inlinemod_undeletethread", ids, std::move(done));
}

void Thread::deleteThreads(const QList<qint32>& ids, Done done)
{
    ModerationRequest::send(QStringLiteral("inlinemod_dodeletethreads"),
                            ValueDict{{QStringLiteral("threadids"), Value(joinedIds(ids))},
                                      {QStringLiteral("deletetype"), Value(QStringLiteral("1"))}},
                            std::move(done));
}

void Thread::deleteAsSpam(const QList<qint32>& ids, Done done)
{
    // The first answer names the members who started the threads; the
    // second call deletes the threads as their spam.
    ModerationRequest::send(
        QStringLiteral("inlinemod_spamthread"), buildIdsParams(ids), std::move(done),
        [ids](const Value& json, const Done& finish) {
            ValueList userids;
            for (const Value& user : AnswerShape::dictionariesOf(json[u"response"][u"HTML"][u"users"])) {
                const Value userid = user[u"userid"];
                if (userid.isString() || userid.isNumeric())
                    userids.push_back(Value(userid.toString()));
            }
            ValueDict body{{QStringLiteral("type"), Value(QStringLiteral("thread"))},
                           {QStringLiteral("threadids"), Value(joinedIds(ids))},
                           {QStringLiteral("deletetype"), Value(QStringLiteral("1"))},
                           {QStringLiteral("useraction"), Value(QStringLiteral(""))}};
            if (!userids.empty())
                body.insert(QStringLiteral("userid"), Value(std::move(userids)));
            ModerationRequest::send(QStringLiteral("inlinemod_dodeletespam"), body, finish);
        });
}

void Thread::move(const QList<qint32>& ids, const std::shared_ptr<Forum>& fromForum,
                  const std::shared_ptr<Forum>& toForum, Done done)
{
    ModerationRequest::send(
        QStringLiteral("inlinemod_domovethreads"),
        ValueDict{{QStringLiteral("threadids"), Value(joinedIds(ids))},
                  {QStringLiteral("destforumid"), Value(QString::number(toForum ? toForum->forumid() : 0))},
                  {QStringLiteral("redirect"), Value(QStringLiteral("none"))}},
        [fromForum, toForum, done = std::move(done)](const std::optional<Error>& failure) {
            // Never the success text for a move that did not happen.
            showAlert(failure ? failure->domain() : localized("move_thread_success"),
                      QStringLiteral("OK"));
            refreshForums(toForum, fromForum);
            if (done)
                done(failure);
        });
}

void Thread::copy(const QList<qint32>& ids, const std::shared_ptr<Forum>& fromForum,
                  const std::shared_ptr<Forum>& toForum, Done done)
{
    // Nothing to copy is a copy that went well, and asks the forum nothing.
    if (ids.isEmpty()) {
        if (done)
            done(std::nullopt);
        return;
    }
    auto finished = std::make_shared<Done>(std::move(done));
    CopyThreadsRequestHelper::copyThreads(
        ids, fromForum, toForum,
        [fromForum, toForum, finished](const HTTPRequestPtr&) {
            refreshForums(toForum, fromForum);
            if (*finished)
                (*finished)(std::nullopt);
        },
        [finished](const HTTPRequestPtr& request) {
            showAlert(request->error().domain(), localized("ok"));
            if (*finished)
                (*finished)(request->error());
        });
}
