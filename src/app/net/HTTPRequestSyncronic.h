#pragma once

#include "app/net/HTTPRequest.h"

#include <memory>

// A request that blocks its caller until the answer is in: same timeout and
// body rules as the asynchronous one, but no extra headers. Only an answer of
// exactly 200 counts as success.
class HTTPRequestSyncronic : public HTTPRequest {
public:
    static std::shared_ptr<HTTPRequestSyncronic> create();

    void requestUrl(const QUrl& url) override;
};
