#include "app/config/Config.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/StringExtensions.h"
#include "platform/foundation/UserDefaults.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {
const QString kConfigKey = QStringLiteral("config");
const QString kContentTypesKey = QStringLiteral("contentTypes");
const QString kBaseUrlSetting = QStringLiteral("ZtServerBaseUrl");
const QString kBuiltInApiKey = QStringLiteral("Qw7rTz2k");
constexpr int kApiVersion = 6;

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

// The forum's base address, without a trailing slash so that appending
// "/api.php" never doubles it.
QString baseAddress()
{
    QString base = Bundle::main().objectForInfoDictionaryKey(kBaseUrlSetting).toString();
    if (base.isEmpty())
        MU_LOG(QStringLiteral("The bundle setting %1 is missing").arg(kBaseUrlSetting));
    if (base.endsWith(u'/'))
        base.chop(1);
    return base;
}

// The text a parameter travels as: a text as it is, a number or boolean as
// its decimal text. Other kinds have no form in an address and are left out.
std::optional<QString> parameterText(const QString& key, const Value& value)
{
    if (value.isString())
        return value.string().isNull() ? QStringLiteral("") : value.string();
    if (value.isNumeric())
        return value.numberText();
    MU_LOG(QStringLiteral("Parameter '%1' left out: its value is neither a text nor a number").arg(key));
    return std::nullopt;
}

void appendEncodedParameters(QString& text, const ValueDict& parameters, const QStringList& keys)
{
    for (const QString& key : keys) {
        if (const std::optional<QString> value = parameterText(key, parameters.value(key)))
            Config::appendParameterToString(text, Config::encodeString(key), Config::encodeString(*value));
    }
}

QString decodeQueryComponent(const QString& text)
{
    // Percent escapes only: a "+" stands for itself here, as encodeString wrote it.
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
}

QString nameText(const Value& value)
{
    return value.isString() ? value.string() : QString();
}
}  // namespace

Config::Config() = default;

Config::~Config() = default;

Config& Config::getInstance()
{
    static const std::shared_ptr<Config> instance = [] {
        std::shared_ptr<Config> config;
        const Value stored = UserDefaults::standard().objectForKey(kConfigKey);
        if (stored.isBytes()) {
            config = Model::unarchive<Config>(stored.bytes());
            if (!config)
                MU_LOG(QStringLiteral("The stored configuration could not be read; starting empty"));
        }
        if (!config)
            config = std::make_shared<Config>();
        return config;
    }();
    return *instance;
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

QString Config::bbkey() const
{
    return kBuiltInApiKey.isEmpty() ? m_bbkey : kBuiltInApiKey;
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
    return baseAddress() + u'/' + path;
}

QUrl Config::imageURLWithString(const QString& path) const
{
    if (path.startsWith(u"http://", Qt::CaseInsensitive) || path.startsWith(u"https://", Qt::CaseInsensitive))
        return QUrl(path);
    return QUrl(imageURLStringWithString(path));
}

QUrl Config::URLWithString(const QString& method) const
{
    return URLWithString(method, ValueDict());
}

QUrl Config::URLWithString(const QString& method, const ValueDict& parameters) const
{
    return QUrl::fromEncoded(URLTextWithString(method, parameters).toUtf8(), QUrl::StrictMode);
}

QString Config::URLTextWithString(const QString& method, const ValueDict& parameters) const
{
    QString query;
    const SessionCredentials* user = SessionCredentials::current();
    if (user && user->hasSession()) {
        appendParameterToString(query, QStringLiteral("api_c"), user->apiclientid());
        appendParameterToString(query, QStringLiteral("api_v"), QString::number(kApiVersion));
        appendParameterToString(query, QStringLiteral("api_m"), method);
        appendParameterToString(query, QStringLiteral("api_s"), user->apiaccesstoken());
        appendEncodedParameters(query, parameters, parameters.keys());
        appendParameterToString(query, QStringLiteral("api_sig"),
                                getServerRequestSignature(method, parameters, user));
    } else {
        // Without a session every call becomes the session opening.
        appendParameterToString(query, QStringLiteral("api_v"), QString::number(kApiVersion));
        appendParameterToString(query, QStringLiteral("api_m"), QStringLiteral("api_init"));
    }
    return baseAddress() + QStringLiteral("/api.php?") + query;
}

QString Config::getServerRequestSignature(const QString& method, const ValueDict& parameters,
                                          const SessionCredentials* user) const
{
    ValueDict signedParameters = parameters;
    if (!method.isNull())
        signedParameters.insert(QStringLiteral("api_m"), method);
    QStringList keys = signedParameters.keys();
    std::sort(keys.begin(), keys.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseSensitive) < 0; });

    QString text;
    appendEncodedParameters(text, signedParameters, keys);
    if (user)
        text += user->apiaccesstoken() + user->apiclientid() + user->secret();
    text += bbkey();
    return StringExtensions::md5(text);
}

QString Config::signatureForResponse(const QByteArray& body) const
{
    const SessionCredentials* user = SessionCredentials::current();
    if (!user || user->apiaccesstoken().isNull())
        return QString();
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(body);
    if (decoder.hasError()) {
        // The forum signs text; bytes that are no UTF-8 text cannot carry a valid signature.
        MU_LOG(QStringLiteral("The answer body is not valid UTF-8; it has no valid signature"));
        return QString();
    }
    return StringExtensions::md5(text + user->apiaccesstoken() + user->apiclientid() + user->secret() + bbkey());
}

QUrl Config::URLwithCurrentAccessTokenForURL(const QUrl& url) const
{
    ValueDict parameters;
    const QStringList segments = url.query(QUrl::FullyEncoded).split(u'&');
    for (const QString& segment : segments) {
        const qsizetype equals = segment.indexOf(u'=');
        if (equals <= 0)
            continue;
        // Decoded first, so that encoding them again yields the bytes first sent.
        parameters.insert(decodeQueryComponent(segment.left(equals)), decodeQueryComponent(segment.mid(equals + 1)));
    }
    for (const char16_t* key : {u"api_v", u"api_c", u"api_s", u"api_sig"})
        parameters.remove(QString::fromUtf16(key));
    const QString method = parameters.value(QStringLiteral("api_m")).string();
    return URLWithString(method, parameters);
}

QString Config::extractApiAccessTokenFromURL(const QUrl& url)
{
    static const QString marker = QStringLiteral("api_s=");
    const QString text = url.toString(QUrl::FullyEncoded);
    const qsizetype at = text.indexOf(marker, 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    const qsizetype start = at + marker.size();
    qsizetype end = text.indexOf(u'&', start);
    if (end < 0)
        end = text.size();
    const QString token = text.mid(start, end - start);
    return token.isNull() ? QStringLiteral("") : token;
}

QString Config::encodeString(const QString& text)
{
    QString spaced = text;
    spaced.replace(u' ', u'+');
    return StringExtensions::addingPercentEscapes(spaced);
}

void Config::appendParameterToString(QString& text, const QString& key, const QString& value)
{
    if (!text.isEmpty())
        text += u'&';
    text += key + u'=' + value;
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
    // Kept until the next login: the call answers later, if ever.
    m_socialRequest = SocialRequest::requestWithSession(session, this);
    m_socialRequest->call(QStringLiteral("users.getInfo"),
                          ValueDict{{QStringLiteral("uids"), Value(QString::number(uid))},
                                    {QStringLiteral("fields"), Value(QStringLiteral("first_name,last_name"))}});
}

void Config::sessionDidLogout(SocialSession* session)
{
    m_socialName = QString();
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
