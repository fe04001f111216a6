#include "app/net/JSONHTTPRequest.h"

#include "app/config/AlertViewUtil.h"
#include "app/config/ConnectionError.h"
#include "app/json/JSONConvenience.h"
#include "app/net/ApiAddress.h"
#include "app/net/ApiClient.h"
#include "app/net/InactiveForumUtil.h"
#include "app/net/SessionCredentials.h"
#include "app/net/SessionRenewal.h"
#include "platform/foundation/ClassName.h"
#include "platform/foundation/Log.h"

namespace {

// The codec reads the answer's bytes directly (checking the UTF-8 once); a
// body that is not UTF-8 or not JSON decodes to nothing.
Value decodedBody(const QByteArray& bytes)
{
    return bytes.isEmpty() ? Value() : JSONValue(bytes);
}

const QString kNull = QStringLiteral("(null)");

}  // namespace

JSONHTTPRequest::JSONHTTPRequest() = default;
JSONHTTPRequest::~JSONHTTPRequest() = default;

std::shared_ptr<JSONHTTPRequest> JSONHTTPRequest::create()
{
    return std::make_shared<JSONHTTPRequest>();
}

std::shared_ptr<JSONHTTPRequest> JSONHTTPRequest::shared()
{
    return std::static_pointer_cast<JSONHTTPRequest>(weak_from_this().lock());
}

TokenRenewal* JSONHTTPRequest::renewal()
{
    // A request keeps to its client; one never sent goes to the installed one.
    const std::shared_ptr<ApiClient> owner = hasJoinedClient() ? client() : ApiClient::currentShared();
    return owner ? &owner->renewal() : nullptr;
}

void JSONHTTPRequest::requestUrl(const QUrl& url)
{
    TokenRenewal* waiting = renewal();
    if (waiting && !waiting->isRunning() && needsSessionFirst()) {
        // Sent now it would be a bare session opening that nobody keeps: it
        // waits for a session as it would for a renewed token.
        prepareRequestUrl(url);
        waiting->begin(shared());
        return;
    }
    if (!waiting || !waiting->isRunning() || requestTag() == RequestTag::Renewal) {
        HTTPRequestAsyncronic::requestUrl(url);
        return;
    }
    if (requestTag() == RequestTag::Logout) {
        // Signing out overtakes the renewal: nobody waits for its token any more.
        waiting->fail();
        HTTPRequestAsyncronic::requestUrl(url);
        return;
    }
    prepareRequestUrl(url);
    waiting->enqueue(shared());
}

bool JSONHTTPRequest::needsSessionFirst() const
{
    if (requestTag() != RequestTag::Ordinary || !apiCall().isSet() || apiCall().method == u"api_init")
        return false;
    // Only where a session can be had; without one nothing could open it.
    if (!SessionRenewal::current())
        return false;
    const SessionCredentials* session = SessionCredentials::current();
    return !session || !session->hasSession();
}

void JSONHTTPRequest::cancel()
{
    const std::shared_ptr<JSONHTTPRequest> keep = shared();
    if (TokenRenewal* waiting = renewal())
        waiting->remove(this);
    HTTPRequestAsyncronic::cancel();
}

void JSONHTTPRequest::connectionDidFinishLoading()
{
    const std::shared_ptr<JSONHTTPRequest> keep = shared();
    if (error().isSet()) {
        finishWithErrorStatus();
        return;
    }

    const QString expected = ApiAddress::signatureForResponse(loadedData());
    const QString received = httpResponse().headerValue(QStringLiteral("Authorization"));
    // A mismatch is judged by the callback: the answer still goes on.
    const bool signatureMatches = !expected.isNull() && !received.isNull() && expected == received;

    setResponse(decodedBody(loadedData()));

    if (requestTag() == RequestTag::Renewal || requestTag() == RequestTag::Logout) {
        setOutcome(judgedAnswer(signatureMatches));
        callSuccess();
        return;
    }

    const Value errormessage = response()[u"response"][u"errormessage"];
    if (!passesForumClosedCheck(errormessage))
        return;

    const Value code = errorCode(errormessage);
    if (code == Value(QStringLiteral("invalid_accesstoken")) || code == Value(QStringLiteral("invalid_sessionhash"))) {
        handleInvalidAccessToken();
        return;
    }
    setOutcome(judgedAnswer(signatureMatches));
    callSuccess();
}

RequestOutcome JSONHTTPRequest::judgedAnswer(bool signatureMatches) const
{
    const int status = httpResponse().statusCode();
    const RequestOutcome content = response().isAbsent()
                                       ? RequestOutcome(RequestOutcome::Kind::Undecodable, status)
                                       : RequestOutcome::judgeAnswer(response(), status);
    return signatureMatches ? content : content.withKind(RequestOutcome::Kind::BadSignature);
}

void JSONHTTPRequest::finishWithErrorStatus()
{
    // The forum's error body is there for the failure callback.
    setResponse(decodedBody(loadedData()));
    setOutcome(RequestOutcome(RequestOutcome::Kind::HttpError, httpResponse().statusCode()));
    callFailure();
    // The caller has its failure: no message and no renewal for it any more,
    // only the closed forum is still announced.
    if (requestTag() == RequestTag::Ordinary)
        InactiveForumUtil::instance().isForumActive(response()[u"response"][u"errormessage"]);
}

