#include "app/net/JSONHTTPRequest.h"

#include "app/config/AlertViewUtil.h"
#include "app/config/Config.h"
#include "app/config/SessionCredentials.h"
#include "app/json/JSONConvenience.h"
#include "app/net/InactiveForumUtil.h"
#include "app/net/SessionRenewal.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/ClassName.h"
#include "platform/foundation/Log.h"

#include <QStringDecoder>

#include <utility>

namespace {

// The renewal state of the process. Everything runs on the main thread, so
// no lock is needed; re-entrant callbacks are met by walking a queue that has
// been taken out of the state first.
struct RenewalState {
    bool waiting = false;
    // Kept alive until the renewal ends, so the session can always report to it.
    std::shared_ptr<JSONHTTPRequest> starter;
    QList<std::shared_ptr<JSONHTTPRequest>> queue;
};

RenewalState& renewal()
{
    static RenewalState state;
    return state;
}

void enqueue(const std::shared_ptr<JSONHTTPRequest>& request)
{
    QList<std::shared_ptr<JSONHTTPRequest>>& queue = renewal().queue;
    if (request && !queue.contains(request))
        queue.append(request);
}

// The body as text; null when it is no valid UTF-8, so it decodes to nothing.
QString utf8Text(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QString();
    return text.isNull() ? QStringLiteral("") : text;
}

Value decodedBody(const QByteArray& bytes)
{
    const QString text = utf8Text(bytes);
    return text.isEmpty() ? Value() : JSONValue(text);
}

const QString kNull = QStringLiteral("(null)");

}  // namespace

JSONHTTPRequest::JSONHTTPRequest() = default;
JSONHTTPRequest::~JSONHTTPRequest() = default;

std::shared_ptr<JSONHTTPRequest> JSONHTTPRequest::create()
{
    return std::make_shared<JSONHTTPRequest>();
}

void JSONHTTPRequest::requestUrl(const QUrl& url)
{
    if (!renewal().waiting || requestTag() == TagRenewal) {
        HTTPRequestAsyncronic::requestUrl(url);
        return;
    }
    if (requestTag() == TagLogout) {
        // Signing out overtakes the renewal: nobody waits for its token any more.
        endRenewal(false);
        HTTPRequestAsyncronic::requestUrl(url);
        return;
    }
    prepareRequestUrl(url);
    enqueue(shared());
}

void JSONHTTPRequest::cancel()
{
    const std::shared_ptr<JSONHTTPRequest> keep = shared();
    if (keep)
        renewal().queue.removeAll(keep);
    HTTPRequestAsyncronic::cancel();
}

std::shared_ptr<JSONHTTPRequest> JSONHTTPRequest::shared()
{
    return std::static_pointer_cast<JSONHTTPRequest>(weak_from_this().lock());
}

