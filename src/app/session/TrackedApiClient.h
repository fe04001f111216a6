#pragma once

#include <memory>

class ApiClient;

// The API client as the application runs it: each request's page view goes
// to the analytics tracker. Every application context makes its own.
namespace TrackedApiClient {
std::shared_ptr<ApiClient> make();
}  // namespace TrackedApiClient
