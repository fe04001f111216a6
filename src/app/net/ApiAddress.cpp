#include "app/net/ApiAddress.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/StringExtensions.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {
const QString kBaseUrlSetting = QStringLiteral("ZtServerBaseUrl");
const QString kBuiltInApiKey = QStringLiteral("Qw7rTz2k");

// The text a parameter travels as: a text as it is, a number or boolean as
// its decimal text. Other kinds have no form in an address and are left out.
std::optional<QString> parameterText(const QString& key, const Value& value)
{
    if (value.isString())
        return value.string().isNull() ? QStringLiteral("") : value.string();
    if (value.isNumeric())
        return value.numberText();
    MU_LOG(Log::network, QStringLiteral("Parameter '%1' left out: its value is neither a text nor a number").arg(key));
    return std::nullopt;
}

// How the pairs are written: as the signature encodes them, or as they
// travel in the address.
using Encoder = QString (*)(const QString&);

void appendEncodedParameters(QString& text, const ValueDict& parameters, const QStringList& keys, Encoder encode)
{
    for (const QString& key : keys) {
        if (const std::optional<QString> value = parameterText(key, parameters.value(key)))
            ApiAddress::appendParameterToString(text, encode(key), encode(*value));
    }
}

QString decodeQueryComponent(QString text)
{
    // The inverse of the address form: a "+" is a space, a "+" of the text
    // itself came as "%2B".
    text.replace(u'+', u' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
}

}  // namespace

QString ApiAddress::apiKey()
{
    return kBuiltInApiKey;
}

QString ApiAddress::baseAddress()
{
    // Without a trailing slash, so that appending "/api.php" never doubles it.
    QString base = Bundle::main().objectForInfoDictionaryKey(kBaseUrlSetting).toString();
    if (base.isEmpty())
        MU_LOG(Log::network, QStringLiteral("The bundle setting %1 is missing").arg(kBaseUrlSetting));
    if (base.endsWith(u'/'))
        base.chop(1);
    return base;
}

QString ApiAddress::imageURLStringWithString(const QString& path)
{
    return baseAddress() + u'/' + path;
}

QUrl ApiAddress::imageURLWithString(const QString& path)
{
    if (path.startsWith(u"http://", Qt::CaseInsensitive) || path.startsWith(u"https://", Qt::CaseInsensitive))
        return QUrl(path);
    return QUrl(imageURLStringWithString(path));
}

QUrl ApiAddress::URLWithString(const QString& method)
{
    return URLWithString(method, ValueDict());
}

QUrl ApiAddress::URLWithString(const QString& method, const ValueDict& parameters)
{
    return QUrl::fromEncoded(URLTextWithString(method, parameters).toUtf8(), QUrl::StrictMode);
}

QString ApiAddress::URLTextWithString(const QString& method, const ValueDict& parameters)
{
    QString query;
    const SessionCredentials* user = SessionCredentials::current();
    if (user && user->hasSession()) {
        appendParameterToString(query, QStringLiteral("api_c"), user->apiclientid());
        appendParameterToString(query, QStringLiteral("api_v"), QString::number(ApiVersion));
        appendParameterToString(query, QStringLiteral("api_m"), method);
        appendParameterToString(query, QStringLiteral("api_s"), user->apiaccesstoken());
        appendEncodedParameters(query, parameters, parameters.keys(), &ApiAddress::addressEncodeString);
        appendParameterToString(query, QStringLiteral("api_sig"),
                                getServerRequestSignature(method, parameters, user));
    } else {
        // Without a session every call becomes the session opening.
        appendParameterToString(query, QStringLiteral("api_v"), QString::number(ApiVersion));
        appendParameterToString(query, QStringLiteral("api_m"), QStringLiteral("api_init"));
    }
    return baseAddress() + QStringLiteral("/api.php?") + query;
}

QString ApiAddress::getServerRequestSignature(const QString& method, const ValueDict& parameters,
                                          const SessionCredentials* user)
{
    ValueDict signedParameters = parameters;
    if (!method.isNull())
        signedParameters.insert(QStringLiteral("api_m"), method);
    QStringList keys = signedParameters.keys();
    std::sort(keys.begin(), keys.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseSensitive) < 0; });

    QString text;
    appendEncodedParameters(text, signedParameters, keys, &ApiAddress::encodeString);
    if (user)
        text += user->apiaccesstoken() + user->apiclientid() + user->secret();
    text += apiKey();
    return StringExtensions::md5(text);
}

QString ApiAddress::signatureForResponse(const QByteArray& body)
{
    const SessionCredentials* user = SessionCredentials::current();
    if (!user || user->apiaccesstoken().isNull())
        return QString();
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(body);
    if (decoder.hasError()) {
        // The forum signs text; bytes that are no UTF-8 text cannot carry a valid signature.
        MU_LOG(Log::network, QStringLiteral("The answer body is not valid UTF-8; it has no valid signature"));
        return QString();
    }
    return StringExtensions::md5(text + user->apiaccesstoken() + user->apiclientid() + user->secret() + apiKey());
}

QUrl ApiAddress::URLwithCurrentAccessTokenForURL(const QUrl& url)
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

QString ApiAddress::extractApiAccessTokenFromURL(const QUrl& url)
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

QString ApiAddress::encodeString(const QString& text)
{
    QString spaced = text;
    spaced.replace(u' ', u'+');
    return StringExtensions::addingPercentEscapes(spaced);
}

QString ApiAddress::addressEncodeString(const QString& text)
{
    QString encoded;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const char* escape = c == u'&' ? "%26" : c == u'=' ? "%3D" : c == u'+' ? "%2B" : nullptr;
        if (!escape)
            continue;
        encoded += encodeString(text.mid(start, i - start)) + QLatin1StringView(escape);
        start = i + 1;
    }
    return encoded + encodeString(text.mid(start));
}

QString ApiAddress::redactedForLog(const QString& url)
{
    // The token and the signature would let whoever reads the log call the
    // forum as this user.
    static const QRegularExpression secrets(QStringLiteral("([?&](api_s|api_sig)=)[^&]*"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString text = url;
    return text.replace(secrets, QStringLiteral("\\1(hidden)"));
}

void ApiAddress::appendParameterToString(QString& text, const QString& key, const QString& value)
{
    if (!text.isEmpty())
        text += u'&';
    text += key + u'=' + value;
}

