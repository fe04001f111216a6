#pragma once

// The API client as the application runs it: each request's page view goes
// to the analytics tracker. The application's wiring installs one at start;
// every test of the application installs a fresh one the same way.
namespace TrackedApiClient {
// Installs a new client (the one installed before ends with its requests).
void install();
}  // namespace TrackedApiClient
