// Linked into every test program of the application's libraries: what is
// still in flight when the tests end is cancelled and freed before the
// application object goes.
#include "app/media/ImageCache.h"
#include "app/net/ApiClient.h"

#include <gtest/gtest.h>

namespace {

class AppTestEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        ImageCache::clearRegistry();
        ApiClient::install(nullptr);
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new AppTestEnvironment);

}  // namespace
