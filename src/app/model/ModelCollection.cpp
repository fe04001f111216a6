#include "app/model/ModelCollection.h"

#include "app/config/ConnectionError.h"

ModelCollection::~ModelCollection()
{
    // Observers are not told here: they would be handed a collection that
    // is being destroyed.
    m_observers.clear();
}

void ModelCollection::setModels(const QList<ModelPtr>& models)
{
    const std::shared_ptr<ModelCollection> guard = weak_from_this().lock();
    m_models = models;
    m_observers.forEach([this](ModelCollectionObserver* observer) { observer->modelCollectionHasChanged(this); });
}

void ModelCollection::addObserver(ModelCollectionObserver* observer)
{
    if (!observer)
        return;
    m_observers.add(observer);
    observer->modelCollectionHasChanged(this);
}

void ModelCollection::removeObserver(ModelCollectionObserver* observer)
{
    m_observers.remove(observer);
}

void ModelCollection::removeAllObservers()
{
    m_observers.clear();
}

void ModelCollection::setCollectionFromRequest(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    removeRequest(request);
    setCollectionFromResponse(request->response());
}

void ModelCollection::setCollectionFromResponse(const Value& response)
{
    if (!m_modelSubclass)
        return;
    QList<ModelPtr> models;
    if (response.isDict()) {
        models.append(m_modelSubclass(response));
    } else if (response.isList()) {
        for (const Value& element : response.list())
            models.append(m_modelSubclass(element));
    } else {
        return;
    }
    setModels(models);
}

void ModelCollection::addRequest(const HTTPRequestPtr& request)
{
    m_requests.add(request);
}

void ModelCollection::removeRequest(const HTTPRequestPtr& request)
{
    m_requests.remove(request);
}

bool ModelCollection::hasRequests() const
{
    return !m_requests.isEmpty();
}

void ModelCollection::failedWithError(const Error& error)
{
    const std::shared_ptr<ModelCollection> guard = weak_from_this().lock();
    ConnectionError::showMessage(error);
    m_observers.forEach([this, &error](ModelCollectionObserver* observer) {
        observer->modelCollectionHasFailedToUpdate(this, error);
    });
}

QString ModelCollection::description() const
{
    QStringList parts;
    for (const ModelPtr& model : m_models)
        parts.append(model ? model->description() : QStringLiteral("(nothing)"));
    return u'[' + parts.join(QStringLiteral(", ")) + u']';
}
