#pragma once

#include "app/net/HTTPRequest.h"

#include <QCryptographicHash>
#include <QList>

#include <functional>

// Records the callbacks of requests: which selector, and what the request
// held at that moment.
class RequestRecorder : public virtual Trackable {
public:
    struct Call {
        HTTPRequestPtr request;
        bool viaSuccess = false;
        bool success = false;
        bool incorrectSignature = false;
        Value response;
    };

    void succeeded(const HTTPRequestPtr& request) { record(request, true); }
    void failed(const HTTPRequestPtr& request) { record(request, false); }

    int successes() const { return count(true); }
    int failures() const { return count(false); }
    QList<Call> callsFor(const HTTPRequest* request) const
    {
        QList<Call> found;
        for (const Call& call : calls) {
            if (call.request.get() == request)
                found.append(call);
        }
        return found;
    }

    QList<Call> calls;
    // Runs inside each callback, after it is recorded.
    std::function<void(const HTTPRequestPtr&)> onCall;

private:
    void record(const HTTPRequestPtr& request, bool viaSuccess)
    {
        calls.append({request, viaSuccess, request->success(), request->incorrectResponseSignature(),
                      request->response()});
        if (onCall)
            onCall(request);
    }
    int count(bool viaSuccess) const
    {
        int n = 0;
        for (const Call& call : calls)
            n += call.viaSuccess == viaSuccess ? 1 : 0;
        return n;
    }
};

// The forum's answer signature, computed here on its own: MD5 of the body,
// token, client id, secret and the API key.
inline QString forumSignature(const QByteArray& body, const QString& token, const QString& clientId,
                              const QString& secret)
{
    const QByteArray text = body + token.toUtf8() + clientId.toUtf8() + secret.toUtf8() + QByteArrayLiteral("Qw7rTz2k");
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex());
}
