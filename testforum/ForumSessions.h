#pragma once

#include <QHash>
#include <QString>

// API clients and their sessions as the forum keeps them: a client has an id and
// a secret, and one current access token at a time; a token may have a member
// signed in on it. Not locked: the forum guards it.
class ForumSessions {
public:
    struct Opened {
        QString clientId;
        QString secret;
        QString token;
    };

    // "api_init": a known client keeps its id and secret and gets a new token
    // (its old one stops working); anyone else becomes a new client.
    Opened open(const QString& knownClientId);
    void registerClient(const QString& clientId, const QString& secret, const QString& token);

    bool hasClient(const QString& clientId) const;
    QString secret(const QString& clientId) const;
    QString currentToken(const QString& clientId) const;
    // The token is the client's current one and has not been expired.
    bool isValid(const QString& token, const QString& clientId) const;
    bool isValid(const QString& token) const;
    void expireAll();
    int issuedCount() const { return m_issued; }

    int memberId(const QString& token) const;
    void bind(const QString& token, int memberId);

private:
    struct Client {
        QString secret;
        QString token;
    };
    struct Session {
        QString clientId;
        int memberId = 0;
        bool valid = true;
    };
    QString issueToken(const QString& clientId);

    QHash<QString, Client> m_clients;
    QHash<QString, Session> m_sessions;
    int m_nextClientId = 101;
    int m_issued = 0;
};
