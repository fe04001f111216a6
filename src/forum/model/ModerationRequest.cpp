#include "forum/model/ModerationRequest.h"

#include "app/config/ConnectionError.h"
#include "app/net/ApiRequest.h"

void ModerationRequest::send(const QString& apiMethod, const ValueDict& body, Done done, Next next)
{
    const std::shared_ptr<ModerationRequest> call(new ModerationRequest(std::move(done), std::move(next)));
    ModerationRequest* target = call.get();
    ApiRequest::send(apiMethod, body, RequestMethod::POST,
                     Selector::owning("finished:", call, &ModerationRequest::finished), target);
}

std::optional<Error> ModerationRequest::failureOf(const HTTPRequest& request)
{
    const Error failure = request.outcome().failure();
    if (!failure.isSet())
        return std::nullopt;
    return failure;
}

void ModerationRequest::report(const Done& done, const std::optional<Error>& failure)
{
    if (done)
        done(failure);
    else if (failure)
        ConnectionError::showMessage(*failure);
}

void ModerationRequest::finished(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    // A forum that closed ends the call without a word: its own alert is up.
    if (request->outcome().is(RequestOutcome::Kind::ForumClosed))
        return;
    const std::optional<Error> failure = failureOf(*request);
    if (!failure && m_next) {
        m_next(request->response(), m_done);
        return;
    }
    report(m_done, failure);
}
