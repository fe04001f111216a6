#pragma once

// How an API call travels: a GET carries its parameters in the signed
// address, a POST in the body.
enum class RequestMethod : int {
    GET = 0,
    POST = 1,
};
