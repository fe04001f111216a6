#include "AppTest.h"

#include "support/RequestRecorder.h"
#include "support/SessionDouble.h"

#include "app/net/ApiAddress.h"
#include "app/net/JSONHTTPRequest.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/NetworkActivityIndicator.h"

#include <QJsonArray>
#include <QSet>

namespace {

// The client against the loopback forum, signed in on a client the forum knows.
class JSONHTTPRequestEndToEnd : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        forum().registerClient(QStringLiteral("7"), QStringLiteral("sec"), QStringLiteral("tok1"));
        session.setCredentials(QStringLiteral("tok1"), QStringLiteral("7"), QStringLiteral("sec"));
        session.renewWith(&forum());
        // An unknown method that echoes what it was asked.
        for (const char* method : {"showthread", "newreply"}) {
            forum().setMethodHandler(QString::fromLatin1(method), [](const TestForumRequest& request, int) {
                return QJsonObject{{QStringLiteral("response"),
                                    QJsonObject{{QStringLiteral("threadid"), request.field(QStringLiteral("threadid"))},
                                                {QStringLiteral("message"), request.field(QStringLiteral("message"))}}}};
            });
        }
    }

    // Through the factory, as a model sends: GET with the query in the address,
    // or POST with the parameters in the body.
    HTTPRequestPtr send(const QString& method, const ValueDict& query, const ValueDict& body = {},
                        RequestTag tag = RequestTag::Ordinary)
    {
        return sendTo(ApiAddress::URLWithString(method, query), method, query, body, tag);
    }
    HTTPRequestPtr sendTo(const QUrl& url, const QString& method, const ValueDict& query, const ValueDict& body,
                          RequestTag tag)
    {
        HTTPRequestPtr request = JSONHTTPRequest::requestURL(url, body, body.isEmpty() ? RequestMethod::GET : RequestMethod::POST,
                                                             SELECTOR(RequestRecorder, succeeded), &recorder, tag,
                                                             ApiCall{method, query});
        request->setFailureSelector(SELECTOR(RequestRecorder, failed));
        return request;
    }

    bool settleAfter(int calls)
    {
        return waitFor([&] { return recorder.calls.size() >= calls; }) && settle();
    }

    SessionDouble session;
    RequestRecorder recorder;
};

ValueDict thread(int id)
{
    return {{QStringLiteral("threadid"), Value(id)}};
}

}  // namespace

TEST_F(JSONHTTPRequestEndToEnd, SignedCallsAndSignedAnswers)
{
    send(QStringLiteral("showthread"), thread(5));
    send(QStringLiteral("newreply"), {}, {{QStringLiteral("message"), Value(QStringLiteral("Hi & bye + more"))}});
    ASSERT_TRUE(settleAfter(2));

    const TestForumRequest get = forum().requests(QStringLiteral("showthread")).value(0);
    EXPECT_EQ(get.httpMethod, u"GET");
    EXPECT_TRUE(get.signatureValid);
    const TestForumRequest post = forum().requests(QStringLiteral("newreply")).value(0);
    EXPECT_EQ(post.httpMethod, u"POST");
    EXPECT_TRUE(post.signatureValid);
    EXPECT_EQ(post.field(QStringLiteral("message")), u"Hi & bye + more");
    for (const RequestRecorder::Call& call : recorder.calls) {
        EXPECT_TRUE(call.viaSuccess);
        EXPECT_TRUE(call.success);
        EXPECT_FALSE(call.incorrectSignature);
    }

    forum().signWrongly(QStringLiteral("showthread"));
    send(QStringLiteral("showthread"), thread(6));
    ASSERT_TRUE(settleAfter(3));
    EXPECT_TRUE(recorder.calls[2].viaSuccess);
    EXPECT_FALSE(recorder.calls[2].success);
    EXPECT_TRUE(recorder.calls[2].incorrectSignature);
    EXPECT_EQ(recorder.calls[2].response[u"response"][u"threadid"].string(), u"6");
}

