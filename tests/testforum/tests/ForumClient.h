#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QString>
#include <QUrl>

// A bare HTTP client for talking to the test forum from its tests, with the
// event loop running while the answer comes.
struct ForumReply {
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QMap<QString, QString> headers;  // names in lower case
    QByteArray body;
    bool finished = false;

    QJsonObject json() const;
    QString header(const QString& name) const { return headers.value(name.toLower()); }
};

class ForumClient {
public:
    explicit ForumClient(const QString& baseUrl) : m_baseUrl(baseUrl) {}

    ForumReply get(const QString& pathAndQuery, const QMap<QByteArray, QByteArray>& headers = {});
    ForumReply post(const QString& pathAndQuery, const QByteArray& body,
                    const QByteArray& contentType = "application/x-www-form-urlencoded");

    // A signed POST of an API method with the session's values (an unsigned
    // "api_init" when there is no session), as the client sends it.
    ForumReply call(const QString& method, const QByteArray& form = {});
    // Sets the session from an "api_init" answer.
    void adopt(const QJsonObject& init);

    QString token;
    QString clientId;
    QString secret;

private:
    ForumReply send(const QNetworkRequest& request, const QByteArray& verb, const QByteArray& body);

    QString m_baseUrl;
    QNetworkAccessManager m_manager;
};
