#include "AppTest.h"

#include "support/FakeReplyRequest.h"
#include "support/RequestRecorder.h"
#include "support/SessionDouble.h"

#include "app/net/ApiAddress.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"

#include <QUrlQuery>

namespace {

const QByteArray kOkBody = QByteArrayLiteral(R"({"response":{"ok":1}})");
// MD5 of kOkBody, "tok1", "7", "sec" and the API key, worked out with md5sum.
const QString kOkSignature = QStringLiteral("9369dd45b6e8154662597b946a6f6242");

QByteArray errorBody(const QByteArray& errormessage)
{
    return QByteArrayLiteral(R"({"response":{"errormessage":)") + errormessage + "}}";
}

class JSONHTTPRequestTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // The double stands in for the user of the test's context.
        SessionCredentials::setCurrent(&session);
        SessionRenewal::setCurrent(&session);
        Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(QStringLiteral("http://forum.test")));
        session.setCredentials(QStringLiteral("tok1"), QStringLiteral("7"), QStringLiteral("sec"));
    }

    std::shared_ptr<FakeReplyRequest> send(const QString& method, const ValueDict& query = {},
                                           RequestTag tag = RequestTag::Ordinary, bool withApiCall = true)
    {
        auto request = FakeReplyRequest::create();
        request->setCallbackObject(&recorder);
        request->setSuccessSelector(SELECTOR(RequestRecorder, succeeded));
        request->setFailureSelector(SELECTOR(RequestRecorder, failed));
        request->setRequestTag(tag);
        if (withApiCall)
            request->setApiCall(ApiCall{method, query});
        request->requestUrl(ApiAddress::URLWithString(method, query));
        return request;
    }

    // A 200 answer signed for the session as it is now.
    void answer(FakeReplyRequest& request, const QByteArray& body)
    {
        request.deliver(200, body, forumSignature(body, session.apiaccesstoken(), session.apiclientid(),
                                                  session.secret()));
    }

    SessionDouble session;
    RequestRecorder recorder;
};

QString queryValue(const QUrl& url, const char* key)
{
    return QUrlQuery(url).queryItemValue(QString::fromLatin1(key));
}

}  // namespace

TEST_F(JSONHTTPRequestTest, ChecksTheSignatureAndDecodesTheAnswer)
{
    auto good = send(QStringLiteral("forum"));
    good->deliver(200, kOkBody, kOkSignature, "authorization");
    ASSERT_EQ(recorder.calls.size(), 1);
    EXPECT_TRUE(recorder.calls[0].viaSuccess);
    EXPECT_TRUE(recorder.calls[0].success);
    EXPECT_EQ(recorder.calls[0].response[u"response"][u"ok"].toInt(), 1);

    // A wrong or missing signature still reaches the success selector, marked.
    for (const QString& header : {QStringLiteral("0123456789abcdef0123456789abcdef"), QString()}) {
        auto bad = send(QStringLiteral("forum"));
        bad->deliver(200, kOkBody, header);
        const RequestRecorder::Call call = recorder.calls.last();
        EXPECT_TRUE(call.viaSuccess);
        EXPECT_FALSE(call.success);
        EXPECT_TRUE(call.incorrectSignature);
        EXPECT_EQ(call.response[u"response"][u"ok"].toInt(), 1);
    }

    // Bytes that are no UTF-8 text decode to nothing and cannot be signed.
    const QByteArray broken = QByteArrayLiteral("{\"a\":\"\xff\"}");
    auto notText = send(QStringLiteral("forum"));
    answer(*notText, broken);
    EXPECT_TRUE(recorder.calls.last().incorrectSignature);
    EXPECT_TRUE(recorder.calls.last().response.isAbsent());
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);
}

TEST_F(JSONHTTPRequestTest, AnErrorStatusFailsWithTheBodyAndNothingElse)
{
    auto expired = send(QStringLiteral("forum"));
    expired->deliver(500, errorBody(R"("invalid_accesstoken")"), QString());
    auto message = send(QStringLiteral("forum"));
    message->deliver(403, errorBody(R"(["nopermission","Members only"])"), QString());

    ASSERT_EQ(recorder.calls.size(), 2);
    EXPECT_FALSE(recorder.calls[0].viaSuccess);
    EXPECT_EQ(recorder.calls[0].response[u"response"][u"errormessage"].string(), u"invalid_accesstoken");
    EXPECT_FALSE(recorder.calls[1].viaSuccess);
    EXPECT_EQ(session.renewals(), 0);
    EXPECT_FALSE(JSONHTTPRequest::waitingForAccessToken());
    EXPECT_TRUE(shownAlerts().isEmpty());

    // Only a closed forum is still announced.
    auto closed = send(QStringLiteral("forum"));
    closed->deliver(503, errorBody(R"(["bbclosed","Down for a while"])"), QString());
    EXPECT_FALSE(recorder.calls.last().viaSuccess);
    EXPECT_EQ(alertMessages(), QStringList{QStringLiteral("Down for a while")});
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);
}

