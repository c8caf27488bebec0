#pragma once

#include <QHostAddress>
#include <QObject>

#include <functional>

#include "status/HttpRequest.h"

class QTcpServer;
class QTcpSocket;

namespace dye {

// A small HTTP/1.1 server on the thread that creates it (the station's), for
// read-only answers. It reads request heads only and keeps every client in
// bounds, so that a slow or hostile one never holds up the thread:
// - a head larger than the limit is answered 431 (a body announced larger
//   than it 413) and the connection closed;
// - beyond the connection limit a new connection is closed at once;
// - a connection that has not sent a whole head within the idle time (after
//   it opened or since its last answer) is closed, as is one whose answers
//   the client does not read;
// - answers are queued on the socket and written as the client takes them.
// A request with a body is answered and its connection closed (bodies are
// never read).
class HttpListener : public QObject {
  public:
    struct Limits {
        qsizetype maxRequestBytes = 8 * 1024;
        int maxConnections = 32;
        int idleMs = 5000;
        qint64 maxUnsentBytes = 4 * 1024 * 1024;  // answers the client has not taken
    };
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    HttpListener(Handler handler, Limits limits, QObject* parent = nullptr);
    ~HttpListener() override;

    // Starts listening; false with the reason when the address cannot be bound.
    bool listen(const QHostAddress& address, quint16 port, QString* error);
    quint16 port() const;
    int connections() const { return open_; }
    // Connections closed at once because the limit was reached.
    quint64 refusedConnections() const { return refused_; }

  private:
    struct Connection;
    void accept();
    void serve(QTcpSocket* socket, Connection& connection);
    // Queues the answer; false when the connection takes no more requests.
    bool answer(QTcpSocket* socket, Connection& connection, const HttpResponse& response,
                bool keepAlive, bool head);

    Handler handler_;
    Limits limits_;
    QTcpServer* server_;
    int open_ = 0;
    quint64 refused_ = 0;
};

}  // namespace dye
