#include "ForumHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

// A blocking socket stream with the server's time-outs that remembers what it read.
class WireStream : public httplib::Stream {
public:
    WireStream(socket_t sock, int readTimeoutMs, int writeTimeoutMs)
        : m_sock(sock), m_readTimeoutMs(readTimeoutMs), m_writeTimeoutMs(writeTimeoutMs) {}

    bool is_readable() const override { return m_offset < m_buffer.size() || wait(POLLIN, m_readTimeoutMs); }
    bool is_writable() const override { return !aborted && wait(POLLOUT, m_writeTimeoutMs); }

    ssize_t read(char* ptr, size_t size) override
    {
        if (m_offset >= m_buffer.size()) {
            if (!wait(POLLIN, m_readTimeoutMs))
                return -1;
            char chunk[16384];
            const ssize_t got = ::recv(m_sock, chunk, sizeof chunk, 0);
            if (got <= 0)
                return got;
            m_buffer.assign(chunk, std::size_t(got));
            m_offset = 0;
            wire.append(chunk, std::size_t(got));
        }
        const std::size_t n = std::min(size, m_buffer.size() - m_offset);
        std::memcpy(ptr, m_buffer.data() + m_offset, n);
        m_offset += n;
        return ssize_t(n);
    }

    ssize_t write(const char* ptr, size_t size) override
    {
        if (aborted || !wait(POLLOUT, m_writeTimeoutMs))
            return -1;
        return ::send(m_sock, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override { address(true, ip, port); }
    void get_local_ip_and_port(std::string& ip, int& port) const override { address(false, ip, port); }
    socket_t socket() const override { return m_sock; }

    std::string wire;
    bool aborted = false;

private:
    bool wait(short events, int timeoutMs) const
    {
        pollfd fd{m_sock, events, 0};
        int ready = 0;
        do {
            ready = ::poll(&fd, 1, timeoutMs);
        } while (ready < 0 && errno == EINTR);
        return ready > 0;
    }

    void address(bool remote, std::string& ip, int& port) const
    {
        sockaddr_storage storage{};
        socklen_t length = sizeof storage;
        auto* addr = reinterpret_cast<sockaddr*>(&storage);
        if ((remote ? ::getpeername(m_sock, addr, &length) : ::getsockname(m_sock, addr, &length)) != 0)
            return;
        char text[INET6_ADDRSTRLEN] = {};
        if (storage.ss_family == AF_INET) {
            const auto* in = reinterpret_cast<sockaddr_in*>(&storage);
            ::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
            port = ntohs(in->sin_port);
        } else if (storage.ss_family == AF_INET6) {
            const auto* in = reinterpret_cast<sockaddr_in6*>(&storage);
            ::inet_ntop(AF_INET6, &in->sin6_addr, text, sizeof text);
            port = ntohs(in->sin6_port);
        }
        ip = text;
    }

    socket_t m_sock;
    int m_readTimeoutMs;
    int m_writeTimeoutMs;
    std::string m_buffer;
    std::size_t m_offset = 0;
};

thread_local WireStream* currentStream = nullptr;

}  // namespace

std::string ForumHttpServer::wireBytes()
{
    return currentStream ? currentStream->wire : std::string();
}

void ForumHttpServer::abortConnection()
{
    if (currentStream)
        currentStream->aborted = true;
}

bool ForumHttpServer::process_and_close_socket(socket_t sock)
{
    WireStream stream(sock, int(read_timeout_sec_ * 1000 + read_timeout_usec_ / 1000),
                      int(write_timeout_sec_ * 1000 + write_timeout_usec_ / 1000));
    currentStream = &stream;
    bool closed = false;
    const bool ok = process_request(stream, true, closed, nullptr);
    currentStream = nullptr;
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
}
