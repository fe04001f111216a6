#include "app/session/TrackedApiClient.h"

#include "app/net/ApiClient.h"
#include "services/AnalyticsTracker.h"

std::shared_ptr<ApiClient> TrackedApiClient::make()
{
    const auto client = std::make_shared<ApiClient>();
    client->setPageviewHandler(
        [](const QString& page, Error* error) { return AnalyticsTracker::sharedTracker().trackPageview(page, error); });
    return client;
}
