#pragma once

// What a request is to the renewal of the access token.
enum class RequestTag : int {
    // Ordinary traffic: waits while a renewal runs.
    Ordinary = 0,
    // The renewal's own requests ("api_init", the sign-in): go out at once.
    Renewal = 1,
    // The sign-out: fails the waiting requests and goes out at once.
    Logout = 2,
};
