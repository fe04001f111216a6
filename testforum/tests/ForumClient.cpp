#include "ForumClient.h"

#include "ForumSignature.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkRequest>
#include <QThread>

#include <functional>

namespace {

bool waitFor(const std::function<bool()>& condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

QByteArray encode(const QString& text)
{
    return QUrl::toPercentEncoding(text);
}

}  // namespace

QByteArray formBody(const QList<QPair<QString, QString>>& pairs)
{
    QByteArray body;
    for (const auto& [key, value] : pairs) {
        if (!body.isEmpty())
            body += '&';
        body += encode(key) + '=' + encode(value);
    }
    return body;
}

QJsonObject ForumReply::json() const
{
    return QJsonDocument::fromJson(body).object();
}

ForumReply ForumClient::get(const QString& pathAndQuery, const QMap<QByteArray, QByteArray>& headers)
{
    QNetworkRequest request(QUrl(m_baseUrl + pathAndQuery));
    for (auto it = headers.begin(); it != headers.end(); ++it)
        request.setRawHeader(it.key(), it.value());
    return send(request, "GET", {});
}

ForumReply ForumClient::post(const QString& pathAndQuery, const QByteArray& body, const QByteArray& contentType)
{
    QNetworkRequest request(QUrl(m_baseUrl + pathAndQuery));
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    return send(request, "POST", body);
}

QString ForumClient::signedAddress(const QString& method, const QByteArray& parameters) const
{
    const QByteArray query = "api_c=" + clientId.toUtf8() + "&api_v=6&api_m=" + method.toUtf8() + "&api_s="
                             + token.toUtf8() + (parameters.isEmpty() ? QByteArray() : "&" + parameters);
    const QString signature = ForumSignature::requestSignature(query, token, clientId, secret);
    return QStringLiteral("/api.php?") + QString::fromLatin1(query) + QStringLiteral("&api_sig=") + signature;
}

ForumReply ForumClient::call(const QString& method, const QByteArray& form)
{
    if (token.isEmpty())
        return post(QStringLiteral("/api.php?api_v=6&api_m=api_init"), form);
    // A POST signs the method alone.
    const QByteArray text = "api_m=" + method.toUtf8() + token.toUtf8() + clientId.toUtf8()
                            + secret.toUtf8() + "Qw7rTz2k";
    const QString signature =
        QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex());
    return post(QStringLiteral("/api.php?api_c=%1&api_v=6&api_m=%2&api_s=%3&api_sig=%4")
                    .arg(clientId, method, token, signature),
                form);
}

ForumReply ForumClient::callGet(const QString& method, const QList<QPair<QString, QString>>& parameters)
{
    QNetworkRequest request(QUrl(m_baseUrl + signedAddress(method, formBody(parameters))));
    return send(request, "GET", {});
}

ForumReply ForumClient::callMultipart(const QString& method, const QList<QPair<QString, QString>>& fields,
                                      const QList<File>& files)
{
    const QByteArray boundary = "tfboundary";
    QByteArray body;
    for (const File& file : files) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + file.name.toUtf8()
                + "\"; filename=\"" + file.fileName.toUtf8() + "\"\r\nContent-Type: image/jpeg\r\n\r\n" + file.data
                + "\r\n";
    }
    for (const auto& [key, value] : fields) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + key.toUtf8() + "\"\r\n\r\n"
                + value.toUtf8() + "\r\n";
    }
    body += "--" + boundary + "--\r\n";
    QNetworkRequest request(QUrl(m_baseUrl + signedAddress(method, {})));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("multipart/form-data; boundary=" + boundary));
    return send(request, "POST", body);
}

void ForumClient::adopt(const QJsonObject& init)
{
    token = init.value(QStringLiteral("apiaccesstoken")).toString();
    secret = init.value(QStringLiteral("secret")).toString();
    clientId = QString::number(init.value(QStringLiteral("apiclientid")).toInteger());
}

bool ForumClient::signIn(const QString& username, const QString& password)
{
    if (token.isEmpty())
        adopt(call(QStringLiteral("api_init"), "clientname=test").json());
    const QString digest = ForumSignature::md5Hex(password.toUtf8());
    const ForumReply login = call(QStringLiteral("login_login"),
                                  formBody({{QStringLiteral("cookieuser"), QStringLiteral("true")},
                                            {QStringLiteral("mu_login_username"), username},
                                            {QStringLiteral("mu_login_md5password_utf"), digest}}));
    return login.response().value(QStringLiteral("errormessage")).toString() == QStringLiteral("redirect_login");
}

ForumReply ForumClient::send(const QNetworkRequest& request, const QByteArray& verb, const QByteArray& body)
{
    QNetworkReply* reply = m_manager.sendCustomRequest(request, verb, body);
    ForumReply result;
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, &result] {
        result.error = reply->error();
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        for (const auto& [name, value] : reply->rawHeaderPairs())
            result.headers.insert(QString::fromLatin1(name).toLower(), QString::fromLatin1(value));
        result.body = reply->readAll();
        result.finished = true;
    });
    if (!waitFor([&result] { return result.finished; })) {
        // The lambda must not outlive `result`.
        QObject::disconnect(reply, nullptr, nullptr, nullptr);
        reply->abort();
    }
    reply->deleteLater();
    return result;
}
