#pragma once

#include "app/model/AnswerRules.h"
#include "app/model/ModelDelegate.h"
#include "app/model/ModelObserver.h"
#include "app/model/PropertyTable.h"
#include "app/net/HTTPRequest.h"
#include "app/net/RequestsInFlight.h"
#include "platform/foundation/ClassName.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"
#include "platform/foundation/Value.h"

#include <QByteArray>
#include <QString>

#include <QList>

#include <memory>
#include <optional>

class ModelCollection;

// Base of every content object: filled from the forum's answers through its
// declared property table, archived as one dictionary of its plain values,
// observed by screens, and the sender and judge of its own API requests.
//
// Models are owned through std::shared_ptr; make them with create<M>() or
// createWithDictionary<M>() so that a model can keep itself alive while it
// handles an answer.
//
// A model sends a call and takes its answer like this:
//
//   void Thread::fetchPage(int page) {
//       const ValueDict params{{QStringLiteral("threadid"), Value(m_threadid)},
//                              {QStringLiteral("page"), Value(page)}};
//       requestURL(QStringLiteral("showthread"), params, RequestMethod::GET, SELECTOR(Thread, pageResult));
//   }
//   void Thread::pageResult(const HTTPRequestPtr& request) {
//       const auto guard = keepAlive();
//       const std::optional<RequestOutcome> answer = takeAnswer(request);  // failures are reported
//       if (!answer)
//           return;
//       ...read answer->dictionary() (the "response" to fill from) or request->response()
//       notifyChanged();
//   }
//
// Without a handler of its own the answer goes to setFromRequest, which fills
// the model from the answer's "response" through the property table.
class Model : public virtual Trackable, public std::enable_shared_from_this<Model> {
public:
    Model();
    ~Model() override;

    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    template <typename M>
    static std::shared_ptr<M> create()
    {
        return std::make_shared<M>();
    }
    // initWithDictionary: a new model filled from the dictionary.
    template <typename M>
    static std::shared_ptr<M> createWithDictionary(const Value& dictionary)
    {
        auto model = std::make_shared<M>();
        model->setDictionary(dictionary);
        return model;
    }

    // The class's own property table; subclasses declare theirs and override
    // properties() to return it.
    static const PropertyTable& propertyTable();
    virtual const PropertyTable& properties() const { return propertyTable(); }

    // Filling: a dictionary fills the declared properties key by key, then the
    // observers are told; nothing (an absent value) only tells the observers;
    // any other value changes nothing and tells nobody.
    virtual void setDictionary(const Value& dictionary);
    // setDictionary with nothing: the announcement that the model changed.
    void notifyChanged() { setDictionary(Value()); }

    // The archiving list: archive key to getter name.
    virtual ValueDict serialization() const;
    // The archivable values by archive key.
    ValueDict toDictionary() const;
    // Keyed archiving of toDictionary, and filling back from such an archive.
    QByteArray archive() const;
    bool restoreFromArchive(const QByteArray& data);
    template <typename M>
    static std::shared_ptr<M> unarchive(const QByteArray& data)
    {
        auto model = std::make_shared<M>();
        if (!model->restoreFromArchive(data))
            return nullptr;
        return model;
    }
    QString description() const;

    // Observers are not owned; one that has gone is simply not told.
    void addObserver(ModelObserver* observer);
    void removeObserver(ModelObserver* observer);
    void removeAllObservers();
    const NonRetainingSet<ModelObserver>& observers() const { return m_observers; }

    // Sends an API request answered to setFromRequest: a GET carries the
    // parameters in the signed address, a POST in the body. The request is
    // kept among the model's requests in flight.
    HTTPRequestPtr requestURL(const QString& apiMethod, const ValueDict& params,
                              RequestMethod method = RequestMethod::GET);
    // The same, answered to another handler of the model.
    HTTPRequestPtr requestURL(const QString& apiMethod, const ValueDict& params, RequestMethod method,
                              const Selector& handler, RequestTag tag = RequestTag::Ordinary);
    // The standard answer handling: a good answer fills the model from its
    // "response" (and tells the observers), a failure is reported.
    virtual void setFromRequest(const HTTPRequestPtr& request);

    // True exactly when the error table has no text for the code.
    static bool isSuccessErrorCode(const Value& code);
    // Reports a failure to the observers (or through the connection-error
    // presenter for observers that do not take failures).
    virtual void failedWithError(const Error& error);
    // A failure of the answer to this request; the session also ends a
    // renewal with it.
    virtual void failedWithError(const Error& error, const HTTPRequestPtr& request);

    // Requests in flight, not owned; removeRequest also clears the request's
    // callback object so that a forgotten request never calls back. The
    // model cancels those still in flight when it goes.
    void addRequest(const HTTPRequestPtr& request);
    void removeRequest(const HTTPRequestPtr& request);
    bool hasRequests() const;
    const RequestsInFlight& requests() const { return m_requests; }

