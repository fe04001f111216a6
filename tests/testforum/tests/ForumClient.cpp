#include "ForumClient.h"

#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QNetworkRequest>

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

void ForumClient::adopt(const QJsonObject& init)
{
    token = init.value(QStringLiteral("apiaccesstoken")).toString();
    secret = init.value(QStringLiteral("secret")).toString();
    clientId = QString::number(init.value(QStringLiteral("apiclientid")).toInteger());
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
    if (!TestSupport::waitFor([&result] { return result.finished; })) {
        // The lambda must not outlive `result`.
        QObject::disconnect(reply, nullptr, nullptr, nullptr);
        reply->abort();
    }
    reply->deleteLater();
    return result;
}
