#include "app/net/ApiRequest.h"

#include "app/net/ApiAddress.h"
#include "app/net/JSONHTTPRequest.h"

HTTPRequestPtr ApiRequest::send(const QString& apiMethod, const ValueDict& params, RequestMethod method,
                                const Selector& selector, Trackable* object, RequestTag tag)
{
    const bool isGet = method == RequestMethod::GET;
    const ValueDict query = isGet ? params : ValueDict();
    const QUrl url = ApiAddress::URLWithString(apiMethod, query);
    return JSONHTTPRequest::requestURL(url, isGet ? ValueDict() : params, method, selector, object, tag,
                                       ApiCall{apiMethod, query});
}

HTTPRequestPtr ApiRequest::sendPicture(const QString& apiMethod, const QByteArray& jpeg, const Selector& selector,
                                       Trackable* object)
{
    const QUrl url = ApiAddress::URLWithString(apiMethod);
    const std::shared_ptr<JSONHTTPRequest> request = JSONHTTPRequest::create();
    request->setCallbackObject(object);
    request->setSuccessSelector(selector);
    request->setFailureSelector(selector);
    request->setMethod(RequestMethod::POST);
    request->setApiCall(ApiCall{apiMethod, ValueDict()});
    request->addFile(QStringLiteral("upload"), QStringLiteral("image.jpg"), jpeg, QStringLiteral("image/jpeg"));
    request->requestUrl(url);
    return request;
}

Value ApiRequest::errorMessage(const RequestOutcome& outcome)
{
    const Value& code = outcome.errorMessage();
    if (code.isList())
        return code.at(0);
    return code;
}
