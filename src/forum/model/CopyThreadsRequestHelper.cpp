#include "forum/model/CopyThreadsRequestHelper.h"

#include "app/net/ApiRequest.h"
#include "forum/model/Forum.h"
#include "platform/foundation/TextFormat.h"

namespace {

const QString kCopied = QStringLiteral("redirect_movethread");

}  // namespace

std::shared_ptr<CopyThreadsRequestHelper> CopyThreadsRequestHelper::copyThreads(
    const QList<qint32>& threadIds, const std::shared_ptr<Forum>& fromForum, const std::shared_ptr<Forum>& toForum,
    Callback onSuccess, Callback onFailure)
{
    const std::shared_ptr<CopyThreadsRequestHelper> copier(new CopyThreadsRequestHelper);
    copier->m_self = copier;
    copier->m_threadIds = threadIds;
    copier->m_fromForum = fromForum;
    copier->m_toForum = toForum;
    copier->m_onSuccess = std::move(onSuccess);
    copier->m_onFailure = std::move(onFailure);
    copier->executeNextCopyRequest();
    return copier;
}

void CopyThreadsRequestHelper::executeNextCopyRequest()
{
    const std::shared_ptr<CopyThreadsRequestHelper> self = m_self.lock();
    if (!self || m_nextThreadIndex >= m_threadIds.size())
        return;
    const qint32 threadid = m_threadIds.at(m_nextThreadIndex);
    ++m_nextThreadIndex;
    ApiRequest::send(QStringLiteral("postings_docopythread"),
                     ValueDict{{QStringLiteral("threadid"), Value(QString::number(threadid))},
                               {QStringLiteral("destforumid"),
                                Value(QString::number(m_toForum ? m_toForum->forumid() : 0))}},
                     RequestMethod::POST,
                     Selector::owning("copyThreadFinished:", self, &CopyThreadsRequestHelper::copyThreadFinished),
                     this);
}

void CopyThreadsRequestHelper::copyThreadFinished(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const RequestOutcome& outcome = request->outcome();
    // A forum that closed ends the copying without a word: its own alert is up.
    if (outcome.is(RequestOutcome::Kind::ForumClosed))
        return;
    // No answer, or none that can be trusted.
    if (!outcome.success()) {
        fail(request, outcome.failureText());
        return;
    }
    const QString& code = outcome.answerCode();
    if (code == kCopied) {
        if (m_nextThreadIndex < m_threadIds.size()) {
            executeNextCopyRequest();
            return;
        }
        request->setExtraInfo(Value(ValueList{Value(m_toForum ? m_toForum->forumid() : 0),
                                              Value(m_fromForum ? m_fromForum->forumid() : 0)}));
        if (m_onSuccess)
            m_onSuccess(request);
        return;
    }
    if (outcome.is(RequestOutcome::Kind::ForumRefused))
        fail(request, outcome.message());
    else if (!code.isNull())
        fail(request, QStringLiteral("Unknown error in server response, error code = ") + code);
    else
        fail(request, QStringLiteral("Unknown error"));
}

void CopyThreadsRequestHelper::fail(const HTTPRequestPtr& request, const QString& message)
{
    const QString text = TextFormat::fill(QStringLiteral("Error copying %d/%d threads.\n%@"),
                                          {Value(m_nextThreadIndex), Value(int(m_threadIds.size())), Value(message)});
    request->setError(Error::withMessage(text));
    if (m_onFailure)
        m_onFailure(request);
}
