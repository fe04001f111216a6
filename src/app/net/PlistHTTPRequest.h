#pragma once

#include "app/net/HTTPRequestAsyncronic.h"

#include <memory>

// An asynchronous request whose answer is a property list, decoded into
// response() (absent when the body is not one).
class PlistHTTPRequest : public HTTPRequestAsyncronic, public RequestFactory<PlistHTTPRequest> {
public:
    // The factory makes requests of this class.
    using RequestFactory<PlistHTTPRequest>::requestURL;

    static std::shared_ptr<PlistHTTPRequest> create();

protected:
    void connectionDidFinishLoading() override;
};