TEST_F(JSONHTTPRequestEndToEnd, AnExpiredTokenIsRenewedOnceForEveryRequestInFlight)
{
    forum().expireToken();
    forum().setDelay(200);
    for (int id : {1, 2, 3})
        send(QStringLiteral("showthread"), thread(id));
    ASSERT_TRUE(settleAfter(3));

    EXPECT_EQ(session.renewals(), 1);
    const QList<TestForumRequest> log = forum().requests();
    const QList<TestForumRequest> inits = forum().requests(QStringLiteral("api_init"));
    ASSERT_EQ(inits.size(), 1);
    const qsizetype initAt = std::find_if(log.begin(), log.end(), [](const TestForumRequest& r) {
                                 return r.apiMethod == u"api_init";
                             }) - log.begin();
    const QList<TestForumRequest> threads = forum().requests(QStringLiteral("showthread"));
    ASSERT_EQ(threads.size(), 6);
    QStringList resent;
    for (qsizetype i = initAt + 1; i < log.size(); ++i) {
        if (log[i].apiMethod != u"showthread")
            continue;
        EXPECT_EQ(log[i].token, session.apiaccesstoken());
        EXPECT_TRUE(log[i].signatureValid);
        resent.append(log[i].field(QStringLiteral("threadid")));
    }
    resent.sort();
    EXPECT_EQ(resent, (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    for (const RequestRecorder::Call& call : recorder.calls) {
        EXPECT_TRUE(call.success);
        EXPECT_EQ(call.response[u"response"][u"threadid"].toString(),
                  call.request->apiCall().query.value(QStringLiteral("threadid")).toString());
    }
}

TEST_F(JSONHTTPRequestEndToEnd, AFailedRenewalFailsEveryWaitingRequest)
{
    forum().expireToken();
    forum().answerHttpStatus(QStringLiteral("api_init"), 500, QByteArrayLiteral("{}"));
    forum().setDelay(100);
    send(QStringLiteral("showthread"), thread(1));
    send(QStringLiteral("newreply"), {}, {{QStringLiteral("message"), Value(QStringLiteral("x"))}});
    ASSERT_TRUE(settleAfter(2));
    EXPECT_EQ(recorder.failures(), 2);
    EXPECT_EQ(forum().requests(QStringLiteral("api_init")).size(), 1);
    EXPECT_EQ(forum().requests(QStringLiteral("showthread")).size(), 1);
    EXPECT_FALSE(JSONHTTPRequest::waitingForAccessToken());
    EXPECT_FALSE(NetworkActivityIndicator::isVisible());
}

TEST_F(JSONHTTPRequestEndToEnd, ALogoutDuringTheRenewalFailsTheWaitingAndGoesOut)
{
    const QUrl logoutUrl = ApiAddress::URLWithString(QStringLiteral("login_logout"));
    session.setHoldRenewal(true);
    forum().expireToken();
    send(QStringLiteral("showthread"), thread(1));
    ASSERT_TRUE(waitFor([&] { return session.isRenewing(); }));
    send(QStringLiteral("showthread"), thread(2));

    const HTTPRequestPtr logout = sendTo(logoutUrl, QStringLiteral("login_logout"), {}, {}, RequestTag::Logout);
    EXPECT_EQ(recorder.failures(), 2);
    ASSERT_TRUE(settleAfter(3));
    EXPECT_EQ(forum().requests(QStringLiteral("login_logout")).size(), 1);
    EXPECT_EQ(recorder.callsFor(logout.get()).size(), 1);

    // The renewal ends late: nothing is waiting for it any more.
    session.continueRenewal();
    ASSERT_TRUE(waitFor([&] { return !session.isRenewing(); }));
    TestSupport::processEvents();
    EXPECT_EQ(forum().requests(QStringLiteral("showthread")).size(), 1);
    EXPECT_EQ(recorder.calls.size(), 3);
}

TEST_F(JSONHTTPRequestEndToEnd, ClosedForumAndServerMessages)
{
    forum().closeForum(QStringLiteral("Back at noon"));
    send(QStringLiteral("showthread"), thread(1));
    send(QStringLiteral("showthread"), thread(2));
    ASSERT_TRUE(settleAfter(0));
    ASSERT_TRUE(waitFor([&] { return forum().requests(QStringLiteral("showthread")).size() == 2; }));
    EXPECT_TRUE(recorder.calls.isEmpty());
    EXPECT_FALSE(NetworkActivityIndicator::isVisible());
    EXPECT_EQ(alertMessages(), QStringList{QStringLiteral("Back at noon")});
    dismissAlerts();
    forum().openForum();

    forum().answerError(QStringLiteral("showthread"), QJsonArray{QStringLiteral("nopermission"), QStringLiteral("Members only")}, 2);
    send(QStringLiteral("showthread"), thread(3));
    send(QStringLiteral("showthread"), thread(4));
    ASSERT_TRUE(settleAfter(2));
    EXPECT_EQ(recorder.successes(), 2);
    ASSERT_EQ(shownAlerts().size(), 2);
    const std::shared_ptr<AlertView> message = shownAlerts()[1];
    EXPECT_TRUE(message->title().isEmpty());
    EXPECT_EQ(message->message(), u"Members only");
    EXPECT_EQ(message->buttonTitles(), QStringList{Bundle::main().localizedString(QStringLiteral("ok"))});
    message->dismissWithClickedButtonIndex(0);

    forum().answerError(QStringLiteral("showthread"), QJsonArray{QStringLiteral("redirect_login"), QStringLiteral("Hello")});
    send(QStringLiteral("showthread"), thread(5));
    ASSERT_TRUE(settleAfter(3));
    EXPECT_EQ(shownAlerts().size(), 2);
}

TEST_F(JSONHTTPRequestEndToEnd, AForumThatRefusesFreshTokensGetsThreeResends)
{
    forum().answerError(QStringLiteral("showthread"), QStringLiteral("invalid_accesstoken"), -1);
    send(QStringLiteral("showthread"), thread(1));
    ASSERT_TRUE(settleAfter(1));
    EXPECT_FALSE(recorder.calls[0].viaSuccess);
    EXPECT_FALSE(recorder.calls[0].success);
    const QList<TestForumRequest> sends = forum().requests(QStringLiteral("showthread"));
    ASSERT_EQ(sends.size(), 4);
    // Every re-send went out with the token of a renewal of its own.
    QSet<QString> tokens;
    for (const TestForumRequest& request : sends) {
        EXPECT_TRUE(request.signatureValid);
        tokens.insert(request.token);
    }
    EXPECT_EQ(tokens.size(), 4);
    EXPECT_FALSE(JSONHTTPRequest::waitingForAccessToken());
}

TEST_F(JSONHTTPRequestEndToEnd, ALineThatBreaksInTheBodyIsNoAnswer)
{
    // The head came (status 200), the body never did: no connection, like a
    // line that breaks before any answer.
    auto model = std::make_shared<Model>();
    RecordingObserver observer;
    model->addObserver(&observer);
    forum().dropConnection(QStringLiteral("showthread"));
    model->requestURL(QStringLiteral("showthread"), thread(1));
    ASSERT_TRUE(waitFor([&] { return observer.heardAnything(); }));
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("nointernet"))});
    EXPECT_EQ(lastRequest(QStringLiteral("showthread")).field(QStringLiteral("threadid")), u"1");
}
