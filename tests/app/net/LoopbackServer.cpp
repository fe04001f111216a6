#include "LoopbackServer.h"

#include <QTimer>

namespace {
QByteArray statusText(int status)
{
    switch (status) {
    case 200: return "OK";
    case 304: return "Not Modified";
    case 404: return "Not Found";
    default: return "Error";
    }
}
}  // namespace

LoopbackServer::LoopbackServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this, [this, socket] { m_buffers.remove(socket); });
        }
    });
}

LoopbackServer::~LoopbackServer()
{
    m_server.close();
    // The sockets go with this object; they must not report back to it then.
    for (QTcpSocket* socket : findChildren<QTcpSocket*>())
        QObject::disconnect(socket, nullptr, this, nullptr);
}

QUrl LoopbackServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LoopbackServer::open(const QString& gate)
{
    m_open.insert(gate);
    const auto waiting = m_waiting;
    for (const auto& [name, socket] : waiting) {
        if (name == gate && socket)
            reply(socket, 200, "gate " + gate.toUtf8());
    }
    m_waiting.removeIf([&](const auto& entry) { return entry.first == gate; });
}

void LoopbackServer::readFrom(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    Received request;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (buffer.size() < headEnd + 4 + length)
        return;
    request.body = buffer.mid(headEnd + 4, length);
    buffer.clear();
    m_received.append(request);
    answer(socket, request);
}

void LoopbackServer::answer(QTcpSocket* socket, const Received& request)
{
    const QByteArray path = request.path.split('?').value(0);
    if (path == "/echo") {
        reply(socket, 200, "ok");
    } else if (path == "/missing") {
        replyInChunks(socket, 404, {"not ", "found ", "here"});
    } else if (path == "/notmodified") {
        reply(socket, 304, QByteArray());
    } else if (path == "/plist") {
        reply(socket, 200,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<plist version=\"1.0\"><dict><key>name</key><string>forum</string></dict></plist>\n");
    } else if (path == "/broken") {
        reply(socket, 500, "broken");
    } else if (path.startsWith("/gate/")) {
        const QString gate = QString::fromUtf8(path.mid(6));
        ++m_arrived[gate];
        if (m_open.contains(gate))
            reply(socket, 200, "gate " + gate.toUtf8());
        else
            m_waiting.append({gate, socket});
    } else {
        reply(socket, 404, QByteArray());
    }
}

void LoopbackServer::reply(QTcpSocket* socket, int status, const QByteArray& body)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + statusText(status) + "\r\nConnection: close\r\n";
    if (status != 304)
        head += "Content-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n";
    socket->write(head + "\r\n" + body);
    socket->disconnectFromHost();
}

void LoopbackServer::replyInChunks(QTcpSocket* socket, int status, const QList<QByteArray>& chunks)
{
    socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + statusText(status) +
                  "\r\nConnection: close\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\n\r\n");
    socket->flush();
    // Apart in time, so that the client reads them one by one.
    const QPointer<QTcpSocket> guarded(socket);
    for (qsizetype i = 0; i <= chunks.size(); ++i) {
        const QByteArray chunk = chunks.value(i);
        QTimer::singleShot(40 * (i + 1), this, [guarded, chunk] {
            if (!guarded)
                return;
            guarded->write(QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n");
            guarded->flush();
            if (chunk.isEmpty())
                guarded->disconnectFromHost();
        });
    }
}
