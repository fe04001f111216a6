#pragma once

#include "app/net/HTTPRequestAsyncronic.h"

#include <memory>

// An asynchronous request whose answer is a property list, decoded into
// response() (absent when the body is not one).
class PlistHTTPRequest : public HTTPRequestAsyncronic {
public:
    static std::shared_ptr<PlistHTTPRequest> create();

    static HTTPRequestPtr requestURL(const QUrl& url, const ValueDict& params, int method, const Selector& selector,
                                     Trackable* object, int tag = TagOrdinary, const ApiCall& api = {});
    static HTTPRequestPtr requestURL(const QUrl& url, const ValueDict& params, const Selector& selector,
                                     Trackable* object);
    static HTTPRequestPtr requestURL(const QUrl& url, const Selector& selector, Trackable* object);

protected:
    void connectionDidFinishLoading() override;
};
