#pragma once

#include "app/net/HTTPRequest.h"
#include "app/net/ProgressSelector.h"
#include "app/net/RequestFactory.h"
#include "platform/foundation/ClockTimer.h"

#include <QNetworkRequest>
#include <QPointer>

#include <memory>
#include <type_traits>

class ApiClient;
class QNetworkAccessManager;
class QNetworkReply;

// A request sent on the API client's network access manager that reports
// back on the main thread. While it is pending (prepared and not yet
// finished, failed or cancelled) the client's pending list owns it.
//
// A call that may change the forum (any body but a read's, see
// ApiCall::onlyReads) and whose caller watches for it being late (an
// overdue selector: the posting builders) is not given up when its timeout
// passes once the whole of it has left: a slow forum may still carry it out,
// and a connection dropped by us proves nothing. The overdue selector hears
// of the timeout once, and the connection is kept until it ends by itself or
// nothing has moved on it for PostingLimitSeconds. One that never wholly
// left ends at the timeout, unsent (RequestOutcome::unsent): no forum runs
// half a call.
//
// Always owned through a shared_ptr: make it with create().
class HTTPRequestAsyncronic : public HTTPRequest, public RequestFactory<HTTPRequestAsyncronic> {
public:
    // How long a call that may change the forum waits for a quiet
    // connection to move, at the least.
    static constexpr int PostingLimitSeconds = 120;

    HTTPRequestAsyncronic();
    ~HTTPRequestAsyncronic() override;

    static std::shared_ptr<HTTPRequestAsyncronic> create();

    // prepareRequestUrl then doRequest.
    void requestUrl(const QUrl& url) override;
    // Builds the platform request ("User-Agent", a fresh "UDID", the extra
    // headers, the body) and joins the pending list.
    virtual void prepareRequestUrl(const QUrl& url);
    // Drops a connection still held and sends the prepared request afresh.
    // A connection on which nothing moves for the timeout (timeoutSeconds(),
    // on the clock) ends as no answer; for a call that may change the forum
    // the wait is quietLimitSeconds().
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
    // The prepared request carries a body and its call is no read: it goes
    // out once per send.
    bool mayChangeForum() const;
    // How long the connection may stay quiet before it ends as no answer:
    // the timeout, or for a call that may change the forum, has wholly left
    // and has an overdue selector, at least PostingLimitSeconds.
    int quietLimitSeconds() const;
    // The timeout has passed on the open connection without an answer.
    bool isOverdue() const { return m_overdue; }
    // The whole request, body and all, has gone to the open connection (or
    // to the last one): only then may the forum have carried it out.
    bool requestLeft() const { return m_requestSent; }
    bool isPending() const;
    // The client whose pending list holds (or held) the request; null before
    // the first send or once that client has ended.
    std::shared_ptr<ApiClient> client() const { return m_client.lock(); }
    // Whether the request has been sent (or queued) through a client yet.
    bool hasJoinedClient() const { return m_joinedClient; }

    // Of the installed API client.
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
    // No complete answer: the outcome is "no answer", then the failure callback.
    virtual void didFailWithError();
    // An error status fails with the whole body; otherwise the request
    // succeeds (304 too).
    virtual void connectionDidFinishLoading();
    virtual void didSendBodyData(qint64 written, qint64 expected);

    // The factory's work for any request class T with a static create().
    template <typename T>
    static std::shared_ptr<T> makeAndSend(const QUrl& url, const ValueDict* params, RequestMethod method,
                                          const Selector& selector, Trackable* object, RequestTag tag,
                                          const ApiCall& api)
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
    void setUp(const QUrl& url, const ValueDict* params, RequestMethod method, const Selector& selector,
               Trackable* object, RequestTag tag, const ApiCall& api);
    // The client of this request: the one it joined, or the installed one.
    std::shared_ptr<ApiClient> owningClient();
    void joinPending();
    void leavePending();
    void dropConnection();
    QNetworkReply* sendBody(QNetworkAccessManager& manager);
    // Something moved on the connection (or it has just opened): the wait
    // for the next move starts now.
    void armTimeout(QNetworkReply* reply);
    void waitForActivity(QNetworkReply* reply, qint64 ms);
    // The quiet time at which the connection is next looked at: the
    // timeout, or once overdue, the limit.
    qint64 nextQuietDeadlineMs() const;
    void becomeOverdue();
    void timedOut();
    void readAvailable(QNetworkReply* reply);
    void replyHeadChanged(QNetworkReply* reply);
    void replyFinished(QNetworkReply* reply);

    ProgressSelector m_progressSelector;
    QNetworkRequest m_request;
    QByteArray m_body;
    QPointer<QNetworkReply> m_reply;
    ClockTimer m_timeout;
    qint64 m_lastActivityMs = 0;
    bool m_overdue = false;
    bool m_requestSent = false;
    std::weak_ptr<ApiClient> m_client;
    bool m_joinedClient = false;
};