void JSONHTTPRequest::connectionDidFinishLoading()
{
    const std::shared_ptr<JSONHTTPRequest> keep = shared();
    if (error().isSet()) {
        finishWithErrorStatus();
        return;
    }

    setSuccess(true);
    setIncorrectResponseSignature(false);

    const QString expected = Config::getInstance().signatureForResponse(loadedData());
    const QString received = httpResponse().headerValue(QStringLiteral("Authorization"));
    if (expected.isNull() || received.isNull() || expected != received) {
        // Judged by the callback: the answer still goes on.
        setSuccess(false);
        setIncorrectResponseSignature(true);
    }

    setResponse(decodedBody(loadedData()));

    if (requestTag() == TagRenewal || requestTag() == TagLogout) {
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
    callSuccess();
}

void JSONHTTPRequest::finishWithErrorStatus()
{
    // The forum's error body is there for the failure callback.
    setResponse(decodedBody(loadedData()));
    setSuccess(false);
    callFailure();
    // The caller has its failure: no message and no renewal for it any more,
    // only the closed forum is still announced.
    if (requestTag() == TagOrdinary)
        InactiveForumUtil::instance().isForumActive(response()[u"response"][u"errormessage"]);
}

bool JSONHTTPRequest::passesForumClosedCheck(const Value& errormessage)
{
    if (InactiveForumUtil::instance().isForumActive(errormessage))
        return true;
    // Ends like a cancelled request: it leaves the pending list, so the network
    // indicator does not stay on for an answer nobody will get.
    cancel();
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
    if (errormessage.at(0) != Value(QStringLiteral("redirect_login")) && !AlertViewUtil::isAlertBeingShown()) {
        const std::shared_ptr<AlertView> alert =
            AlertView::create(QString(), errormessage.at(1).toString(), nullptr,
                              {Bundle::main().localizedString(QStringLiteral("ok"))});
        alert->show();
    }
    // A code with its message is no code of its own.
    return errormessage;
}

void JSONHTTPRequest::handleInvalidAccessToken()
{
    const std::shared_ptr<JSONHTTPRequest> me = shared();
    RenewalState& state = renewal();
    if (state.waiting) {
        enqueue(me);
        return;
    }

    const SessionCredentials* session = SessionCredentials::current();
    const QString current = session ? session->apiaccesstoken() : QString();
    if (!current.isNull() && current != extractApiAccessToken()) {
        // Renewed since this request went out: it only needs the new token.
        retryRequest();
        return;
    }

    SessionRenewal* renewer = SessionRenewal::current();
    if (!renewer) {
        MU_LOG(QStringLiteral("No session can renew the access token"));
        failRequest();
        return;
    }
    state.waiting = true;
    state.starter = me;
    enqueue(me);
    renewer->renovateAccessTokenAndCallSuccessSelector(SELECTOR(JSONHTTPRequest, processWaitingForAccessTokenRequests),
                                                       SELECTOR(JSONHTTPRequest, cancelWaitingForAccessTokenRequests),
                                                       me);
}

void JSONHTTPRequest::processWaitingForAccessTokenRequests(const HTTPRequestPtr&)
{
    // Only the renewal this request started may end; a report that comes twice,
    // or late, finds it over.
    if (renewal().waiting && renewal().starter.get() == this)
        endRenewal(true);
}

void JSONHTTPRequest::cancelWaitingForAccessTokenRequests(const HTTPRequestPtr&)
{
    if (renewal().waiting && renewal().starter.get() == this)
        endRenewal(false);
}

void JSONHTTPRequest::endRenewal(bool renewed)
{
    RenewalState& state = renewal();
    state.waiting = false;
    // Taken out first: the callbacks below may send, queue or renew anew.
    const std::shared_ptr<JSONHTTPRequest> starter = std::exchange(state.starter, nullptr);
    const QList<std::shared_ptr<JSONHTTPRequest>> queue = std::exchange(state.queue, {});
    for (const std::shared_ptr<JSONHTTPRequest>& request : queue) {
        // A callback of an earlier one may have cancelled it.
        if (!request->isPending())
            continue;
        if (renewed)
            request->retryRequest();
        else
            request->failRequest();
    }
}

void JSONHTTPRequest::retryRequest()
{
    if (m_retryCount >= MaxRetries) {
        failRequest();
        return;
    }
    ++m_retryCount;

    const SessionCredentials* session = SessionCredentials::current();
    if (!session || !session->hasSession()) {
        // Without a session every address is the session opening, not this call.
        MU_LOG(QStringLiteral("No session to send the request again: ") + url());
        failRequest();
        return;
    }
    QUrl address;
    if (apiCall().isSet()) {
        address = Config::getInstance().URLWithString(apiCall().method, apiCall().query);
    } else if (!extractApiAccessToken().isNull()) {
        address = Config::getInstance().URLwithCurrentAccessTokenForURL(QUrl::fromEncoded(url().toUtf8()));
    } else {
        // Addressed while no session existed: it names no call to repeat.
        MU_LOG(QStringLiteral("The request was addressed without a session and cannot be sent again: ") + url());
        failRequest();
        return;
    }
    request().setUrl(address);
    doRequest();
}

void JSONHTTPRequest::failRequest()
{
    setSuccess(false);
    callFailure();
}

QString JSONHTTPRequest::extractApiAccessToken() const
{
    return Config::extractApiAccessTokenFromURL(QUrl::fromEncoded(url().toUtf8()));
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
    return renewal().waiting;
}

QList<std::shared_ptr<JSONHTTPRequest>> JSONHTTPRequest::waitingForAccessTokenRequests()
{
    return renewal().queue;
}
