#include "ForumRawRoutes.h"

#include <chrono>
#include <cstring>
#include <memory>

void ForumRawRoutes::install(httplib::Server& server, Log log)
{
    m_log = std::move(log);
    const auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        answer(request, response);
    };
    for (const char* path : {"/echo", "/missing", "/notmodified", "/plist", "/broken", R"(/gate/(.+))"}) {
        server.Get(path, handler);
        server.Post(path, handler);
    }
}

bool ForumRawRoutes::pause(int ms)
{
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stopping; });
}

void ForumRawRoutes::open(const QString& gate)
{
    m_open.insert(gate);
    m_wake.notify_all();
}

void ForumRawRoutes::waitAtGate(const QString& gate)
{
    std::unique_lock lock(m_mutex);
    ++m_arrived[gate];
    m_wake.notify_all();
    m_wake.wait(lock, [&] { return m_stopping || m_open.contains(gate); });
}

void ForumRawRoutes::answer(const httplib::Request& request, httplib::Response& response)
{
    const qint64 number = m_log.arrive(request);
    const std::string& path = request.path;
    int status = 200;
    QByteArray body;
    if (path == "/echo") {
        body = "ok";
    } else if (path == "/missing") {
        // The error body comes in three pieces, apart in time, so that the
        // client reads it piece by piece.
        response.status = 404;
        auto sent = std::make_shared<int>(0);
        response.set_chunked_content_provider("text/plain", [this, sent](std::size_t, httplib::DataSink& sink) {
            static const char* pieces[] = {"not ", "found ", "here"};
            if (*sent == 3 || !pause(40)) {
                sink.done();
                return true;
            }
            const char* piece = pieces[(*sent)++];
            return sink.write(piece, std::strlen(piece));
        });
        m_log.finish(number, 404, "not found here");
        return;
    } else if (path == "/notmodified") {
        status = 304;
    } else if (path == "/plist") {
        body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<plist version=\"1.0\"><dict><key>name</key><string>forum</string></dict></plist>\n";
    } else if (path == "/broken") {
        status = 500;
        body = "broken";
    } else {
        const QString gate = QString::fromStdString(request.matches[1].str());
        waitAtGate(gate);
        body = "gate " + gate.toUtf8();
    }
    m_log.finish(number, status, body);
    response.status = status;
    if (status != 304)
        response.set_content(body.toStdString(), "text/plain");
}
