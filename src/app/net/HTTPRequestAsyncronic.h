#pragma once

#include "app/net/HTTPRequest.h"

#include <QNetworkRequest>
#include <QPointer>

#include <memory>
#include <type_traits>

class QNetworkReply;

// The class-side factory of a request class T, which every model uses: makes
// a T, reports the page view, sets its callback (success and failure alike),
// filename, method, tag and API call, adds the parameters and sends it. With
// parameters the body is a form, so the request is a POST unless they are all
// empty; without them it is a GET.
template <typename T>
class RequestFactory {
public:
    static HTTPRequestPtr requestURL(const QUrl& url, const ValueDict& params, int method, const Selector& selector,
                                     Trackable* object, int tag = HTTPRequest::TagOrdinary, const ApiCall& api = {})
    {
        return T::template makeAndSend<T>(url, &params, method, selector, object, tag, api);
    }
    static HTTPRequestPtr requestURL(const QUrl& url, const ValueDict& params, const Selector& selector,
                                     Trackable* object)
    {
        return T::template makeAndSend<T>(url, &params, 0, selector, object, HTTPRequest::TagOrdinary, {});
    }
    static HTTPRequestPtr requestURL(const QUrl& url, const Selector& selector, Trackable* object)
    {
        return T::template makeAndSend<T>(url, nullptr, 0, selector, object, HTTPRequest::TagOrdinary, {});
    }
};

// A request sent on the shared network access manager that reports back on
// the main thread. While it is pending (prepared and not yet finished, failed
// or cancelled) the process-wide pending list owns it, and the network
// indicator is on exactly while that list is not empty.
//
// Always owned through a shared_ptr: make it with create().
class HTTPRequestAsyncronic : public HTTPRequest, public RequestFactory<HTTPRequestAsyncronic> {
public:
    HTTPRequestAsyncronic();
    ~HTTPRequestAsyncronic() override;

    static std::shared_ptr<HTTPRequestAsyncronic> create();

    // prepareRequestUrl then doRequest.
    void requestUrl(const QUrl& url) override;
    // Builds the platform request (timeout, "User-Agent", a fresh "UDID", the
    // extra headers, the body) and joins the pending list.
    virtual void prepareRequestUrl(const QUrl& url);
    // Drops a connection still held and sends the prepared request afresh.
    virtual void doRequest();
    // Stops without a callback and leaves the pending list.
    void cancel() override;

    // Fire only when a callback object is set; either way the request is done
    // and leaves the pending list.
    void callSuccess() override;
    void callFailure() override;

    const ProgressSelector& progressSelector() const { return m_progressSelector; }
    void setProgressSelector(const ProgressSelector& selector) { m_progressSelector = selector; }

    // The prepared platform request; a re-sent request takes a new address here.
    QNetworkRequest& request() { return m_request; }
    const QNetworkRequest& request() const { return m_request; }
    // Whether a connection is open.
    bool isSending() const { return !m_reply.isNull(); }
    bool isPending() const;

    static int getPendingRequests();
    static void updateNetworkIndicatorVisibility();

    // "<ClassName url:'...'>"
    virtual QString description() const;

protected:
    // Connection events; overrides reach the default through the base.
    virtual void didReceiveResponse(const HTTPResponse& response);
    // Appends to loadedData. An error status does not fail here: the failure
    // waits for the whole error body.
    virtual void didReceiveData(const QByteArray& bytes);
    // No answer: the failure callback, success stays false.
    virtual void didFailWithError();
    // An error status fails with the whole body; otherwise success is a
    // status below 400.
    virtual void connectionDidFinishLoading();
    virtual void didSendBodyData(qint64 written, qint64 expected);

    // The factory's work for any request class T with a static create().
    template <typename T>
    static std::shared_ptr<T> makeAndSend(const QUrl& url, const ValueDict* params, int method,
                                          const Selector& selector, Trackable* object, int tag, const ApiCall& api)
    {
        static_assert(std::is_base_of_v<HTTPRequestAsyncronic, T>);
        static_assert(std::is_same_v<decltype(T::create()), std::shared_ptr<T>>,
                      "the request class needs its own create()");
        reportPageview(url);
        std::shared_ptr<T> request = T::create();
        HTTPRequestAsyncronic& base = *request;
        base.setUp(url, params, method, selector, object, tag, api);
        request->requestUrl(url);
        return request;
    }

private:
    template <typename>
    friend class RequestFactory;

    static void reportPageview(const QUrl& url);
    // The request behind a reply's signal, when it is alive and the reply is
    // still its connection.
    static std::shared_ptr<HTTPRequestAsyncronic> connectionOwner(const std::weak_ptr<HTTPRequest>& weak,
                                                                  QNetworkReply* reply);
    void setUp(const QUrl& url, const ValueDict* params, int method, const Selector& selector, Trackable* object,
               int tag, const ApiCall& api);
    void joinPending();
    void leavePending();
    void dropConnection();
    void readAvailable(QNetworkReply* reply);
    void replyHeadChanged(QNetworkReply* reply);
    void replyFinished(QNetworkReply* reply);

    ProgressSelector m_progressSelector;
    QNetworkRequest m_request;
    QByteArray m_body;
    QPointer<QNetworkReply> m_reply;
};
