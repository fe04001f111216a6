#include "AppTest.h"

#include "app/net/ApiClient.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "app/net/HTTPRequestSyncronic.h"
#include "app/net/PlistHTTPRequest.h"
#include "services/AnalyticsTracker.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/NetworkActivityIndicator.h"

#include "support/TestSupport.h"

#include "TestForum.h"

#include <QRegularExpression>
#include <QSet>
#include <QTcpServer>

#include <gtest/gtest.h>

using HTTPRequestAsyncronicTest = AppTest;
using HTTPRequestVariants = AppTest;


namespace {

class Receiver : public virtual Trackable {
public:
    struct Call {
        bool viaSuccess;
        bool success;
        QByteArray data;
        Error error;
    };

    void succeeded(const std::shared_ptr<HTTPRequest>& request) { record(true, *request); }
    void failed(const std::shared_ptr<HTTPRequest>& request) { record(false, *request); }
    void progressed(const std::shared_ptr<HTTPRequest>&, float share) { progress.append(share); }
    void overdue(const std::shared_ptr<HTTPRequest>&) { ++overdues; }

    QList<Call> calls;
    QList<float> progress;
    int overdues = 0;

private:
    void record(bool viaSuccess, const HTTPRequest& request)
    {
        calls.append({viaSuccess, request.success(), request.loadedData(), request.error()});
    }
};

QUrl urlOf(const TestForum& server, const char* path)
{
    return server.url(QString::fromUtf8(path));
}

std::shared_ptr<HTTPRequestAsyncronic> send(Receiver& receiver, const QUrl& url)
{
    auto request = HTTPRequestAsyncronic::create();
    request->setCallbackObject(&receiver);
    request->setSuccessSelector(SELECTOR(Receiver, succeeded));
    request->setFailureSelector(SELECTOR(Receiver, failed));
    request->requestUrl(url);
    return request;
}

// What the application installs: every request's page view goes to the tracker.
void reportPageviewsToTheTracker()
{
    ApiClient::current().setPageviewHandler(
        [](const QString& page, Error* error) { return AnalyticsTracker::sharedTracker().trackPageview(page, error); });
}

}  // namespace

TEST_F(HTTPRequestAsyncronicTest, StatusDecidesTheOutcome)
{
    TestForum server;
    ASSERT_TRUE(server.start());
    Receiver receiver;

    // An error answer in pieces fails once, with the whole body.
    auto missing = send(receiver, urlOf(server, "/missing"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return HTTPRequestAsyncronic::getPendingRequests() == 0; }));
    ASSERT_EQ(receiver.calls.size(), 1);
    EXPECT_FALSE(receiver.calls[0].viaSuccess);
    EXPECT_FALSE(receiver.calls[0].success);
    EXPECT_EQ(receiver.calls[0].data, QByteArray("not found here"));
    EXPECT_EQ(receiver.calls[0].error, Error(QStringLiteral("request"), 404));
    EXPECT_EQ(missing->httpResponse().statusCode(), 404);

    receiver.calls.clear();
    send(receiver, urlOf(server, "/notmodified"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return !receiver.calls.isEmpty(); }));
    EXPECT_TRUE(receiver.calls[0].viaSuccess);
    EXPECT_TRUE(receiver.calls[0].success);
    EXPECT_FALSE(receiver.calls[0].error.isSet());

    // Nobody listens on a port that was just given back.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    receiver.calls.clear();
    send(receiver, QUrl(QStringLiteral("http://127.0.0.1:%1/echo").arg(port)));
    ASSERT_TRUE(TestSupport::waitFor([&] { return !receiver.calls.isEmpty(); }));
    EXPECT_FALSE(receiver.calls[0].viaSuccess);
    EXPECT_FALSE(receiver.calls[0].success);
    TestSupport::processEvents();
    EXPECT_EQ(receiver.calls.size(), 1);
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);
}