    // A list stays as it is, nothing stays nothing, any other value becomes a
    // list of that one value.
    static Value arrayFromJsonObject(const Value& object);

    // Class-side fetching: a new model of the class that has already sent its request.
    template <typename M>
    static std::shared_ptr<M> fetchFromURL(const QString& apiMethod)
    {
        auto model = std::make_shared<M>();
        model->sendFetch(apiMethod);
        return model;
    }
    template <typename M>
    static std::shared_ptr<M> fetchFromURL(const QString& apiMethod, const ValueDict& params,
                                           RequestMethod method = RequestMethod::GET)
    {
        auto model = std::make_shared<M>();
        model->requestURL(apiMethod, params, method);
        return model;
    }

    // The local store. No store is connected: getDelegate() answers nothing,
    // so the operations below read and write nothing.
    static std::shared_ptr<ModelDelegate> getDelegate();

    template <typename M>
    static QList<std::shared_ptr<M>> find(const Value& where = Value(), const QString& orderBy = QString(),
                                          int limit = 0, int offset = 0)
    {
        QList<std::shared_ptr<M>> models;
        const std::shared_ptr<ModelDelegate> store = getDelegate();
        if (!store)
            return models;
        for (const Value& row : store->getFrom(tableName<M>(), where, orderBy, limit, offset))
            models.append(createWithDictionary<M>(row));
        return models;
    }
    template <typename M>
    static QList<std::shared_ptr<M>> fetchList()
    {
        return find<M>();
    }
    template <typename M>
    static std::shared_ptr<M> findOne(const Value& where)
    {
        const QList<std::shared_ptr<M>> found = find<M>(where, QString(), 1);
        return found.isEmpty() ? nullptr : found.first();
    }
    template <typename M>
    static std::shared_ptr<M> findOneById(qint32 id)
    {
        return findOne<M>(Value(ValueDict{{QStringLiteral("id"), Value(id)}}));
    }
    template <typename M>
    static void deleteAll()
    {
        deleteWhere<M>(Value());
    }
    template <typename M>
    static void deleteWhere(const Value& where)
    {
        if (const std::shared_ptr<ModelDelegate> store = getDelegate())
            store->deleteFrom(tableName<M>(), where);
    }

    // The store's id column of this class: "<class name in lower case>id".
    QString getIdName() const;
    qint32 getId() const;
    void setId(qint32 id);
    // Updates the stored row when the model has an id, else inserts one.
    void saveToStore();
    void insert();
    void update();
    void remove();

    // The collection class for lists of this class; a subclass names another
    // by declaring its own CollectionType.
    using CollectionType = ModelCollection;

    // Class-side fetching of a list: a new collection of the class's
    // collection type whose elements are of class M, that has already sent
    // its request; the answer fills the collection.
    template <typename M>
    static std::shared_ptr<typename M::CollectionType> fetchCollectionFromURL(
        const QString& apiMethod, const ValueDict& params = {}, RequestMethod method = RequestMethod::GET)
    {
        auto collection = std::make_shared<typename M::CollectionType>();
        collection->template setModelSubclass<M>();
        collection->addRequest(sendCollectionRequest(apiMethod, params, method, collection.get()));
        return collection;
    }

protected:
    // A shared pointer to this model, or null when it is not shared-owned.
    std::shared_ptr<Model> keepAlive() { return weak_from_this().lock(); }
    // Fills the declared properties from a dictionary as setDictionary does,
    // telling the observers nothing: for a part of an answer that fills the
    // model the answer is filling, whose observers are told once at its end.
    void fillFromDictionary(const Value& dictionary);

    // Takes the answer to one of this model's requests: forgets the request,
    // then reads its outcome by the rules. A failure is reported to the
    // observers and gives nothing; otherwise the outcome to read (Ok with the
    // dictionary to fill from, NotModified, or a refusal the handler judges
    // itself).
    std::optional<RequestOutcome> takeAnswer(const HTTPRequestPtr& request, const AnswerRules& rules = {});
    // The error a failed outcome is reported with (none for an outcome that
    // is no failure, or that nobody is to hear of). A closed forum is a
    // failure with nothing to show: its own alert is up.
    static std::optional<Error> failureOf(const RequestOutcome& outcome, const HTTPRequest& request);
    // The error table's text of a code of our own ("nointernet").
    static QString textForCode(const QString& code);

private:
    void sendFetch(const QString& apiMethod);
    static HTTPRequestPtr sendCollectionRequest(const QString& apiMethod, const ValueDict& params,
                                                RequestMethod method, ModelCollection* collection);
    void notifyObservers();

    template <typename M>
    static QString tableName()
    {
        return ClassNameDetail::plainName(typeid(M).name());
    }

    NonRetainingSet<ModelObserver> m_observers;
    RequestsInFlight m_requests;
};

using ModelPtr = std::shared_ptr<Model>;
