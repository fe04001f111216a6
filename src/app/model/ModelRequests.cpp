// The sending side of the model layer.
#include "app/model/Model.h"
#include "app/model/ModelCollection.h"
#include "app/net/ApiRequest.h"

HTTPRequestPtr Model::requestURL(const QString& apiMethod, const ValueDict& params, int method)
{
    HTTPRequestPtr request = ApiRequest::send(apiMethod, params, method, SELECTOR(Model, setFromRequest), this);
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
    return ApiRequest::send(apiMethod, params, method, SELECTOR(ModelCollection, setCollectionFromRequest),
                            collection);
}
