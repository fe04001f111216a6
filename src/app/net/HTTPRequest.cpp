#include "app/net/HTTPRequest.h"

#include "app/net/ApiClient.h"
#include "platform/foundation/Reachability.h"
#include "platform/foundation/StringExtensions.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

const QString defaultBoundary = QStringLiteral("---------------------------14737809831466499882746641449");

// A form value: "&" and "+" would split or change the value on the server.
QString formEncoded(const QString& text)
{
    QString encoded = StringExtensions::addingPercentEscapes(text);
    encoded.replace(u'&', QStringLiteral("%26"));
    encoded.replace(u'+', QStringLiteral("%2B"));
    return encoded;
}

QString formPairs(const QString& key, const Value& value)
{
    if (value.isString())
        return key + u'=' + formEncoded(value.string());
    if (!value.isList())
        return QString();
    QStringList pairs;
    for (const Value& element : value.list()) {
        if (element.isString())
            pairs.append(key + QStringLiteral("[]=") + formEncoded(element.string()));
        else if (element.isNumeric())
            pairs.append(key + QStringLiteral("[]=") + formEncoded(QString::number(element.toInt())));
    }
    return pairs.join(u'&');
}

QByteArray formBody(const ValueDict& parameters)
{
    QString body;
    int remaining = parameters.size();
    for (const auto& [key, value] : parameters) {
        body += formPairs(key, value);
        if (--remaining > 0)
            body += u'&';
    }
    return body.toUtf8();
}

}  // namespace

HTTPRequest::HTTPRequest() = default;
HTTPRequest::~HTTPRequest() = default;

void HTTPRequest::addParameter(const QString& key, const Value& value)
{
    if (!value.isString())
        return;
    if (!m_postParameters)
        m_postParameters.emplace();
    m_postParameters->insert(key, value);
}

void HTTPRequest::addParameters(const ValueDict& parameters)
{
    if (!m_postParameters)
        m_postParameters.emplace();
    for (const auto& [key, value] : parameters)
        m_postParameters->insert(key, value);
}

void HTTPRequest::addHeaders(const ValueDict& headers)
{
    for (const auto& [name, value] : headers)
        m_headers.insert(name, value);
}

void HTTPRequest::addFile(const QString& parameterName, const QString& fileName, const QByteArray& fileData,
                          const QString& contentType)
{
    const PostFile file{parameterName, fileName, fileData, contentType};
    for (PostFile& existing : m_postFiles) {
        if (existing.fileName == fileName) {
            existing = file;
            return;
        }
    }
    m_postFiles.append(file);
}

void HTTPRequest::setPostData(const QString& text)
{
    m_postData = text;
}

void HTTPRequest::requestUrl(const QUrl&) {}

namespace {
// The request as its callback's argument; a request not owned through a
// shared_ptr is handed over without owning it.
std::shared_ptr<HTTPRequest> argumentFor(HTTPRequest* request)
{
    if (std::shared_ptr<HTTPRequest> owned = request->weak_from_this().lock())
        return owned;
    return std::shared_ptr<HTTPRequest>(std::shared_ptr<HTTPRequest>(), request);
}
}  // namespace

void HTTPRequest::callSuccess()
{
    Trackable* target = m_callbackObject.get();
    if (!target || !m_successSelector.isSet())
        return;
    // Cleared before the call, so a callback that re-enters cannot fire it twice.
    const Selector selector = m_successSelector;
    m_callbackObject.reset();
    m_successSelector = Selector();
    selector.perform(target, argumentFor(this));
}

void HTTPRequest::callFailure()
{
    Trackable* target = m_callbackObject.get();
    if (!target || !m_failureSelector.isSet())
        return;
    const Selector selector = m_failureSelector;
    m_callbackObject.reset();
    m_failureSelector = Selector();
    selector.perform(target, argumentFor(this));
}

QByteArray HTTPRequest::getPostData()
{
    if (!m_postFiles.isEmpty()) {
        if (m_boundary.isEmpty())
            m_boundary = defaultBoundary;
        const QByteArray delimiter = "\r\n--" + m_boundary.toUtf8() + "\r\n";
        QByteArray body;
        for (const PostFile& file : std::as_const(m_postFiles)) {
            body += delimiter;
            body += QStringLiteral("Content-Disposition: form-data; name=\"%1\"; filename=\"%2\"\r\n")
                        .arg(file.parameterName, file.fileName)
                        .toUtf8();
            body += QStringLiteral("Content-Type: %1\r\n\r\n").arg(file.contentType).toUtf8();
            body += file.fileData;
        }
        if (m_postParameters) {
            for (const auto& [key, value] : *m_postParameters) {
                if (!value.isString() && !value.isNumeric())
                    continue;
                body += delimiter;
                body += QStringLiteral("Content-Disposition: form-data; name=\"%1\"\r\n\r\n").arg(key).toUtf8();
                body += value.toString().toUtf8();
            }
        }
        body += "\r\n--" + m_boundary.toUtf8() + "--\r\n";
        return body;
    }
    if (m_postParameters)
        return formBody(*m_postParameters);
    if (!m_postData.isNull())
        return StringExtensions::addingPercentEscapes(m_postData).replace(u'&', QStringLiteral("%26")).toUtf8();
    return QByteArray();
}

int HTTPRequest::getDefaultTimeout()
{
    // Until the route is known, the longer wait: a slow cellular answer is
    // not cut short.
    return Reachability::isCellular().value_or(true) ? 60 : 20;
}

QNetworkAccessManager* HTTPRequest::networkAccessManager()
{
    return ApiClient::current().networkAccessManager();
}

int HTTPRequest::timeoutSeconds() const
{
    return m_timeoutInterval >= 1 ? m_timeoutInterval : getDefaultTimeout();
}

QNetworkRequest HTTPRequest::platformRequest(const QUrl& url)
{
    return QNetworkRequest(url);
}

QByteArray HTTPRequest::attachBody(QNetworkRequest& request)
{
    const QByteArray body = getPostData();
    if (body.isEmpty())
        return body;
    if (!m_postFiles.isEmpty())
        request.setRawHeader("Content-Type", "multipart/form-data; boundary=" + m_boundary.toUtf8());
    else
        request.setRawHeader("Content-Type", "application/x-www-form-urlencoded");
    return body;
}

std::optional<HTTPResponse> HTTPRequest::responseHead(const QNetworkReply& reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return std::nullopt;
    return HTTPResponse(status.toInt(), reply.rawHeaderPairs());
}

void HTTPRequest::setResponseHead(const HTTPResponse& response)
{
    m_httpResponse = response;
    const int status = response.statusCode();
    if (status < 200 || status >= 400)
        m_error = Error(QStringLiteral("request"), status);
    else
        m_error = Error();
}

bool HTTPRequest::isTransportFailure(const QNetworkReply& reply)
{
    const QNetworkReply::NetworkError error = reply.error();
    if (error == QNetworkReply::NoError)
        return false;
    // Connection, timeout and proxy errors sit below the content errors; the
    // others come with an HTTP status and are answers.
    return error < QNetworkReply::ContentAccessDenied || !responseHead(reply);
}
