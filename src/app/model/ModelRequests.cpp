// The sending side of the model layer.
#include "app/model/Model.h"
#include "app/model/ModelCollection.h"
#include "app/net/ApiRequest.h"

HTTPRequestPtr Model::requestURL(const QString& apiMethod, const ValueDict& params, RequestMethod method)
{
    return requestURL(apiMethod, params, method, SELECTOR(Model, setFromRequest));
}

HTTPRequestPtr Model::requestURL(const QString& apiMethod, const ValueDict& params, RequestMethod method,
                                 const Selector& handler, RequestTag tag)
{
    HTTPRequestPtr request = ApiRequest::send(apiMethod, params, method, handler, this, tag);
    addRequest(request);
    return request;
}

void Model::sendFetch(const QString& apiMethod)
{
    requestURL(apiMethod, ValueDict(), RequestMethod::GET);
}

HTTPRequestPtr Model::sendCollectionRequest(const QString& apiMethod, const ValueDict& params,
                                            RequestMethod method, ModelCollection* collection)
{
    return ApiRequest::send(apiMethod, params, method, SELECTOR(ModelCollection, setCollectionFromRequest),
                            collection);
}
