#include "app/net/HTTPRequestAsyncronic.h"

#include "app/net/ApiClient.h"
#include "app/net/OneShotBody.h"
#include "platform/foundation/ClassName.h"
#include "platform/foundation/StringExtensions.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <algorithm>

HTTPRequestAsyncronic::HTTPRequestAsyncronic() = default;

HTTPRequestAsyncronic::~HTTPRequestAsyncronic()
{
    dropConnection();
}

std::shared_ptr<HTTPRequestAsyncronic> HTTPRequestAsyncronic::create()
{
    return std::make_shared<HTTPRequestAsyncronic>();
}

void HTTPRequestAsyncronic::reportPageview(const QUrl& url)
{
    ApiClient::current().reportPageview(url);
}

void HTTPRequestAsyncronic::setUp(const QUrl& url, const ValueDict* params, RequestMethod method,
                                  const Selector& selector, Trackable* object, RequestTag tag, const ApiCall& api)
{
    setCallbackObject(object);
    setSuccessSelector(selector);
    setFailureSelector(selector);
    setFilename(QString::fromUtf8(url.toEncoded()).section(u'/', -1));
    setMethod(method);
    setRequestTag(tag);
    setApiCall(api);
    if (params)
        addParameters(*params);
}

void HTTPRequestAsyncronic::requestUrl(const QUrl& url)
{
    prepareRequestUrl(url);
    doRequest();
}

void HTTPRequestAsyncronic::prepareRequestUrl(const QUrl& url)
{
    setUrl(QString::fromUtf8(url.toEncoded()));
    m_request = platformRequest(url);
    m_request.setRawHeader("User-Agent", "iPhone/1.0");
    m_request.setRawHeader("UDID", StringExtensions::uuid().toUtf8());
    if (filename().isEmpty())
        setFilename(url.fileName());
    for (const auto& [name, value] : headers()) {
        const QString text = value.toString();
        if (!text.isNull())
            m_request.setRawHeader(name.toUtf8(), text.toUtf8());
    }
    m_body = attachBody(m_request);
    setOutcome(RequestOutcome());
    joinPending();
}

