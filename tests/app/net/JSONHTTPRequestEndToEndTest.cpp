#include "AppTest.h"

#include "support/RequestRecorder.h"

#include "app/net/ApiAddress.h"
#include "app/net/JSONHTTPRequest.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/NetworkActivityIndicator.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

namespace {

// The client against the loopback forum, with a guest session open.
class JSONHTTPRequestEndToEnd : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        user = openGuestSession();
        forum().clearLog();
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

    CurrentUserPtr user;
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

TEST_F(JSONHTTPRequestEndToEnd, ASignOutDuringTheRenewalFailsTheWaitingAndGoesOut)
{
    forum().expireToken();
    forum().delayMethod(QStringLiteral("api_init"), 300);
    send(QStringLiteral("showthread"), thread(1));
    ASSERT_TRUE(waitFor([&] { return user->isRenewing(); }));
    send(QStringLiteral("showthread"), thread(2));

    // The token is gone while it is renewed: there is nothing to sign out
    // of, but the waiting requests fail at once.
    user->logout();
    EXPECT_EQ(recorder.failures(), 2);
    EXPECT_FALSE(JSONHTTPRequest::waitingForAccessToken());
    // The renewal's session opening ends late: nothing waits for it any more.
    ASSERT_TRUE(settle());
    EXPECT_TRUE(forum().requests(QStringLiteral("login_logout")).isEmpty());
    EXPECT_EQ(forum().requests(QStringLiteral("showthread")).size(), 1);
    EXPECT_EQ(recorder.calls.size(), 2);
    EXPECT_FALSE(user->isRenewing());
    EXPECT_TRUE(user->anonymous());
}

TEST_F(JSONHTTPRequestEndToEnd, ClosedForumAndServerMessages)
{
    forum().closeForum(QStringLiteral("Back at noon"));
    send(QStringLiteral("showthread"), thread(1));
    send(QStringLiteral("showthread"), thread(2));
    // Each caller hears its one verdict, after the one alert.
    ASSERT_TRUE(settleAfter(2));
    ASSERT_EQ(recorder.calls.size(), 2);
    for (const RequestRecorder::Call& call : recorder.calls) {
        EXPECT_FALSE(call.viaSuccess);
        EXPECT_TRUE(call.request->outcome().is(RequestOutcome::Kind::ForumClosed));
    }
    EXPECT_FALSE(NetworkActivityIndicator::isVisible());
    EXPECT_EQ(alertMessages(), QStringList{QStringLiteral("Back at noon")});
    dismissAlerts();
    forum().openForum();

    forum().answerError(QStringLiteral("showthread"), QJsonArray{QStringLiteral("nopermission"), QStringLiteral("Members only")}, 2);
    send(QStringLiteral("showthread"), thread(3));
    send(QStringLiteral("showthread"), thread(4));
    ASSERT_TRUE(settleAfter(4));
    EXPECT_EQ(recorder.successes(), 2);
    ASSERT_EQ(shownAlerts().size(), 2);
    const std::shared_ptr<AlertView> message = shownAlerts()[1];
    EXPECT_TRUE(message->title().isEmpty());
    EXPECT_EQ(message->message(), u"Members only");
    EXPECT_EQ(message->buttonTitles(), QStringList{Bundle::main().localizedString(QStringLiteral("ok"))});
    message->dismissWithClickedButtonIndex(0);

    forum().answerError(QStringLiteral("showthread"), QJsonArray{QStringLiteral("redirect_login"), QStringLiteral("Hello")});
    send(QStringLiteral("showthread"), thread(5));
    ASSERT_TRUE(settleAfter(5));
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
    // A renewal for each answer, the last one's too.
    EXPECT_EQ(forum().requests(QStringLiteral("api_init")).size(), 4);
    EXPECT_FALSE(JSONHTTPRequest::waitingForAccessToken());
}

TEST_F(JSONHTTPRequestEndToEnd, ALineThatBreaksInTheBodyIsNoAnswer)
{
    // The head came (status 200), the body never did: the forum was reached,
    // so the user reads that its answer could not be used, not that the
    // connection is missing.
    auto model = std::make_shared<Model>();
    RecordingObserver observer;
    model->addObserver(&observer);
    forum().dropConnection(QStringLiteral("showthread"));
    model->requestURL(QStringLiteral("showthread"), thread(1));
    ASSERT_TRUE(waitFor([&] { return observer.heardAnything(); }));
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("unexpected_server_response"))});
    ASSERT_EQ(observer.errors.size(), 1);
    EXPECT_EQ(observer.errors.first().kind(), Error::Kind::BadAnswer);
    EXPECT_TRUE(observer.errors.first().forumCode().isNull());
    EXPECT_EQ(lastRequest(QStringLiteral("showthread")).field(QStringLiteral("threadid")), u"1");
}