TEST_F(JSONHTTPRequestTest, RequestsWaitForTheRenewalAndGoOutWithTheirOwnCall)
{
    auto thread = send(QStringLiteral("showthread"), {{QStringLiteral("threadid"), Value(5)}});
    auto forum = send(QStringLiteral("forumdisplay"), {{QStringLiteral("forumid"), Value(QStringLiteral("3"))}});
    answer(*thread, errorBody(R"("invalid_accesstoken")"));
    answer(*forum, errorBody(R"(["invalid_sessionhash"])"));
    EXPECT_EQ(session.renewals(), 1);
    EXPECT_TRUE(JSONHTTPRequest::waitingForAccessToken());

    // Made while the token is gone: addressed as the session opening, held back.
    auto later = send(QStringLiteral("forum"));
    EXPECT_TRUE(later->sent.isEmpty());
    EXPECT_TRUE(later->isPending());
    auto renewalOwn = send(QStringLiteral("api_init"), {}, RequestTag::Renewal);
    EXPECT_EQ(renewalOwn->sent.size(), 1);
    const QList<std::shared_ptr<JSONHTTPRequest>> expectedQueue{thread, forum, later};
    EXPECT_EQ(JSONHTTPRequest::waitingForAccessTokenRequests(), expectedQueue);

    session.succeed(QStringLiteral("tok2"));
    EXPECT_FALSE(JSONHTTPRequest::waitingForAccessToken());
    EXPECT_TRUE(JSONHTTPRequest::waitingForAccessTokenRequests().isEmpty());
    // Signatures worked out with md5sum over "api_m=...&<param>tok27secQw7rTz2k".
    ASSERT_EQ(thread->sent.size(), 2);
    EXPECT_EQ(thread->sent[1].toString(QUrl::FullyEncoded),
              u"http://forum.test/api.php?api_c=7&api_v=6&api_m=showthread&api_s=tok2&threadid=5"
              u"&api_sig=a1261910267232d003a1c4800c2ca797");
    ASSERT_EQ(forum->sent.size(), 2);
    EXPECT_EQ(forum->sent[1].toString(QUrl::FullyEncoded),
              u"http://forum.test/api.php?api_c=7&api_v=6&api_m=forumdisplay&api_s=tok2&forumid=3"
              u"&api_sig=9563c46a2891f5b06b2ba48e46f91629");
    ASSERT_EQ(later->sent.size(), 1);
    EXPECT_EQ(queryValue(later->sent[0], "api_m"), u"forum");
    EXPECT_EQ(queryValue(later->sent[0], "api_s"), u"tok2");
    EXPECT_TRUE(recorder.calls.isEmpty());

    answer(*thread, kOkBody);
    ASSERT_EQ(recorder.calls.size(), 1);
    EXPECT_TRUE(recorder.calls[0].success);
}

TEST_F(JSONHTTPRequestTest, EveryRenewalEndsForTheWaitingRequests)
{
    // Failure: every waiting request fails, in queue order, unless a callback
    // before its turn has cancelled it.
    auto first = send(QStringLiteral("forum"));
    auto second = send(QStringLiteral("forum"));
    auto third = send(QStringLiteral("forum"));
    answer(*first, errorBody(R"("invalid_accesstoken")"));
    auto queued = send(QStringLiteral("forum"));
    answer(*second, errorBody(R"("invalid_accesstoken")"));
    answer(*third, errorBody(R"("invalid_accesstoken")"));
    recorder.onCall = [&](const HTTPRequestPtr& request) {
        if (request == queued)
            second->cancel();
    };
    session.fail();
    recorder.onCall = nullptr;
    ASSERT_EQ(recorder.calls.size(), 3);
    EXPECT_EQ(recorder.calls[0].request, first);
    EXPECT_EQ(recorder.calls[1].request, queued);
    EXPECT_EQ(recorder.calls[2].request, third);
    EXPECT_EQ(recorder.failures(), 3);
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);

    // A logout overtakes a renewal; the session's late report changes nothing.
    recorder.calls.clear();
    session.setCredentials(QStringLiteral("tok1"), QStringLiteral("7"), QStringLiteral("sec"));
    auto starter = send(QStringLiteral("forum"));
    answer(*starter, errorBody(R"("invalid_accesstoken")"));
    auto waiting = send(QStringLiteral("forum"));
    auto cancelled = send(QStringLiteral("forum"));
    cancelled->cancel();
    auto logout = send(QStringLiteral("login_logout"), {}, RequestTag::Logout);
    EXPECT_EQ(logout->sent.size(), 1);
    EXPECT_FALSE(JSONHTTPRequest::waitingForAccessToken());
    EXPECT_EQ(recorder.failures(), 2);
    session.succeed(QStringLiteral("tok2"));
    starter->processWaitingForAccessTokenRequests();
    EXPECT_EQ(starter->sent.size(), 1);
    EXPECT_TRUE(waiting->sent.isEmpty());
    EXPECT_TRUE(cancelled->sent.isEmpty());
    EXPECT_EQ(recorder.calls.size(), 2);
    EXPECT_TRUE(recorder.callsFor(cancelled.get()).isEmpty());

    // A report that comes twice, or from an earlier renewal, leaves the running one alone.
    recorder.calls.clear();
    auto again = send(QStringLiteral("forum"));
    answer(*again, errorBody(R"("invalid_accesstoken")"));
    session.succeed(QStringLiteral("tok3"));
    again->processWaitingForAccessTokenRequests();
    again->cancelWaitingForAccessTokenRequests();
    EXPECT_EQ(again->sent.size(), 2);
    auto next = send(QStringLiteral("forum"));
    answer(*next, errorBody(R"("invalid_accesstoken")"));
    again->cancelWaitingForAccessTokenRequests();
    EXPECT_TRUE(JSONHTTPRequest::waitingForAccessToken());
    EXPECT_TRUE(recorder.calls.isEmpty());
    session.succeed(QStringLiteral("tok4"));
    EXPECT_EQ(next->sent.size(), 2);
}

