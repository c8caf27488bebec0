#include "status/HttpListener.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace dye {

// What a connection keeps between its reads; a child of its socket.
struct HttpListener::Connection : QObject {
    QByteArray buffer;
    QTimer deadline;
    bool closing = false;  // the last answer is queued; nothing more is read
};

HttpListener::HttpListener(Handler handler, Limits limits, QObject* parent)
    : QObject(parent),
      handler_(std::move(handler)),
      limits_(limits),
      server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

HttpListener::~HttpListener() = default;

bool HttpListener::listen(const QHostAddress& address, quint16 port, QString* error) {
    if (server_->listen(address, port)) return true;
    if (error) *error = server_->errorString();
    return false;
}

quint16 HttpListener::port() const {
    return server_->serverPort();
}

void HttpListener::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        if (open_ >= limits_.maxConnections) {
            ++refused_;
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++open_;
        auto* c = new Connection;
        c->setParent(socket);
        c->deadline.setSingleShot(true);
        c->deadline.setInterval(limits_.idleMs);
        // Too slow to send a whole request, or to take the answers: closed.
        connect(&c->deadline, &QTimer::timeout, socket, [socket] { socket->abort(); });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, c] { serve(socket, *c); });
        // The last answer sent: the sending side is shut, and the client's
        // close (or the deadline) ends the connection. What the client still
        // sends is read and dropped, so that its unread bytes never reset the
        // connection before the answer is read.
        connect(socket, &QTcpSocket::bytesWritten, socket, [socket, c] {
            if (c->closing && socket->bytesToWrite() == 0)
                ::shutdown(int(socket->socketDescriptor()), SHUT_WR);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            --open_;
            socket->deleteLater();
        });
        c->deadline.start();
    }
}

void HttpListener::serve(QTcpSocket* socket, Connection& connection) {
    Connection* c = &connection;
    if (c->closing) {
        socket->readAll();  // nothing more is read on a connection being closed
        return;
    }
    c->buffer += socket->readAll();
    while (!c->closing) {
        const qsizetype end = httpHeadEnd(c->buffer);
        if (end < 0 || end > limits_.maxRequestBytes) {
            if (c->buffer.size() > limits_.maxRequestBytes || end > limits_.maxRequestBytes)
                answer(socket, *c, {431, "text/plain; charset=utf-8", "request too large\n", {}},
                       false, false);
            return;
        }
        const std::optional<HttpRequest> request = parseHttpHead(c->buffer.left(end));
        c->buffer.remove(0, end);
        if (!request) {
            answer(socket, *c, {400, "text/plain; charset=utf-8", "bad request\n", {}}, false,
                   false);
            return;
        }
        if (request->contentLength > limits_.maxRequestBytes) {
            answer(socket, *c, {413, "text/plain; charset=utf-8", "request too large\n", {}}, false,
                   false);
            return;
        }
        const HttpResponse response = handler_(*request);
        // The body is never read: its connection ends with the answer.
        if (!answer(socket, *c, response, request->keepAlive && !request->hasBody(),
                    request->method == "HEAD"))
            return;
    }
}

bool HttpListener::answer(QTcpSocket* socket, Connection& connection, const HttpResponse& response,
                          bool keepAlive, bool head) {
    Connection* c = &connection;
    socket->write(httpResponseBytes(response, keepAlive, head));
    // A client that sends requests without taking the answers is cut off.
    if (socket->bytesToWrite() > limits_.maxUnsentBytes) {
        socket->abort();
        return false;
    }
    c->closing = !keepAlive;
    if (c->closing) c->buffer.clear();
    // The idle time counts again from this answer.
    c->deadline.start();
    return !c->closing;
}

}  // namespace dye
