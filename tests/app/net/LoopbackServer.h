#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A small HTTP/1.1 server on 127.0.0.1 with an ephemeral port, on the main
// thread, that records what it was sent. Every answer closes its connection.
// Routes:
//   /echo          200 "ok"
//   /missing       404 "not found here", sent in three chunks some time apart
//   /notmodified   304
//   /plist         200 with an XML property list {name: forum}
//   /broken        500 "broken"
//   /gate/NAME     200 "gate NAME" once open(NAME) was called
class LoopbackServer : public QObject {
public:
    struct Received {
        QByteArray method;
        QByteArray path;
        QHash<QByteArray, QByteArray> headers;  // names in lower case
        QByteArray body;
    };

    LoopbackServer();
    ~LoopbackServer() override;

    QUrl url(const QString& path) const;
    void open(const QString& gate);
    int arrived(const QString& gate) const { return m_arrived.value(gate); }
    const QList<Received>& received() const { return m_received; }

private:
    void readFrom(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Received& request);
    static void reply(QTcpSocket* socket, int status, const QByteArray& body);
    void replyInChunks(QTcpSocket* socket, int status, const QList<QByteArray>& chunks);

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QList<Received> m_received;
    QHash<QString, int> m_arrived;
    QSet<QString> m_open;
    QList<std::pair<QString, QPointer<QTcpSocket>>> m_waiting;
};
