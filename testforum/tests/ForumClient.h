#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPair>
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
    // "response" of the answer.
    QJsonObject response() const { return json().value(QStringLiteral("response")).toObject(); }
    QString header(const QString& name) const { return headers.value(name.toLower()); }
};

class ForumClient {
public:
    struct File {
        QString name;
        QString fileName;
        QByteArray data;
    };

    explicit ForumClient(const QString& baseUrl) : m_baseUrl(baseUrl) {}

    ForumReply get(const QString& pathAndQuery, const QMap<QByteArray, QByteArray>& headers = {});
    ForumReply post(const QString& pathAndQuery, const QByteArray& body,
                    const QByteArray& contentType = "application/x-www-form-urlencoded");

    // A signed POST of an API method with the session's values (an unsigned
    // "api_init" when there is no session), as the client sends it.
    ForumReply call(const QString& method, const QByteArray& form = {});
    // A signed GET with the parameters in the query (encoded and signed by the
    // forum's own rules).
    ForumReply callGet(const QString& method, const QList<QPair<QString, QString>>& parameters);
    // A signed multipart POST.
    ForumReply callMultipart(const QString& method, const QList<QPair<QString, QString>>& fields,
                             const QList<File>& files);
    // Sets the session from an "api_init" answer.
    void adopt(const QJsonObject& init);
    // "api_init" when there is no session, then "login_login"; true when signed in.
    bool signIn(const QString& username, const QString& password);

    QString token;
    QString clientId;
    QString secret;

private:
    ForumReply send(const QNetworkRequest& request, const QByteArray& verb, const QByteArray& body);
    QString signedAddress(const QString& method, const QByteArray& parameters) const;

    QString m_baseUrl;
    QNetworkAccessManager m_manager;
};

// A form body: keys and values percent-encoded.
QByteArray formBody(const QList<QPair<QString, QString>>& pairs);
