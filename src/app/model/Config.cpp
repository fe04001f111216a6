#include "app/model/Config.h"

#include "app/net/ApiAddress.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"

#include <mutex>


namespace {
const QString kConfigKey = QStringLiteral("config");
const QString kContentTypesKey = QStringLiteral("contentTypes");

// The social-network application this build is registered as.
const QString kSocialApiKey = QStringLiteral("7d3f92c4a1e85b60");
const QString kSocialApiSecret = QStringLiteral("e41b6c0f9a2d7358c1f0b9a4d6e2c875");

struct FeatureKey {
    int bit;
    const char16_t* key;
};
const FeatureKey kFeatureKeys[] = {
    {Config::BlogEnabled, u"blogenabled"},
    {Config::CmsEnabled, u"cmsenabled"},
    {Config::PmsEnabled, u"pmsenabled"},
    {Config::SearchesEnabled, u"searchesenabled"},
    {Config::GroupsEnabled, u"groupsenabled"},
    {Config::AlbumsEnabled, u"albumsenabled"},
    {Config::FriendsEnabled, u"friendsenabled"},
    {Config::VisitorTrackingEnabled, u"visitor_trackingenabled"},
    {Config::VisitorMessagingEnabled, u"visitor_messagingenabled"},
    {Config::MultiTypeSearch, u"multitypesearch"},
    {Config::TaggingEnabled, u"taggingenabled"},
};

const char16_t* const kContentTypeKeys[] = {u"Article", u"BlogEntry", u"Post", u"Forum",
                                            u"BlogComment", u"VisitorMessage", u"Picture", u"Album"};

QString nameText(const Value& value)
{
    return value.isString() ? value.string() : QString();
}
}  // namespace

Config::Config() = default;

Config::~Config() = default;

namespace {

// Never destroyed by itself: the configuration lives as long as the process.
std::shared_ptr<Config>& instanceSlot()
{
    static auto* slot = new std::shared_ptr<Config>();
    return *slot;
}

std::mutex& classLock()
{
    static std::mutex lock;
    return lock;
}

}  // namespace

Config& Config::getInstance()
{
    std::lock_guard lock(classLock());
    std::shared_ptr<Config>& instance = instanceSlot();
    if (instance)
        return *instance;
    const Value stored = UserDefaults::standard().objectForKey(kConfigKey);
    if (stored.isBytes()) {
        instance = Model::unarchive<Config>(stored.bytes());
        if (!instance)
            MU_LOG(Log::model, QStringLiteral("The stored configuration could not be read; starting empty"));
    }
    if (!instance)
        instance = std::make_shared<Config>();
    return *instance;
}

void Config::resetInstance()
{
    std::lock_guard lock(classLock());
    instanceSlot().reset();
}

const PropertyTable& Config::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&Model::propertyTable())
            .text("socialName", &Config::socialName, &Config::setSocialName)
            .integer("apiversion", &Config::apiversion, &Config::setApiversion)
            .boolean("bbactive", &Config::bbactive, &Config::setBbactive)
            .boolean("paidsubscription", &Config::isPaidSubscription, &Config::setPaidsubscription)
            .text("bbtitle", &Config::bbtitle, &Config::setBbtitle)
            .text("bburl", &Config::bburl, &Config::setBburl)
            .text("bbkey", &Config::bbkey, &Config::setBbkey)
            // A restarted application must still know its forum's switches and
            // content types, so these two are archived although they are no texts.
            .object("show", &Config::showValue, &Config::setShowValue, true)
            .text("murmoraversion", &Config::murmoraversion, &Config::setMurmoraversion)
            .text("bbclosedreason", &Config::bbclosedreason, &Config::setBbclosedreason)
            .text("forumhome", &Config::forumhome, &Config::setForumhome)
            .object("contentTypes", &Config::contentTypes, &Config::setContentTypes, true)
            .integer("featuresInt", &Config::featuresInt, &Config::setFeaturesInt)
            .setterOnly("features", &Config::setFeatures)
            .notArchived("socialName")
            .notArchived("paidsubscription");
    return table;
}

void Config::save()
{
    UserDefaults::standard().setObject(kConfigKey, Value(archive()));
}

void Config::applyApiInit(const Value& answer)
{
    setApiversion(answer[u"apiversion"].toInt());
    setBbtitle(answer[u"bbtitle"].string());
    setBburl(answer[u"bburl"].string());
    setBbactive(answer[u"bbactive"].toBool());
    setMurmoraversion(answer[u"murmoraversion"].string());
    setBbclosedreason(answer[u"bbclosedreason"].string());
    setForumhome(answer[u"forumhome"].string());
    // Keys whose switch is null or false are left out.
    setShowValue(answer[u"show"].isDict() ? answer[u"show"] : Value(ValueDict()));
    setFeatures(answer[u"features"]);
    if (!answer[u"contenttypes"].isAbsent())
        setContentTypes(answer[u"contenttypes"]);
}

QString Config::bbkey() const
{
    // What signs every request is the key built into the application.
    const QString builtIn = ApiAddress::apiKey();
    return builtIn.isEmpty() ? m_bbkey : builtIn;
}