TEST_F(HTTPRequestAsyncronicTest, PendingListDrivesTheIndicatorAndCancelIsSilent)
{
    TestForum server;
    ASSERT_TRUE(server.start());
    Receiver receiver;
    QList<bool> shown;
    NetworkActivityIndicator::setObserver([&](bool visible) { shown.append(visible); });

    // The pending list keeps the requests alive: the test holds none of them.
    send(receiver, urlOf(server, "/gate/first"));
    send(receiver, urlOf(server, "/gate/second"));
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 2);
    EXPECT_TRUE(NetworkActivityIndicator::isVisible());

    // Cancelled before anything came back: it leaves the list and, unowned, goes.
    std::weak_ptr<HTTPRequest> early = HTTPRequestPtr(send(receiver, urlOf(server, "/gate/early")));
    early.lock()->cancel();
    EXPECT_TRUE(early.expired());
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 2);

    server.openGate(QStringLiteral("first"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return receiver.calls.size() == 1; }));
    EXPECT_EQ(receiver.calls[0].data, QByteArray("gate first"));
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 1);
    EXPECT_TRUE(NetworkActivityIndicator::isVisible());

    // Cancelled while the server holds its answer, and kept alive here.
    auto late = send(receiver, urlOf(server, "/gate/late"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return server.arrivedAtGate(QStringLiteral("late")) == 1; }));
    late->cancel();
    EXPECT_FALSE(late->isPending());
    server.openGate(QStringLiteral("late"));
    server.openGate(QStringLiteral("early"));

    server.openGate(QStringLiteral("second"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return receiver.calls.size() == 2; }));
    EXPECT_EQ(receiver.calls[1].data, QByteArray("gate second"));
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);
    EXPECT_FALSE(NetworkActivityIndicator::isVisible());

    // One more round gives stray answers of the cancelled requests their chance.
    send(receiver, urlOf(server, "/echo"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return receiver.calls.size() == 3; }));
    TestSupport::processEvents();
    ASSERT_EQ(receiver.calls.size(), 3);
    EXPECT_EQ(receiver.calls[2].data, QByteArray("ok"));
    EXPECT_TRUE(late->loadedData().isEmpty());
    EXPECT_EQ(shown, (QList<bool>{true, false, true, false}));
    NetworkActivityIndicator::setObserver({});
}