TEST_F(JSONHTTPRequestEndToEnd, TheVerdictGivesTheForumsCodeBesideTheTextTheUserReads)
{
    // A refusal the table knows: its text for the user, its code and kind for
    // whoever decides what to do about it.
    auto model = std::make_shared<Model>();
    RecordingObserver observer;
    model->addObserver(&observer);
    forum().answerError(QStringLiteral("showthread"), QStringLiteral("threadclosed"));
    model->requestURL(QStringLiteral("showthread"), thread(1));
    ASSERT_TRUE(waitFor([&] { return observer.heardAnything(); }));
    ASSERT_EQ(observer.errors.size(), 1);
    EXPECT_EQ(observer.errors.first().domain(), tableText(QStringLiteral("threadclosed")));
    EXPECT_EQ(observer.errors.first().kind(), Error::Kind::Refused);
    EXPECT_TRUE(observer.errors.first().isCode(QStringLiteral("threadclosed")));
    EXPECT_FALSE(observer.errors.first().isCode(QStringLiteral("searchnoresults")));

    // A success code refuses nothing, and the verdict still names it.
    forum().answerError(QStringLiteral("showthread"), QJsonArray{QStringLiteral("redirect_login"), QStringLiteral("Hello")});
    send(QStringLiteral("showthread"), thread(2));
    ASSERT_TRUE(settleAfter(1));
    const RequestOutcome& outcome = recorder.calls.first().request->outcome();
    EXPECT_TRUE(outcome.is(RequestOutcome::Kind::Ok));
    EXPECT_EQ(outcome.answerCode(), u"redirect_login");
    EXPECT_FALSE(outcome.failure().isSet());
    // The whole "errormessage" is kept for handlers that read past the code.
    EXPECT_EQ(outcome.errorMessage(), Value(ValueList{Value(QStringLiteral("redirect_login")), Value(QStringLiteral("Hello"))}));
    EXPECT_TRUE(outcome.errorListCodes().empty());

    // A preview's error list: every code in order, the first judged.
    const auto previewCode = [](const QString& code) { return QJsonObject{{QStringLiteral("errormessage"), code}}; };
    forum().setAnswer(QStringLiteral("showthread"),
                      QJsonObject{{QStringLiteral("response"),
                                   QJsonObject{{QStringLiteral("postpreview"),
                                                QJsonObject{{QStringLiteral("errorlist"),
                                                             QJsonArray{previewCode(QStringLiteral("zz_unknown")),
                                                                        previewCode(QStringLiteral("tooshort"))}}}}}}},
                      1);
    send(QStringLiteral("showthread"), thread(3));
    ASSERT_TRUE(settleAfter(2));
    const RequestOutcome& listed = recorder.calls.at(1).request->outcome();
    EXPECT_TRUE(listed.is(RequestOutcome::Kind::ForumRefused));
    EXPECT_EQ(listed.code(), Value(QStringLiteral("zz_unknown")));
    EXPECT_EQ(listed.errorListCodes(),
              (ValueList{Value(QStringLiteral("zz_unknown")), Value(QStringLiteral("tooshort"))}));
    EXPECT_TRUE(listed.errorMessage().isAbsent());
}