Value Config::showValue() const
{
    QStringList keys(m_show.begin(), m_show.end());
    keys.sort();
    ValueList list;
    for (const QString& key : keys)
        list.push_back(Value(key));
    return Value(std::move(list));
}

void Config::setShowValue(const Value& value)
{
    QSet<QString> show;
    if (value.isList()) {
        // The archived form: the switches that are on.
        for (const Value& key : value.list()) {
            if (key.isString())
                show.insert(key.string());
        }
    } else if (value.isDict()) {
        // The answer's form: every switch with its state.
        for (const auto& [key, state] : value.dict()) {
            if (!state.isNothing() && state.toBool())
                show.insert(key);
        }
    }
    m_show = show;
}

void Config::setFeatures(const Value& features)
{
    if (!features.isDict()) {
        m_features = 0;
        return;
    }
    for (const FeatureKey& feature : kFeatureKeys) {
        if (features[feature.key].toBool())
            m_features |= feature.bit;
        else
            m_features &= ~feature.bit;
    }
}

Value Config::contentTypes() const
{
    if (m_contentTypes.isNothing()) {
        const Value stored = UserDefaults::standard().objectForKey(kContentTypesKey);
        if (stored.isDict())
            m_contentTypes = stored;
    }
    return m_contentTypes;
}

void Config::setContentTypes(const Value& contentTypes)
{
    if (contentTypes.isDict()) {
        UserDefaults::standard().setObject(kContentTypesKey, contentTypes);
        m_contentTypes = contentTypes;
    } else {
        m_contentTypes = Value();
    }
}

Value Config::contentType(int kind) const
{
    if (kind < ContentArticle || kind > ContentAlbum)
        return Value(QStringLiteral(""));
    return contentTypes()[kContentTypeKeys[kind - 1]];
}

QString Config::imageURLStringWithString(const QString& path) const
{
    return ApiAddress::imageURLStringWithString(path);
}

QUrl Config::imageURLWithString(const QString& path) const
{
    return ApiAddress::imageURLWithString(path);
}

QUrl Config::URLWithString(const QString& method) const
{
    return ApiAddress::URLWithString(method);
}

QUrl Config::URLWithString(const QString& method, const ValueDict& parameters) const
{
    return ApiAddress::URLWithString(method, parameters);
}

QString Config::URLTextWithString(const QString& method, const ValueDict& parameters) const
{
    return ApiAddress::URLTextWithString(method, parameters);
}

QString Config::getServerRequestSignature(const QString& method, const ValueDict& parameters,
                                          const SessionCredentials* user) const
{
    return ApiAddress::getServerRequestSignature(method, parameters, user);
}

QString Config::signatureForResponse(const QByteArray& body) const
{
    return ApiAddress::signatureForResponse(body);
}

QUrl Config::URLwithCurrentAccessTokenForURL(const QUrl& url) const
{
    return ApiAddress::URLwithCurrentAccessTokenForURL(url);
}

QString Config::extractApiAccessTokenFromURL(const QUrl& url)
{
    return ApiAddress::extractApiAccessTokenFromURL(url);
}

QString Config::encodeString(const QString& text)
{
    return ApiAddress::encodeString(text);
}

void Config::appendParameterToString(QString& text, const QString& key, const QString& value)
{
    ApiAddress::appendParameterToString(text, key, value);
}

std::shared_ptr<SocialSession> Config::socialSession()
{
    if (!m_socialSession) {
        if (SocialSession* shared = SocialSession::session())
            m_socialSession = shared->shared_from_this();
        else
            m_socialSession = SocialSession::sessionForApplication(kSocialApiKey, kSocialApiSecret, this);
    }
    m_socialSession->resume();
    return m_socialSession;
}

void Config::didLogin(SocialSession* session, quint64 uid)
{
    // Kept until its answer or the next login.
    m_socialRequest = SocialRequest::requestWithSession(session, this);
    m_socialRequest->call(QStringLiteral("users.getInfo"),
                          ValueDict{{QStringLiteral("uids"), Value(QString::number(uid))},
                                    {QStringLiteral("fields"), Value(QStringLiteral("first_name,last_name"))}});
}

void Config::sessionDidLogout(SocialSession* session)
{
    m_socialName = QString();
}

void Config::didFailWithError(SocialRequest* request, const Error&)
{
    if (request && request == m_socialRequest.get())
        m_socialRequest.reset();
}

void Config::didLoad(SocialRequest* request, const Value& result)
{
    ValueList records;
    if (result.isList())
        records = result.list();
    else if (result.isDict())
        records.push_back(result);

    for (const Value& record : records) {
        if (!record.isDict())
            continue;
        // An empty name counts as missing, so that no lone space is shown.
        const QString first = nameText(record[u"first_name"]);
        const QString last = nameText(record[u"last_name"]);
        if (!first.isEmpty() && !last.isEmpty())
            m_socialName = first + u' ' + last;
        else if (!first.isEmpty())
            m_socialName = first;
        else if (!last.isEmpty())
            m_socialName = last;
        else
            m_socialName = QStringLiteral("");
    }
}