TEST_F(HTTPRequestAsyncronicTest, SendsHeadersAndBodies)
{
    TestForum server;
    ASSERT_TRUE(server.start());
    Receiver receiver;
    reportPageviewsToTheTracker();
    Log::clearRecent();

    // Through the factory: parameters make a form POST, none a GET.
    const ValueDict params{{QStringLiteral("q"), Value(u"a b+c&d")}};
    HTTPRequestAsyncronic::requestURL(urlOf(server, "/echo?form"), params, RequestMethod::GET, SELECTOR(Receiver, succeeded),
                                      &receiver);
    HTTPRequestAsyncronic::requestURL(urlOf(server, "/echo?get"), ValueDict(), SELECTOR(Receiver, succeeded),
                                      &receiver);
    auto extra = HTTPRequestAsyncronic::create();
    extra->addHeaders({{QStringLiteral("If-Modified-Since"), Value(u"Sat, 1 Jan 2000 00:00:00 GMT")}});
    extra->requestUrl(urlOf(server, "/echo?extra"));

    auto upload = HTTPRequestAsyncronic::create();
    upload->setCallbackObject(&receiver);
    upload->setSuccessSelector(SELECTOR(Receiver, succeeded));
    upload->setProgressSelector(ProgressSelector("progressed:", &Receiver::progressed));
    upload->setBoundary(QStringLiteral("b0"));
    upload->addFile(QStringLiteral("photo"), QStringLiteral("p.jpg"), "JPG", QStringLiteral("image/jpeg"));
    upload->addParameter(QStringLiteral("posthash"), Value(u"h 1"));
    upload->requestUrl(urlOf(server, "/echo?multipart"));

    ASSERT_TRUE(TestSupport::waitFor([&] { return receiver.calls.size() == 3 && server.requests().size() == 4; }));
    QHash<QByteArray, TestForumRequest> byKind;
    for (const TestForumRequest& received : server.requests())
        byKind.insert(received.rawQuery, received);
    ASSERT_EQ(byKind.size(), 4);

    EXPECT_EQ(byKind["form"].httpMethod, QStringLiteral("POST"));
    EXPECT_EQ(byKind["form"].body, "q=a%20b%2Bc%26d");
    EXPECT_EQ(byKind["form"].header(QStringLiteral("content-type")), QStringLiteral("application/x-www-form-urlencoded"));
    EXPECT_EQ(byKind["get"].httpMethod, QStringLiteral("GET"));
    EXPECT_EQ(byKind["get"].body, "");
    EXPECT_EQ(byKind["extra"].httpMethod, QStringLiteral("GET"));
    EXPECT_EQ(byKind["extra"].header(QStringLiteral("if-modified-since")), QStringLiteral("Sat, 1 Jan 2000 00:00:00 GMT"));

    EXPECT_EQ(byKind["multipart"].httpMethod, QStringLiteral("POST"));
    EXPECT_EQ(byKind["multipart"].header(QStringLiteral("content-type")), QStringLiteral("multipart/form-data; boundary=b0"));
    EXPECT_EQ(byKind["multipart"].body, QByteArray("\r\n--b0\r\n"
                                                   "Content-Disposition: form-data; name=\"photo\"; filename=\"p.jpg\"\r\n"
                                                   "Content-Type: image/jpeg\r\n\r\n"
                                                   "JPG"
                                                   "\r\n--b0\r\n"
                                                   "Content-Disposition: form-data; name=\"posthash\"\r\n\r\n"
                                                   "h 1"
                                                   "\r\n--b0--\r\n"));
    ASSERT_FALSE(receiver.progress.isEmpty());
    EXPECT_EQ(receiver.progress.last(), 1.0f);

    const QRegularExpression uuid(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
    QSet<QString> udids;
    for (const TestForumRequest& received : std::as_const(byKind)) {
        EXPECT_EQ(received.header(QStringLiteral("user-agent")), QStringLiteral("iPhone/1.0")) << received.rawQuery.constData();
        const QString udid = received.header(QStringLiteral("udid"));
        EXPECT_TRUE(uuid.match(udid).hasMatch()) << udid.toStdString();
        udids.insert(udid);
    }
    EXPECT_EQ(udids.size(), 4);

    // The tracker is not started here: it refuses every factory request, and
    // the log says so once, not once a request.
    QStringList analyticsLines;
    for (const QString& line : Log::recent()) {
        if (line.contains(QStringLiteral("Analytics error: ")))
            analyticsLines.append(line);
    }
    ASSERT_EQ(analyticsLines.size(), 1);
    EXPECT_TRUE(analyticsLines.first().endsWith(QStringLiteral("Analytics error: Tracker not started")));
}

TEST_F(HTTPRequestAsyncronicTest, ACallThatMayChangeTheForumOutwaitsTheTimeoutAndAReadDoesNot)
{
    TestForum server;
    ASSERT_TRUE(server.start());
    const qint64 timeoutMs = qint64(HTTPRequest::getDefaultTimeout()) * 1000;
    const qint64 limitMs = qint64(HTTPRequestAsyncronic::PostingLimitSeconds) * 1000;
    ASSERT_GT(limitMs, timeoutMs);
    // A form body to a slow server, as a read (its call named) or as a call
    // that may change the forum (any other).
    const auto post = [&](Receiver& receiver, const char* gate, const QString& apiMethod) {
        auto request = HTTPRequestAsyncronic::create();
        request->setCallbackObject(&receiver);
        request->setSuccessSelector(SELECTOR(Receiver, succeeded));
        request->setFailureSelector(SELECTOR(Receiver, failed));
        request->setOverdueSelector(SELECTOR(Receiver, overdue));
        request->setApiCall(ApiCall{apiMethod, ValueDict()});
        request->addParameter(QStringLiteral("message"), Value(u"Hello"));
        request->requestUrl(server.url(QStringLiteral("/gate/") + QString::fromLatin1(gate)));
        EXPECT_TRUE(TestSupport::waitFor([&] { return server.arrivedAtGate(QString::fromLatin1(gate)) == 1; }));
        EXPECT_TRUE(TestSupport::waitFor([&] { return request->requestLeft(); }));
        return request;
    };

    // The read is given up at the timeout, as ever.
    Receiver reader;
    const auto read = post(reader, "read", QStringLiteral("showthread"));
    EXPECT_FALSE(read->mayChangeForum());
    clock()->advance(timeoutMs);
    ASSERT_EQ(reader.calls.size(), 1);
    EXPECT_FALSE(reader.calls[0].viaSuccess);
    EXPECT_EQ(reader.overdues, 0);

    // The post outwaits it: told once, its connection kept; the slow answer comes.
    Receiver poster;
    const auto slow = post(poster, "slow", QStringLiteral("newreply_postreply"));
    EXPECT_TRUE(slow->mayChangeForum());
    clock()->advance(timeoutMs);
    EXPECT_EQ(poster.overdues, 1);
    EXPECT_TRUE(poster.calls.isEmpty());
    EXPECT_TRUE(slow->isSending());
    EXPECT_TRUE(slow->isOverdue());
    clock()->advance(limitMs - timeoutMs - 1000);
    EXPECT_TRUE(poster.calls.isEmpty());
    EXPECT_EQ(poster.overdues, 1);
    server.openGate(QStringLiteral("slow"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return poster.calls.size() == 1; }));
    EXPECT_TRUE(poster.calls[0].viaSuccess);
    EXPECT_EQ(poster.calls[0].data, QByteArray("gate slow"));

    // A forum that never answers: given up at the post's own limit, with an
    // outcome that says the forum may have carried it out.
    Receiver waiting;
    const auto silent = post(waiting, "silent", QStringLiteral("newreply_postreply"));
    clock()->advance(timeoutMs);
    clock()->advance(limitMs - timeoutMs);
    ASSERT_EQ(waiting.calls.size(), 1);
    EXPECT_FALSE(waiting.calls[0].viaSuccess);
    EXPECT_EQ(waiting.overdues, 1);
    EXPECT_TRUE(silent->outcome().is(RequestOutcome::Kind::NoAnswer));
    EXPECT_TRUE(silent->outcome().isInconclusive());

    // A call that may change the forum but whose caller could not tell the
    // member that its fate is open (a moderation, the sign-in) is not kept
    // waiting in silence: it ends at the timeout, its outcome still open.
    Receiver moderator;
    auto unwatched = HTTPRequestAsyncronic::create();
    unwatched->setCallbackObject(&moderator);
    unwatched->setFailureSelector(SELECTOR(Receiver, failed));
    unwatched->setApiCall(ApiCall{QStringLiteral("inlinemod_close"), ValueDict()});
    unwatched->addParameter(QStringLiteral("threadids"), Value(u"1101"));
    unwatched->requestUrl(server.url(QStringLiteral("/gate/unwatched")));
    ASSERT_TRUE(TestSupport::waitFor([&] { return unwatched->requestLeft(); }));
    EXPECT_TRUE(unwatched->mayChangeForum());
    clock()->advance(timeoutMs);
    ASSERT_EQ(moderator.calls.size(), 1);
    EXPECT_FALSE(moderator.calls[0].viaSuccess);
    EXPECT_TRUE(unwatched->outcome().isInconclusive());

    // One that never left (nobody listens): nothing can have been carried out.
    server.stop();
    Receiver unheard;
    auto lost = HTTPRequestAsyncronic::create();
    lost->setCallbackObject(&unheard);
    lost->setFailureSelector(SELECTOR(Receiver, failed));
    lost->addParameter(QStringLiteral("message"), Value(u"Hello"));
    lost->requestUrl(server.url(QStringLiteral("/echo")));
    ASSERT_TRUE(TestSupport::waitFor([&] { return unheard.calls.size() == 1; }));
    EXPECT_TRUE(lost->outcome().neverLeft());
    EXPECT_FALSE(lost->outcome().isInconclusive());
    EXPECT_EQ(lost->outcome().failureText(), tableText(QStringLiteral("nointernet")));
}