TEST_F(JSONHTTPRequestTest, AnAnswerToAnOlderTokenIsResentWithoutRenewal)
{
    // Sent with an older token than the session holds: sent again at once.
    auto stale = send(QStringLiteral("forum"));
    session.setCredentials(QStringLiteral("tok2"), QStringLiteral("7"), QStringLiteral("sec"));
    answer(*stale, errorBody(R"("invalid_sessionhash")"));
    EXPECT_EQ(session.renewals(), 0);
    ASSERT_EQ(stale->sent.size(), 2);
    EXPECT_EQ(queryValue(stale->sent[1], "api_s"), u"tok2");
}

TEST_F(JSONHTTPRequestTest, ARequestWithoutItsCallIsReaddressedFromItsAddressOnly)
{
    // Addressed with a session: re-signed from the address.
    auto signedOnly = send(QStringLiteral("showthread"), {{QStringLiteral("threadid"), Value(5)}},
                           RequestTag::Ordinary, false);
    answer(*signedOnly, errorBody(R"("invalid_accesstoken")"));
    // Addressed while no session existed: it names no call, so it fails.
    auto sessionless = send(QStringLiteral("forum"), {}, RequestTag::Ordinary, false);
    session.succeed(QStringLiteral("tok2"));

    ASSERT_EQ(signedOnly->sent.size(), 2);
    EXPECT_EQ(signedOnly->sent[1].toString(QUrl::FullyEncoded),
              u"http://forum.test/api.php?api_c=7&api_v=6&api_m=showthread&api_s=tok2&api_m=showthread"
              u"&threadid=5&api_sig=a1261910267232d003a1c4800c2ca797");
    EXPECT_TRUE(sessionless->sent.isEmpty());
    ASSERT_EQ(recorder.callsFor(sessionless.get()).size(), 1);
    EXPECT_FALSE(recorder.callsFor(sessionless.get())[0].viaSuccess);

    // Neither the token nor the signature of an address reaches the log.
    session.setCredentials(QStringLiteral("tok3"), QStringLiteral("7"), QStringLiteral("sec"));
    auto noSessionLeft = send(QStringLiteral("forum"));
    session.setCredentials(QString(), QStringLiteral("7"), QStringLiteral("sec"));
    noSessionLeft->retryRequest();
    EXPECT_FALSE(recorder.calls.last().viaSuccess);
    EXPECT_TRUE(logged(QStringLiteral("No session to send the request again")));
    EXPECT_FALSE(Log::recent().join(u'\n').contains(QStringLiteral("tok3")));
    EXPECT_TRUE(logged(QStringLiteral("api_s=(hidden)")));
    EXPECT_TRUE(logged(QStringLiteral("api_sig=(hidden)")));

    // Nobody to renew the token: the request fails instead of waiting forever.
    SessionRenewal::setCurrent(nullptr);
    auto orphan = send(QStringLiteral("forum"));
    answer(*orphan, errorBody(R"("invalid_accesstoken")"));
    EXPECT_FALSE(JSONHTTPRequest::waitingForAccessToken());
    EXPECT_FALSE(recorder.calls.last().viaSuccess);
}
