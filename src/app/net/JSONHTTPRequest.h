#pragma once

#include "app/net/HTTPRequestAsyncronic.h"

#include <QList>

#include <memory>

class TokenRenewal;

// The request of every forum API call. At the end of the reply it checks the
// answer's signature, decodes the JSON body into response(), lets the
// forum-closed check run, shows a message the forum sends, judges the answer
// into its outcome, and when the forum says the access token is no longer
// valid it waits while the session renews the token, then goes out again
// addressed with the new session.
//
// While a renewal runs, every other API request (tag Ordinary) waits in the
// API client's renewal queue; the renewal's own requests go out, and a
// logout fails the waiting ones and goes out. An API call made while no
// session is open begins such a renewal: no call goes out without a session.
class JSONHTTPRequest : public HTTPRequestAsyncronic, public RequestFactory<JSONHTTPRequest> {
public:
    // The factory makes requests of this class.
    using RequestFactory<JSONHTTPRequest>::requestURL;

    // A request is re-sent at most this many times, renewals included.
    static constexpr int MaxRetries = 3;

    JSONHTTPRequest();
    ~JSONHTTPRequest() override;

    static std::shared_ptr<JSONHTTPRequest> create();

    // Sends at once, or, while a renewal runs, queues an ordinary request
    // (prepared, so it is pending, but not sent).
    void requestUrl(const QUrl& url) override;
    // Also leaves the renewal queue.
    void cancel() override;

    // Sends the request again addressed with the current session, or fails it
    // once it has been re-sent MaxRetries times or cannot be addressed anew.
    void retryRequest();
    // The renewal (or the session opening) this request waited for failed:
    // it ends as one whose session is gone.
    void failRenewal();

    // The session's answers to a renewal, performed on the request that
    // started it: success re-sends every waiting request, failure fails them
    // all. A report that comes when that renewal no longer runs does nothing.
    void processWaitingForAccessTokenRequests(const HTTPRequestPtr& request = nullptr);
    void cancelWaitingForAccessTokenRequests(const HTTPRequestPtr& request = nullptr);

    // The "api_s" of the address the request was last sent (or queued) with.
    QString extractApiAccessToken() const;

    int retryCount() const { return m_retryCount; }
    void setRetryCount(int count) { m_retryCount = count; }

    QString description() const override;

    // The renewal state of the installed API client.
    static bool waitingForAccessToken();
    static QList<std::shared_ptr<JSONHTTPRequest>> waitingForAccessTokenRequests();

protected:
    void connectionDidFinishLoading() override;

private:
    std::shared_ptr<JSONHTTPRequest> shared();
    TokenRenewal* renewal();
    // An API call made while no session is open (a guest just signed out,
    // a renewal that failed): it must not go out before one is.
    bool needsSessionFirst() const;
    // Steps of the end of a reply.
    void finishWithErrorStatus();
    // False when the forum is closed: the request then fails with the
    // ForumClosed outcome, after the closed alert.
    bool passesForumClosedCheck(const Value& errormessage);
    // The code that decides what happens to the answer; a two-element list
    // (a code and a message for the user) shows the message.
    Value errorCode(const Value& errormessage);
    void handleInvalidAccessToken();
    // The verdict on a complete answer.
    RequestOutcome judgedAnswer(bool signatureMatches) const;
    void endWithoutAnswer();

    int m_retryCount = 0;
};
