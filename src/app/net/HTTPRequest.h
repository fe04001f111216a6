#pragma once

#include "app/net/ApiCall.h"
#include "app/net/HTTPResponse.h"
#include "app/net/PostFile.h"
#include "app/net/RequestMethod.h"
#include "app/net/RequestOutcome.h"
#include "app/net/RequestTag.h"
#include "app/net/Selector.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"
#include "platform/foundation/Value.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

// What a request is: address, parameters, files, headers, callback, outcome,
// and how its body is built. Sending is the business of the subclasses.
class HTTPRequest : public virtual Trackable, public std::enable_shared_from_this<HTTPRequest> {
public:
    HTTPRequest();
    ~HTTPRequest() override;

    HTTPRequest(const HTTPRequest&) = delete;
    HTTPRequest& operator=(const HTTPRequest&) = delete;

    // Building.
    // Stores the pair when the value is a text; other values are ignored.
    void addParameter(const QString& key, const Value& value);
    // Adds every entry unchanged, of any type.
    void addParameters(const ValueDict& parameters);
    void addHeaders(const ValueDict& headers);
    // A second file of the same file name replaces the first.
    void addFile(const QString& parameterName, const QString& fileName, const QByteArray& fileData,
                 const QString& contentType);
    void setPostData(const QString& text);

    // Sending: the base does nothing.
    virtual void requestUrl(const QUrl& url);
    // Stops the request without a callback: the base does nothing.
    virtual void cancel() {}

    // Outcome: each fires at most once, when both the selector and the
    // callback object are set, then clears them.
    virtual void callSuccess();
    virtual void callFailure();

    // The body (files: multipart; parameters: form; raw text), or a null array.
    QByteArray getPostData();
    // 60 seconds on a cellular route or one not known yet, else 20.
    static int getDefaultTimeout();
    // The request's own timeout when it has one (1 s or more), else the default.
    int timeoutSeconds() const;

    // Fields.
    Trackable* callbackObject() const { return m_callbackObject.get(); }
    void setCallbackObject(Trackable* object) { m_callbackObject = WeakRef<Trackable>(object); }
    const Selector& successSelector() const { return m_successSelector; }
    void setSuccessSelector(const Selector& s) { m_successSelector = s; }
    const Selector& failureSelector() const { return m_failureSelector; }
    void setFailureSelector(const Selector& s) { m_failureSelector = s; }
    // Told once per connection, of a call that may change the forum, that
    // the timeout has passed without an answer while the connection is kept
    // (see HTTPRequestAsyncronic); the request goes on.
    const Selector& overdueSelector() const { return m_overdueSelector; }
    void setOverdueSelector(const Selector& s) { m_overdueSelector = s; }
    int timeoutInterval() const { return m_timeoutInterval; }
    void setTimeoutInterval(int seconds) { m_timeoutInterval = seconds; }
    const Value& extraInfo() const { return m_extraInfo; }
    void setExtraInfo(const Value& info) { m_extraInfo = info; }
    const QList<PostFile>& postFiles() const { return m_postFiles; }
    // Null until the first parameter is added (an empty dictionary still makes a form body).
    const std::optional<ValueDict>& postParameters() const { return m_postParameters; }
    const ValueDict& headers() const { return m_headers; }
    const QString& postData() const { return m_postData; }
    const QString& url() const { return m_url; }
    void setUrl(const QString& url) { m_url = url; }
    const QString& filename() const { return m_filename; }
    void setFilename(const QString& name) { m_filename = name; }
    const QString& boundary() const { return m_boundary; }
    void setBoundary(const QString& boundary) { m_boundary = boundary; }
    const HTTPResponse& httpResponse() const { return m_httpResponse; }
    void setHttpResponse(const HTTPResponse& response) { m_httpResponse = response; }
    const QByteArray& loadedData() const { return m_loadedData; }
    QByteArray& loadedData() { return m_loadedData; }
    // Domain "request" and the status as code, for a status outside 200-399.
    const Error& error() const { return m_error; }
    void setError(const Error& error) { m_error = error; }
    // What became of the request, judged where its reply ended.
    const RequestOutcome& outcome() const { return m_outcome; }
    void setOutcome(const RequestOutcome& outcome) { m_outcome = outcome; }
    // The forum's own answer came, complete and signed (see RequestOutcome).
    bool success() const { return m_outcome.success(); }
    // The caller's choice, kept for the caller; the body decides how it goes out.
    RequestMethod method() const { return m_method; }
    void setMethod(RequestMethod method) { m_method = method; }
    RequestTag requestTag() const { return m_requestTag; }
    void setRequestTag(RequestTag tag) { m_requestTag = tag; }
    const ApiCall& apiCall() const { return m_apiCall; }
    void setApiCall(const ApiCall& call) { m_apiCall = call; }
    // The decoded body (JSON or property list), absent when it did not decode.
    const Value& response() const { return m_response; }
    void setResponse(const Value& response) { m_response = response; }
    // The answer's signature did not match the expected one.
    bool incorrectResponseSignature() const { return m_outcome.is(RequestOutcome::Kind::BadSignature); }

protected:
    std::shared_ptr<HTTPRequest> self() { return shared_from_this(); }

    // The network access manager of the installed API client (main thread).
    static QNetworkAccessManager* networkAccessManager();
    // A platform request for the address; the caller sees to the timeout.
    static QNetworkRequest platformRequest(const QUrl& url);
    // Builds the body and, when it has a byte, sets its content type on the
    // platform request; an empty result means the request goes out as a GET.
    QByteArray attachBody(QNetworkRequest& request);
    // The head of a reply, when an HTTP status arrived.
    static std::optional<HTTPResponse> responseHead(const QNetworkReply& reply);
    // Keeps the head; a status below 200 or from 400 up sets the error.
    void setResponseHead(const HTTPResponse& response);
    // Whether the reply failed below HTTP (no answer, or the line broke), as
    // opposed to an answer with an error status.
    static bool isTransportFailure(const QNetworkReply& reply);

private:
    WeakRef<Trackable> m_callbackObject;
    Selector m_successSelector;
    Selector m_failureSelector;
    Selector m_overdueSelector;
    int m_timeoutInterval = 0;
    Value m_extraInfo;
    QList<PostFile> m_postFiles;
    std::optional<ValueDict> m_postParameters;
    ValueDict m_headers;
    QString m_postData;
    QString m_url;
    QString m_filename;
    QString m_boundary;
    HTTPResponse m_httpResponse;
    QByteArray m_loadedData;
    Error m_error;
    RequestOutcome m_outcome;
    RequestMethod m_method = RequestMethod::GET;
    RequestTag m_requestTag = RequestTag::Ordinary;
    ApiCall m_apiCall;
    Value m_response;
};

using HTTPRequestPtr = std::shared_ptr<HTTPRequest>;