void HTTPRequestAsyncronic::doRequest()
{
    const std::shared_ptr<HTTPRequest> keep = weak_from_this().lock();
    dropConnection();
    // A re-sent request may go to a new address (new access token).
    setUrl(QString::fromUtf8(m_request.url().toEncoded()));
    loadedData() = QByteArray();
    m_overdue = false;
    m_requestSent = false;
    // The outcome of an earlier connection does not carry over to this one.
    setHttpResponse(HTTPResponse());
    setError(Error());
    setOutcome(RequestOutcome());
    joinPending();
    const std::shared_ptr<ApiClient> client = owningClient();
    if (!client || !client->isPending(this))
        return;

    QNetworkAccessManager* manager = client->networkAccessManager();
    QNetworkReply* reply = m_body.isEmpty() ? manager->get(m_request) : sendBody(*manager);
    m_reply = reply;

    // The reply is the context of every connection, so dropping it ends them;
    // the request is held weakly, so an abandoned reply keeps nobody alive.
    const std::weak_ptr<HTTPRequest> weak = weak_from_this();
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [weak, reply] {
        if (auto request = connectionOwner(weak, reply)) {
            request->armTimeout(reply);
            request->replyHeadChanged(reply);
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [weak, reply] {
        if (auto request = connectionOwner(weak, reply)) {
            request->armTimeout(reply);
            request->readAvailable(reply);
        }
    });
    QObject::connect(reply, &QNetworkReply::uploadProgress, reply,
                     [weak, reply](qint64 written, qint64 expected) {
                         if (auto request = connectionOwner(weak, reply)) {
                             request->armTimeout(reply);
                             request->didSendBodyData(written, expected);
                         }
                     });
    // Once the whole request, body and all, has gone to the line.
    QObject::connect(reply, &QNetworkReply::requestSent, reply, [weak, reply] {
        if (auto request = connectionOwner(weak, reply)) {
            request->armTimeout(reply);
            request->m_requestSent = true;
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [weak, reply] {
        if (auto request = connectionOwner(weak, reply))
            request->replyFinished(reply);
    });
    armTimeout(reply);
}

void HTTPRequestAsyncronic::armTimeout(QNetworkReply* reply)
{
    m_lastActivityMs = Clock::current().elapsedMs();
    if (!m_timeout.isActive())
        waitForActivity(reply, nextQuietDeadlineMs());
}

bool HTTPRequestAsyncronic::mayChangeForum() const
{
    return !m_body.isEmpty() && !apiCall().onlyReads();
}

int HTTPRequestAsyncronic::quietLimitSeconds() const
{
    // A request that has not wholly left cannot have been carried out: it
    // is given up at the timeout as a read is. Nor is a call whose caller
    // cannot tell the member that its fate is open (the session's calls,
    // moderation): waiting in silence would only hide the failure.
    const bool outwaits = mayChangeForum() && m_requestSent && overdueSelector().isSet();
    return outwaits ? std::max(PostingLimitSeconds, timeoutSeconds()) : timeoutSeconds();
}

qint64 HTTPRequestAsyncronic::nextQuietDeadlineMs() const
{
    return qint64(m_overdue ? quietLimitSeconds() : timeoutSeconds()) * 1000;
}

void HTTPRequestAsyncronic::waitForActivity(QNetworkReply* reply, qint64 ms)
{
    // On the clock, as every wait of the application: a test passes the
    // timeout without waiting for it.
    const std::weak_ptr<HTTPRequest> weak = weak_from_this();
    m_timeout = Clock::current().after(ms, [weak, reply] {
        const auto request = connectionOwner(weak, reply);
        if (!request)
            return;
        // Only a connection quiet for the whole wait has waited enough.
        const qint64 quiet = Clock::current().elapsedMs() - request->m_lastActivityMs;
        const qint64 deadline = request->nextQuietDeadlineMs();
        if (quiet < deadline)
            request->waitForActivity(reply, deadline - quiet);
        else if (!request->m_overdue && request->quietLimitSeconds() > request->timeoutSeconds())
            request->becomeOverdue();
        else
            request->timedOut();
    });
}

void HTTPRequestAsyncronic::becomeOverdue()
{
    const std::shared_ptr<HTTPRequest> keep = weak_from_this().lock();
    m_overdue = true;
    const qint64 quiet = Clock::current().elapsedMs() - m_lastActivityMs;
    waitForActivity(m_reply, std::max<qint64>(0, nextQuietDeadlineMs() - quiet));
    if (Trackable* target = callbackObject(); target && overdueSelector().isSet())
        overdueSelector().perform(target, self());
}

void HTTPRequestAsyncronic::timedOut()
{
    const std::shared_ptr<HTTPRequest> keep = weak_from_this().lock();
    dropConnection();
    // Whatever came of the answer is no answer.
    loadedData() = QByteArray();
    didFailWithError();
}

QNetworkReply* HTTPRequestAsyncronic::sendBody(QNetworkAccessManager& manager)
{
    // A call that may change the forum goes out once per send: Qt may send a
    // request again by itself, never this body (streamed, so that Qt keeps no
    // copy it could rewind). A call that only reads keeps Qt's own copy.
    QNetworkRequest request = m_request;
    request.setHeader(QNetworkRequest::ContentLengthHeader, m_body.size());
    if (apiCall().onlyReads())
        return manager.post(request, m_body);
    request.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
    auto* body = new OneShotBody(m_body);
    QNetworkReply* reply = manager.post(request, body);
    body->setParent(reply);
    return reply;
}

void HTTPRequestAsyncronic::cancel()
{
    const std::shared_ptr<HTTPRequest> keep = weak_from_this().lock();
    dropConnection();
    loadedData() = QByteArray();
    leavePending();
}

void HTTPRequestAsyncronic::callSuccess()
{
    const std::shared_ptr<HTTPRequest> keep = weak_from_this().lock();
    // Done before the callback, which may send this request again.
    leavePending();
    if (callbackObject())
        HTTPRequest::callSuccess();
}

void HTTPRequestAsyncronic::callFailure()
{
    const std::shared_ptr<HTTPRequest> keep = weak_from_this().lock();
    leavePending();
    if (callbackObject())
        HTTPRequest::callFailure();
}

bool HTTPRequestAsyncronic::isPending() const
{
    const std::shared_ptr<ApiClient> client = m_client.lock();
    return client && client->isPending(this);
}

int HTTPRequestAsyncronic::getPendingRequests()
{
    return ApiClient::current().pendingCount();
}

void HTTPRequestAsyncronic::updateNetworkIndicatorVisibility()
{
    ApiClient::current().updateNetworkIndicator();
}

QString HTTPRequestAsyncronic::description() const
{
    return QStringLiteral("<%1 url:'%2'>").arg(className(*this), url());
}

void HTTPRequestAsyncronic::didReceiveResponse(const HTTPResponse& response)
{
    setResponseHead(response);
}

void HTTPRequestAsyncronic::didReceiveData(const QByteArray& bytes)
{
    loadedData().append(bytes);
}

void HTTPRequestAsyncronic::didFailWithError()
{
    const int status = httpResponse().statusCode();
    // A forum runs a call only once it has the whole request.
    const bool neverLeft = !m_requestSent;
    setOutcome(neverLeft ? RequestOutcome::unsent(status) : RequestOutcome(RequestOutcome::Kind::NoAnswer, status));
    callFailure();
}

void HTTPRequestAsyncronic::connectionDidFinishLoading()
{
    const int status = httpResponse().statusCode();
    using Kind = RequestOutcome::Kind;
    if (error().isSet() || status >= 400)
        setOutcome(RequestOutcome(Kind::HttpError, status));
    else
        setOutcome(RequestOutcome(status == 304 ? Kind::NotModified : Kind::Ok, status));
    if (success())
        callSuccess();
    else
        callFailure();
}

void HTTPRequestAsyncronic::didSendBodyData(qint64 written, qint64 expected)
{
    if (!m_progressSelector.isSet() || expected <= 0)
        return;
    if (Trackable* target = callbackObject()) {
        m_progressSelector.perform(target, self(),
                                   static_cast<float>(written) / static_cast<float>(expected));
    }
}

std::shared_ptr<HTTPRequestAsyncronic> HTTPRequestAsyncronic::connectionOwner(const std::weak_ptr<HTTPRequest>& weak,
                                                                             QNetworkReply* reply)
{
    auto request = std::static_pointer_cast<HTTPRequestAsyncronic>(weak.lock());
    if (!request || request->m_reply != reply)
        return nullptr;
    return request;
}

std::shared_ptr<ApiClient> HTTPRequestAsyncronic::owningClient()
{
    // A request keeps to the client it first joined; once that client has
    // ended, the request has nowhere to go.
    if (m_joinedClient)
        return m_client.lock();
    return ApiClient::currentShared();
}

void HTTPRequestAsyncronic::joinPending()
{
    const std::shared_ptr<ApiClient> client = owningClient();
    if (!client || client->isPending(this))
        return;
    std::shared_ptr<HTTPRequest> owner = weak_from_this().lock();
    Q_ASSERT_X(owner, "HTTPRequestAsyncronic", "requests are owned through a shared_ptr (create())");
    if (!owner)
        return;
    m_client = client;
    m_joinedClient = true;
    client->addPending(std::static_pointer_cast<HTTPRequestAsyncronic>(owner));
}

void HTTPRequestAsyncronic::leavePending()
{
    if (const std::shared_ptr<ApiClient> client = m_client.lock())
        client->removePending(this);
}

void HTTPRequestAsyncronic::dropConnection()
{
    m_timeout.cancel();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    // Ends only our own connections; the manager keeps its bookkeeping.
    QObject::disconnect(reply, nullptr, reply, nullptr);
    reply->abort();
    // The reply may be inside one of its own signals.
    reply->deleteLater();
}

void HTTPRequestAsyncronic::readAvailable(QNetworkReply* reply)
{
    const QByteArray bytes = reply->readAll();
    if (!bytes.isEmpty())
        didReceiveData(bytes);
}

void HTTPRequestAsyncronic::replyHeadChanged(QNetworkReply* reply)
{
    if (const std::optional<HTTPResponse> head = responseHead(*reply))
        didReceiveResponse(*head);
}

void HTTPRequestAsyncronic::replyFinished(QNetworkReply* reply)
{
    const std::shared_ptr<HTTPRequest> keep = weak_from_this().lock();
    if (httpResponse().statusCode() == 0)
        replyHeadChanged(reply);
    readAvailable(reply);
    // A data handler may have cancelled or re-sent the request.
    if (m_reply != reply)
        return;
    const bool transportFailure = isTransportFailure(*reply);
    m_timeout.cancel();
    m_reply = nullptr;
    QObject::disconnect(reply, nullptr, reply, nullptr);
    reply->deleteLater();
    if (transportFailure)
        didFailWithError();
    else
        connectionDidFinishLoading();
}
