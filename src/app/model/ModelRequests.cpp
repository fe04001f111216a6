// The sending side of the model layer: addressing through the configuration
// and the JSON API request.
#include "app/config/Config.h"
#include "app/model/Model.h"
#include "app/model/ModelCollection.h"
#include "app/net/JSONHTTPRequest.h"

namespace {

// Method 0 puts the parameters under the signature in the address; any other
// method sends them in the body and signs "api_m" alone.
HTTPRequestPtr sendApiRequest(const QString& apiMethod, const ValueDict& params, int method,
                              const Selector& selector, Trackable* object)
{
    const bool isGet = method == 0;
    const ValueDict query = isGet ? params : ValueDict();
    const QUrl url = Config::getInstance().URLWithString(apiMethod, query);
    return JSONHTTPRequest::requestURL(url, isGet ? ValueDict() : params, method, selector, object,
                                       HTTPRequest::TagOrdinary, ApiCall{apiMethod, query});
}

}  // namespace

HTTPRequestPtr Model::requestURL(const QString& apiMethod, const ValueDict& params, int method)
{
    HTTPRequestPtr request = sendApiRequest(apiMethod, params, method, SELECTOR(Model, setFromRequest), this);
    addRequest(request);
    return request;
}

void Model::sendFetch(const QString& apiMethod)
{
    requestURL(apiMethod, ValueDict(), 0);
}

HTTPRequestPtr Model::sendCollectionRequest(const QString& apiMethod, const ValueDict& params, int method,
                                            ModelCollection* collection)
{
    return sendApiRequest(apiMethod, params, method, SELECTOR(ModelCollection, setCollectionFromRequest),
                          collection);
}
