#include "app/net/HTTPRequestSyncronic.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>

std::shared_ptr<HTTPRequestSyncronic> HTTPRequestSyncronic::create()
{
    return std::make_shared<HTTPRequestSyncronic>();
}

void HTTPRequestSyncronic::requestUrl(const QUrl& url)
{
    const std::shared_ptr<HTTPRequest> keep = weak_from_this().lock();
    setUrl(QString::fromUtf8(url.toEncoded()));
    QNetworkRequest request = platformRequest(url);
    // Blocked in a loop of its own, the caller keeps the toolkit's timer: a
    // manual clock would never end the wait.
    request.setTransferTimeout(timeoutSeconds() * 1000);
    const QByteArray body = attachBody(request);

    QNetworkAccessManager* manager = networkAccessManager();
    QNetworkReply* reply = body.isEmpty() ? manager->get(request) : manager->post(request, body);
    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }

    loadedData() = reply->readAll();
    const std::optional<HTTPResponse> head = responseHead(*reply);
    if (head)
        setResponseHead(*head);
    const bool transportFailure = isTransportFailure(*reply) || !head;
    const bool answered = !transportFailure && head->statusCode() == 200;
    using Kind = RequestOutcome::Kind;
    setOutcome(RequestOutcome(answered ? Kind::Ok : transportFailure ? Kind::NoAnswer : Kind::HttpError,
                              head ? head->statusCode() : 0));
    reply->deleteLater();
    if (answered)
        callSuccess();
    else
        callFailure();
}
