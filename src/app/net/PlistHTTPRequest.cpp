#include "app/net/PlistHTTPRequest.h"

#include "platform/foundation/PropertyList.h"

std::shared_ptr<PlistHTTPRequest> PlistHTTPRequest::create()
{
    return std::make_shared<PlistHTTPRequest>();
}

void PlistHTTPRequest::connectionDidFinishLoading()
{
    bool ok = false;
    const Value list = PropertyList::fromData(loadedData(), &ok);
    setResponse(ok ? list : Value());
    const int status = httpResponse().statusCode();
    using Kind = RequestOutcome::Kind;
    if (error().isSet())
        setOutcome(RequestOutcome(Kind::HttpError, status));
    else
        setOutcome(RequestOutcome(ok ? Kind::Ok : Kind::Undecodable, status));
    // An error status fails with its whole body; the success call after it
    // then finds the callback spent.
    if (error().isSet())
        callFailure();
    callSuccess();
}
