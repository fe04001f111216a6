#pragma once

#include <httplib.h>

#include <string>

// The HTTP server of the test forum: cpp-httplib's server, one request per
// connection, that keeps the bytes of the request exactly as they came (a
// multipart body too, which the library otherwise only hands over taken apart)
// and that can drop a connection without sending a byte of its answer.
//
// Both calls below are meant for the handlers: they act on the connection that
// the calling server thread is answering.
class ForumHttpServer : public httplib::Server {
public:
    // Everything read from the connection so far: the head and, once a handler
    // runs, the whole body. Empty outside a connection.
    static std::string wireBytes();
    // Nothing more is written to the connection; it is closed once the handler returns.
    static void abortConnection();

private:
    bool process_and_close_socket(socket_t sock) override;
};
