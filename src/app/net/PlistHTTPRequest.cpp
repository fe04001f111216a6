#include "app/net/PlistHTTPRequest.h"

#include "platform/foundation/PropertyList.h"

std::shared_ptr<PlistHTTPRequest> PlistHTTPRequest::create()
{
    return std::make_shared<PlistHTTPRequest>();
}

HTTPRequestPtr PlistHTTPRequest::requestURL(const QUrl& url, const ValueDict& params, int method,
                                            const Selector& selector, Trackable* object, int tag, const ApiCall& api)
{
    return makeAndSend<PlistHTTPRequest>(url, &params, method, selector, object, tag, api);
}

HTTPRequestPtr PlistHTTPRequest::requestURL(const QUrl& url, const ValueDict& params, const Selector& selector,
                                            Trackable* object)
{
    return makeAndSend<PlistHTTPRequest>(url, &params, 0, selector, object, TagOrdinary, {});
}

HTTPRequestPtr PlistHTTPRequest::requestURL(const QUrl& url, const Selector& selector, Trackable* object)
{
    return makeAndSend<PlistHTTPRequest>(url, nullptr, 0, selector, object, TagOrdinary, {});
}

void PlistHTTPRequest::connectionDidFinishLoading()
{
    bool ok = false;
    const Value list = PropertyList::fromData(loadedData(), &ok);
    setResponse(ok ? list : Value());
    setSuccess(!error().isSet() && httpResponse().statusCode() < 400);
    // An error status fails with its whole body; the success call after it
    // then finds the callback spent.
    if (error().isSet())
        callFailure();
    callSuccess();
}