TEST_F(HTTPRequestAsyncronicTest, FactoryFillsTheRequest)
{
    TestForum server;
    ASSERT_TRUE(server.start());
    Receiver receiver;
    reportPageviewsToTheTracker();
    AnalyticsTracker& tracker = AnalyticsTracker::sharedTracker();
    tracker.startTrackerWithAccountID(QStringLiteral("UA-1"), 10, nullptr);

    const ApiCall api{QStringLiteral("forumdisplay"), {}};
    const HTTPRequestPtr request = HTTPRequestAsyncronic::requestURL(
        urlOf(server, "/forum/api.php?api_m=forumdisplay"), ValueDict(), RequestMethod::POST, SELECTOR(Receiver, succeeded), &receiver,
        RequestTag::Logout, api);
    EXPECT_EQ(request->filename(), QStringLiteral("api.php?api_m=forumdisplay"));
    EXPECT_EQ(request->method(), RequestMethod::POST);
    EXPECT_EQ(request->requestTag(), RequestTag::Logout);
    EXPECT_EQ(request->apiCall().method, QStringLiteral("forumdisplay"));
    EXPECT_EQ(tracker.queuedPageviews(), QStringList{QStringLiteral("/forum/api.php?api_m=forumdisplay")});
    tracker.stopTracker();

    ASSERT_TRUE(TestSupport::waitFor([&] { return receiver.calls.size() == 1; }));
}

