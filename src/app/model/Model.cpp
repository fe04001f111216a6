#include "app/model/Model.h"

#include "app/config/ConnectionError.h"
#include "app/config/ErrorMessages.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/Log.h"

Model::Model() = default;

Model::~Model()
{
    // Plain member destruction only: setters may have side effects that must
    // not run on a half-destroyed object. The requests in flight are
    // cancelled by their holder.
    m_observers.clear();
}

const PropertyTable& Model::propertyTable()
{
    static const PropertyTable table;
    return table;
}

// ---- Filling

void Model::setDictionary(const Value& dictionary)
{
    if (!dictionary.isAbsent() && !dictionary.isDict())
        return;
    const std::shared_ptr<Model> guard = keepAlive();
    fillFromDictionary(dictionary);
    notifyObservers();
}

void Model::fillFromDictionary(const Value& dictionary)
{
    if (!dictionary.isDict())
        return;
    const std::shared_ptr<Model> guard = keepAlive();
    // A copy: a setter may replace what the argument refers to.
    const Value values = dictionary;
    const PropertyTable& table = properties();
    for (const auto& [key, value] : values.dict()) {
        const PropertyDescriptor* property = table.find(key);
        if (!property || !property->setter)
            continue;
        if (property->kind == PropertyKind::Object && value.isNumeric())
            property->setter(*this, Value(value.numberText()));
        else
            property->setter(*this, value);
    }
}

void Model::notifyObservers()
{
    m_observers.forEach([this](ModelObserver* observer) { observer->modelHasChanged(this); });
}

// ---- Archiving

ValueDict Model::serialization() const
{
    ValueDict list;
    for (const PropertyDescriptor* property : properties().archivingList())
        list.insert(property->name, Value(property->name));
    return list;
}

ValueDict Model::toDictionary() const
{
    ValueDict values;
    const PropertyTable& table = properties();
    for (const auto& [key, getterName] : serialization()) {
        const PropertyDescriptor* property = table.findGetter(getterName.toString());
        if (!property)
            continue;
        const Value value = property->getter(*this);
        if (property->kind != PropertyKind::Object) {
            values.insert(key, value);
            continue;
        }
        if (value.isString() || (property->archivesAnyValue && !value.isAbsent()))
            values.insert(key, value);
    }
    return values;
}

QByteArray Model::archive() const
{
    return KeyedArchive::archivedData(toDictionary());
}

bool Model::restoreFromArchive(const QByteArray& data)
{
    const std::optional<ValueDict> root = KeyedArchive::unarchive(data);
    if (!root)
        return false;
    setDictionary(Value(*root));
    return true;
}

QString Model::description() const
{
    return Value(toDictionary()).debugText();
}

// ---- Observers

void Model::addObserver(ModelObserver* observer)
{
    m_observers.add(observer);
}

void Model::removeObserver(ModelObserver* observer)
{
    m_observers.remove(observer);
}

void Model::removeAllObservers()
{
    m_observers.clear();
}

// ---- Answers

void Model::setFromRequest(const HTTPRequestPtr& request)
{
    const std::shared_ptr<Model> guard = keepAlive();
    if (const std::optional<RequestOutcome> answer = takeAnswer(request))
        setDictionary(answer->dictionary());
}

std::optional<RequestOutcome> Model::takeAnswer(const HTTPRequestPtr& request, const AnswerRules& rules)
{
    if (!request)
        return std::nullopt;
    removeRequest(request);
    const RequestOutcome outcome =
        rules.acceptBadSignature ? request->outcome().ignoringSignature() : request->outcome();
    if (outcome.is(RequestOutcome::Kind::ForumRefused) && rules.handlerJudgesRefusals)
        return outcome;
    if (outcome.is(RequestOutcome::Kind::Ok) || outcome.is(RequestOutcome::Kind::NotModified))
        return outcome;
    if (const std::optional<Error> error = failureOf(outcome, *request))
        failedWithError(*error, request);
    return std::nullopt;
}

std::optional<Error> Model::failureOf(const RequestOutcome& outcome, const HTTPRequest& request)
{
    if (outcome.is(RequestOutcome::Kind::ForumClosed))
        return Error();
    const Error failure = outcome.failure();
    if (!failure.isSet())
        return std::nullopt;
    // An error status names no text the user could read; it travels along
    // underneath.
    const Error& cause = request.error();
    if (outcome.is(RequestOutcome::Kind::HttpError) && cause.isSet())
        return failure.causedBy(std::make_shared<const Error>(cause));
    return failure;
}

QString Model::textForCode(const QString& code)
{
    // The code itself should the table ever lack it, so that the user still
    // reads something.
    const QString text = ErrorMessages::errorForCode(Value(code));
    return text.isNull() ? code : text;
}

bool Model::isSuccessErrorCode(const Value& code)
{
    return ErrorMessages::errorForCode(code).isNull();
}

void Model::failedWithError(const Error& error, const HTTPRequestPtr&)
{
    failedWithError(error);
}

void Model::failedWithError(const Error& error)
{
    const std::shared_ptr<Model> guard = keepAlive();
    m_observers.forEach([this, &error](ModelObserver* observer) {
        if (!observer->modelHasFailedToUpdate(this, error))
            ConnectionError::showMessage(error);
    });
}

// ---- Requests

void Model::addRequest(const HTTPRequestPtr& request)
{
    m_requests.add(request);
}

void Model::removeRequest(const HTTPRequestPtr& request)
{
    m_requests.remove(request);
}

bool Model::hasRequests() const
{
    return !m_requests.isEmpty();
}

Value Model::arrayFromJsonObject(const Value& object)
{
    if (object.isList() || object.isAbsent())
        return object;
    return Value(ValueList{object});
}

// ---- Store

std::shared_ptr<ModelDelegate> Model::getDelegate()
{
    return nullptr;
}

QString Model::getIdName() const
{
    return className(*this).toLower() + QStringLiteral("id");
}

qint32 Model::getId() const
{
    const PropertyDescriptor* property = properties().findGetter(getIdName());
    return property ? property->getter(*this).toInt() : 0;
}

void Model::setId(qint32 id)
{
    const PropertyDescriptor* property = properties().find(getIdName());
    if (!property || !property->setter) {
        const QString name = className(*this);
        const QString attempt = QStringLiteral("set") + name.left(1).toUpper() + name.mid(1).toLower()
                                + QStringLiteral("id:");
        MU_LOG(Log::store, QStringLiteral("Unable to find selector to set id. '%1' was the attempt.").arg(attempt));
        return;
    }
    property->setter(*this, Value(id));
}

void Model::saveToStore()
{
    if (getId() != 0)
        update();
    else
        insert();
}

void Model::insert()
{
    if (const std::shared_ptr<ModelDelegate> store = getDelegate())
        setId(store->insertInto(className(*this), toDictionary()));
}

void Model::update()
{
    if (const std::shared_ptr<ModelDelegate> store = getDelegate())
        store->update(className(*this), toDictionary(), Value(ValueDict{{QStringLiteral("id"), Value(getId())}}));
}

void Model::remove()
{
    if (const std::shared_ptr<ModelDelegate> store = getDelegate())
        store->deleteFrom(className(*this), Value(ValueDict{{QStringLiteral("id"), Value(getId())}}));
}
