#include "ForumSessions.h"

#include <QUuid>

namespace {
QString randomHex()
{
    return QUuid::createUuid().toString(QUuid::Id128);
}
}  // namespace

ForumSessions::Opened ForumSessions::open(const QString& knownClientId)
{
    QString clientId = knownClientId;
    if (clientId.isEmpty() || !m_clients.contains(clientId)) {
        while (m_clients.contains(QString::number(m_nextClientId)))
            ++m_nextClientId;
        clientId = QString::number(m_nextClientId++);
        m_clients.insert(clientId, Client{randomHex(), QString()});
    }
    const QString token = issueToken(clientId);
    return {clientId, m_clients.value(clientId).secret, token};
}

void ForumSessions::registerClient(const QString& clientId, const QString& secret, const QString& token)
{
    Client& client = m_clients[clientId];
    if (!client.token.isEmpty())
        m_sessions[client.token].valid = false;
    client.secret = secret;
    client.token = token;
    m_sessions.insert(token, Session{clientId, 0, true});
    ++m_issued;
}

QString ForumSessions::issueToken(const QString& clientId)
{
    Client& client = m_clients[clientId];
    if (!client.token.isEmpty())
        m_sessions[client.token].valid = false;
    client.token = randomHex();
    m_sessions.insert(client.token, Session{clientId, 0, true});
    ++m_issued;
    return client.token;
}

bool ForumSessions::hasClient(const QString& clientId) const
{
    return m_clients.contains(clientId);
}

QString ForumSessions::secret(const QString& clientId) const
{
    return m_clients.value(clientId).secret;
}

QString ForumSessions::currentToken(const QString& clientId) const
{
    return m_clients.value(clientId).token;
}

bool ForumSessions::isValid(const QString& token, const QString& clientId) const
{
    const auto found = m_sessions.constFind(token);
    return !token.isEmpty() && found != m_sessions.constEnd() && found->valid
           && found->clientId == clientId && m_clients.value(clientId).token == token;
}

bool ForumSessions::isValid(const QString& token) const
{
    const auto found = m_sessions.constFind(token);
    return found != m_sessions.constEnd() && isValid(token, found->clientId);
}

void ForumSessions::expireAll()
{
    for (Session& session : m_sessions)
        session.valid = false;
}

int ForumSessions::memberId(const QString& token) const
{
    return m_sessions.value(token).memberId;
}

void ForumSessions::bind(const QString& token, int memberId)
{
    const auto found = m_sessions.find(token);
    if (found != m_sessions.end())
        found->memberId = memberId;
}
