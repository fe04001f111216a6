#include "app/model/Model.h"

#include "app/config/ConnectionError.h"
#include "app/config/ErrorMessages.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/Log.h"

namespace {

// The text the error table gives a code of our own; the code itself should
// the table ever lack it, so that the user still reads something.
QString textForCode(const QString& code)
{
    const QString text = ErrorMessages::errorForCode(Value(code));
    return text.isNull() ? code : text;
}

Model::AnswerJudgement failure(const QString& text)
{
    Model::AnswerJudgement judgement;
    judgement.failureText = text;
    return judgement;
}

// Step (c) of the code search: "postpreview"."errorlist"."errormessage". An
// error list that is a list gives the list of its elements' codes.
Lookup previewErrorCode(const Value& response)
{
    const Lookup errorList = response.lookup({u"postpreview", u"errorlist"});
    if (!errorList.found() || !errorList.value.isList())
        return response.lookup({u"postpreview", u"errorlist", u"errormessage"});
    ValueList codes;
    for (const Value& element : errorList.value.list()) {
        if (!element.isDict())
            return Lookup{Lookup::Status::Failed, Value()};
        const Value code = element[u"errormessage"];
        codes.push_back(code.isAbsent() ? Value::null() : code);
    }
    return Lookup{Lookup::Status::Found, Value(std::move(codes))};
}

}  // namespace

Model::Model() = default;

Model::~Model()
{
    // Plain member destruction only: setters may have side effects that must
    // not run on a half-destroyed object.
    m_observers.clear();
    const QList<WeakRef<HTTPRequest>> inFlight = m_requests.snapshot();
    m_requests.clear();
    for (const WeakRef<HTTPRequest>& request : inFlight) {
        if (HTTPRequest* r = request.get())
            r->cancel();
    }
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
    notifyObservers();
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
    if (!request)
        return;
    removeRequest(request);
    const std::shared_ptr<Model> guard = keepAlive();

    if (!request->success()) {
        // No status at all means the answer never came; anything else means
        // it came but cannot be trusted.
        const bool transportFailed = request->httpResponse().statusCode() == 0;
        failedWithError(Error::withMessage(
            textForCode(transportFailed ? QStringLiteral("nointernet") : QStringLiteral("unexpected_server_response"))));
        return;
    }
    if (request->httpResponse().statusCode() >= 400) {
        // The request's own error names no text the user could read; it
        // travels along underneath.
        const Error& cause = request->error();
        failedWithError(Error(textForCode(QStringLiteral("unexpected_server_response")), 1, QString(),
                              cause.isSet() ? std::make_shared<const Error>(cause) : nullptr));
        return;
    }

    const AnswerJudgement judgement = judgeAnswer(request->response());
    if (judgement.success)
        setDictionary(judgement.dictionary);
    else
        failedWithError(Error::withMessage(judgement.failureText));
}

Model::AnswerJudgement Model::judgeAnswer(const Value& json)
{
    const Value response = json[u"response"];

    Value dictionary;
    if (response.isDict()) {
        dictionary = response;
    } else if (response.isList()) {
        // Only a dictionary can fill a model; any other last element is an
        // answer with nothing to fill.
        const Value last = response.at(response.size() - 1);
        if (last.isDict())
            dictionary = last;
    } else if (!response.isNothing()) {
        MU_LOG(QStringLiteral("Invalid response: Didn't get a valid JSON response"));
        return failure(textForCode(QStringLiteral("unexpected_server_response")));
    }

    Value code = dictionary[u"errormessage"];
    const bool fromErrorMessage = !code.isAbsent();
    if (code.isAbsent() && response.isDict()) {
        const std::function<Lookup()> searches[] = {
            [&] { return response.lookup({u"errorlist", 0}); },
            [&] { return response.lookup({u"response", u"errorlist", 0}); },
            [&] { return previewErrorCode(response); },
        };
        for (const auto& search : searches) {
            const Lookup found = search();
            if (found.failed())
                break;
            if (found.found()) {
                code = found.value;
                break;
            }
        }
    }
    if (code.isList())
        code = code.at(0);

    AnswerJudgement judgement;
    judgement.success = true;
    judgement.dictionary = dictionary;
    if (!code.isString())
        return judgement;
    // Looked up once: looking up some codes has consequences (a stale
    // session signs the user out).
    const QString text = ErrorMessages::errorForCode(code);
    if (fromErrorMessage && text.isNull())
        return judgement;
    return failure(text.isNull() ? QStringLiteral("Unknown error in server response, error code = ") + code.string()
                                 : text);
}

bool Model::isSuccessErrorCode(const Value& code)
{
    return ErrorMessages::errorForCode(code).isNull();
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
    if (request)
        m_requests.add(request.get());
}

void Model::removeRequest(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    m_requests.remove(request.get());
    request->setCallbackObject(nullptr);
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
        MU_LOG(QStringLiteral("Unable to find selector to set id. '%1' was the attempt.").arg(attempt));
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