TEST_F(HTTPRequestVariants, PlistDecodesAndSyncronicWantsExactly200)
{
    TestForum server;
    ASSERT_TRUE(server.start());
    Receiver receiver;

    const HTTPRequestPtr plist =
        PlistHTTPRequest::requestURL(urlOf(server, "/plist"), SELECTOR(Receiver, succeeded), &receiver);
    ASSERT_TRUE(TestSupport::waitFor([&] { return receiver.calls.size() == 1; }));
    EXPECT_EQ(plist->response()[u"name"], Value(u"forum"));

    const HTTPRequestPtr broken =
        PlistHTTPRequest::requestURL(urlOf(server, "/broken"), SELECTOR(Receiver, succeeded), &receiver);
    ASSERT_TRUE(TestSupport::waitFor([&] { return receiver.calls.size() == 2; }));
    EXPECT_TRUE(broken->response().isAbsent());
    EXPECT_EQ(receiver.calls[1].data, QByteArray("broken"));
    EXPECT_EQ(receiver.calls[1].error, Error(QStringLiteral("request"), 500));

    receiver.calls.clear();
    for (const char* path : {"/echo", "/notmodified"}) {
        auto request = HTTPRequestSyncronic::create();
        request->setCallbackObject(&receiver);
        request->setSuccessSelector(SELECTOR(Receiver, succeeded));
        request->setFailureSelector(SELECTOR(Receiver, failed));
        request->requestUrl(urlOf(server, path));
    }
    ASSERT_EQ(receiver.calls.size(), 2);
    EXPECT_TRUE(receiver.calls[0].viaSuccess);
    EXPECT_EQ(receiver.calls[0].data, QByteArray("ok"));
    EXPECT_FALSE(receiver.calls[1].viaSuccess);
}