bool JSONHTTPRequest::passesForumClosedCheck(const Value& errormessage)
{
    if (InactiveForumUtil::instance().isForumActive(errormessage))
        return true;
    setOutcome(RequestOutcome(RequestOutcome::Kind::ForumClosed, httpResponse().statusCode()));
    // The caller still gets its verdict, so that a screen waiting for it (an
    // editor sending a post) ends its busy state and keeps what was typed;
    // the closed alert is the one message.
    callFailure();
    return false;
}

Value JSONHTTPRequest::errorCode(const Value& errormessage)
{
    if (!errormessage.isList())
        return errormessage;
    if (errormessage.size() == 0)
        return Value();
    if (errormessage.size() != 2)
        return errormessage.at(0);
    // Through the presenter: when the code is a refusal, the verdict carries
    // the same text and its report finds it on screen already.
    if (errormessage.at(0) != Value(QStringLiteral("redirect_login")) && !AlertViewUtil::isAlertBeingShown())
        ConnectionError::showMessage(Error::withMessage(errormessage.at(1).toString()));
    // A code with its message is no code of its own.
    return errormessage;
}

void JSONHTTPRequest::handleInvalidAccessToken()
{
    const std::shared_ptr<JSONHTTPRequest> me = shared();
    TokenRenewal* waiting = renewal();
    if (!waiting) {
        endWithoutAnswer();
        return;
    }
    const SessionCredentials* session = SessionCredentials::current();
    const QString current = session ? session->apiaccesstoken() : QString();
    const QString sentWith = extractApiAccessToken();
    // Sent on a session given up since, when its renewal failed: it ends as
    // the calls that waited for that renewal, and opens no session of its own.
    if (sentWith != current && waiting->gaveUp(sentWith)) {
        failRenewal();
        return;
    }
    if (waiting->isRunning()) {
        waiting->enqueue(me);
        return;
    }
    if (!current.isNull() && current != sentWith) {
        // Renewed since this request went out: it only needs the new token.
        retryRequest();
        return;
    }
    waiting->begin(me);
}

void JSONHTTPRequest::processWaitingForAccessTokenRequests(const HTTPRequestPtr&)
{
    // Only the renewal this request started may end; a report that comes
    // twice, or late, finds it over.
    TokenRenewal* waiting = renewal();
    if (waiting && waiting->isRunning() && waiting->starter().get() == this)
        waiting->succeed();
}

void JSONHTTPRequest::cancelWaitingForAccessTokenRequests(const HTTPRequestPtr&)
{
    TokenRenewal* waiting = renewal();
    if (waiting && waiting->isRunning() && waiting->starter().get() == this)
        waiting->fail();
}

void JSONHTTPRequest::retryRequest()
{
    if (m_retryCount >= MaxRetries) {
        endWithoutAnswer();
        return;
    }
    ++m_retryCount;

    const SessionCredentials* session = SessionCredentials::current();
    if (!session || !session->hasSession()) {
        // Without a session every address is the session opening, not this call.
        MU_LOG(Log::network, QStringLiteral("No session to send the request again: ") + ApiAddress::redactedForLog(url()));
        endWithoutAnswer();
        return;
    }
    QUrl address;
    if (apiCall().isSet()) {
        address = ApiAddress::URLWithString(apiCall().method, apiCall().query);
    } else if (!extractApiAccessToken().isNull()) {
        address = ApiAddress::URLwithCurrentAccessTokenForURL(QUrl::fromEncoded(url().toUtf8()));
    } else {
        // Addressed while no session existed: it names no call to repeat.
        MU_LOG(Log::network, QStringLiteral("The request was addressed without a session and cannot be sent again: ")
               + ApiAddress::redactedForLog(url()));
        endWithoutAnswer();
        return;
    }
    request().setUrl(address);
    doRequest();
}

void JSONHTTPRequest::failRenewal()
{
    setOutcome(RequestOutcome(RequestOutcome::Kind::SessionEnded, httpResponse().statusCode()));
    callFailure();
}

void JSONHTTPRequest::endWithoutAnswer()
{
    // No answer to this call could be had: the token could not be renewed.
    // Each time it went, the forum refused the token, not the call.
    setOutcome(RequestOutcome::unsent(httpResponse().statusCode()));
    callFailure();
}

QString JSONHTTPRequest::extractApiAccessToken() const
{
    return ApiAddress::extractApiAccessTokenFromURL(QUrl::fromEncoded(url().toUtf8()));
}

QString JSONHTTPRequest::description() const
{
    const Trackable* target = callbackObject();
    const auto nameOr = [](const Selector& selector) { return selector.isSet() ? selector.name() : kNull; };
    return QStringLiteral("\n==========================\n url: %1\n callback: %2\n success: %3\n fail: %4\n"
                          "==========================")
        .arg(url().isNull() ? kNull : url(), target ? className(*target) : kNull, nameOr(successSelector()),
             nameOr(failureSelector()));
}

bool JSONHTTPRequest::waitingForAccessToken()
{
    return ApiClient::current().renewal().isRunning();
}

QList<std::shared_ptr<JSONHTTPRequest>> JSONHTTPRequest::waitingForAccessTokenRequests()
{
    return ApiClient::current().renewal().waiting();
}
