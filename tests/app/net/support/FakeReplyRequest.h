#pragma once

#include "app/net/JSONHTTPRequest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <memory>

// A JSON request that never touches the network: each send is recorded, and
// the test hands it the reply it wants.
class FakeReplyRequest : public JSONHTTPRequest {
public:
    static std::shared_ptr<FakeReplyRequest> create() { return std::make_shared<FakeReplyRequest>(); }

    // The addresses it went out with, in order.
    QList<QUrl> sent;

    void doRequest() override
    {
        setUrl(QString::fromUtf8(request().url().toEncoded()));
        sent.append(request().url());
    }

    // The reply: status, body and the "Authorization" header (none when null).
    void deliver(int status, const QByteArray& body, const QString& authorization, const char* headerName = "Authorization")
    {
        QList<std::pair<QByteArray, QByteArray>> headers;
        if (!authorization.isNull())
            headers.append({QByteArray(headerName), authorization.toLatin1()});
        setResponseHead(HTTPResponse(status, headers));
        loadedData() = body;
        connectionDidFinishLoading();
    }
};
