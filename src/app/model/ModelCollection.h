#pragma once

#include "app/model/Model.h"
#include "app/model/ModelCollectionObserver.h"
#include "app/net/HTTPRequest.h"
#include "app/net/RequestsInFlight.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"
#include "platform/foundation/Value.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

// A list of models of one class, filled from a JSON list (or one JSON
// object), observed by screens.
class ModelCollection : public virtual Trackable, public std::enable_shared_from_this<ModelCollection> {
public:
    // Makes one element from its dictionary.
    using ModelFactory = std::function<std::shared_ptr<Model>(const Value&)>;

    ModelCollection() = default;
    ~ModelCollection() override;

    ModelCollection(const ModelCollection&) = delete;
    ModelCollection& operator=(const ModelCollection&) = delete;

    const QList<ModelPtr>& models() const { return m_models; }
    // Replaces the list and tells every observer.
    void setModels(const QList<ModelPtr>& models);

    const ModelFactory& modelSubclass() const { return m_modelSubclass; }
    void setModelSubclass(ModelFactory factory) { m_modelSubclass = std::move(factory); }
    template <typename M>
    void setModelSubclass()
    {
        m_modelSubclass = [](const Value& dictionary) -> ModelPtr { return Model::createWithDictionary<M>(dictionary); };
    }

    // Observers are not owned; a new observer is told at once.
    void addObserver(ModelCollectionObserver* observer);
    void removeObserver(ModelCollectionObserver* observer);
    void removeAllObservers();

    // Fills the collection from the request's whole decoded JSON; the
    // request's success is the business of subclasses that need it.
    virtual void setCollectionFromRequest(const HTTPRequestPtr& request);
    // A dictionary gives one model, a list one per element; anything else
    // changes nothing and tells nobody.
    virtual void setCollectionFromResponse(const Value& response);

    // Requests in flight, not owned; as for a model, a forgotten request
    // never calls back, and those still in flight are cancelled when the
    // collection goes.
    void addRequest(const HTTPRequestPtr& request);
    void removeRequest(const HTTPRequestPtr& request);
    bool hasRequests() const;

    // Shows the error once, then tells the observers that take failures.
    virtual void failedWithError(const Error& error);

    QString description() const;

private:
    QList<ModelPtr> m_models;
    NonRetainingSet<ModelCollectionObserver> m_observers;
    ModelFactory m_modelSubclass;
    RequestsInFlight m_requests;
};

using ModelCollectionPtr = std::shared_ptr<ModelCollection>;
