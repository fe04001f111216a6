#include "app/session/TrackedApiClient.h"

#include "app/net/ApiClient.h"
#include "services/AnalyticsTracker.h"

void TrackedApiClient::install()
{
    const auto client = std::make_shared<ApiClient>();
    client->setPageviewHandler(
        [](const QString& page, Error* error) { return AnalyticsTracker::sharedTracker().trackPageview(page, error); });
    ApiClient::install(client);
}
