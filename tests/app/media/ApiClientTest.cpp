#include "AppTest.h"

#include "app/media/ImageCache.h"
#include "app/net/ApiClient.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "app/net/JSONHTTPRequest.h"
#include "platform/foundation/NetworkActivityIndicator.h"

using ApiClientTest = AppTest;

namespace {

class Receiver : public virtual Trackable {
public:
    void answered(const HTTPRequestPtr&) { ++calls; }
    int calls = 0;
};

}  // namespace

TEST_F(ApiClientTest, RequestsInFlightAreCancelledAndFreedWhenTheirClientEnds)
{
    // A picture and an API call on their way when the application (or a
    // test) ends: both are cancelled, called back never, and freed.
    forum().delayMethod(QStringLiteral("showthread"), 2000);
    forum().setDelay(300);
    Receiver receiver;
    ImageCache* entry = ImageCache::imageForUrl(QStringLiteral("images/alice.png"));
    ASSERT_TRUE(entry && entry->request());
    std::weak_ptr<HTTPRequest> picture = entry->request();
    std::weak_ptr<HTTPRequest> call = JSONHTTPRequest::requestURL(
        QUrl(forum().baseUrl() + QStringLiteral("/api.php?api_m=showthread")), SELECTOR(Receiver, answered),
        &receiver);
    EXPECT_EQ(ApiClient::current().pendingCount(), 2);
    EXPECT_TRUE(NetworkActivityIndicator::isVisible());

    // The picture registry goes first (its entries cancel their requests),
    // then the client with what is left in flight.
    ImageCache::clearRegistry();
    EXPECT_TRUE(picture.expired());
    EXPECT_FALSE(call.expired()) << "the pending list still owns it";
    ApiClient::install(std::make_shared<ApiClient>());
    EXPECT_TRUE(call.expired());
    EXPECT_FALSE(NetworkActivityIndicator::isVisible());
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);
    waitFor([] { return false; }, std::chrono::milliseconds(500));
    EXPECT_EQ(receiver.calls, 0);
}

TEST_F(ApiClientTest, ARequestKeepsToTheClientItWasSentWith)
{
    // On an open session: the request needs no renewal, which is the
    // installed client's.
    openGuestSession();
    forum().setDelay(200);
    Receiver receiver;
    const HTTPRequestPtr first = JSONHTTPRequest::requestURL(
        QUrl(forum().baseUrl() + QStringLiteral("/api.php?api_m=showthread")), SELECTOR(Receiver, answered),
        &receiver);
    const std::shared_ptr<ApiClient> old = ApiClient::currentShared();
    // Someone still holds the old client: its request goes on and answers.
    ApiClient::install(std::make_shared<ApiClient>());
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);
    EXPECT_EQ(old->pendingCount(), 1);
    ASSERT_TRUE(waitFor([&] { return receiver.calls == 1; }));
    EXPECT_EQ(old->pendingCount(), 0);
}
