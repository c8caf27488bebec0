#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <optional>

namespace dye {

// What the status service reads of an HTTP/1.x request: its request line and
// the few headers that decide how the connection goes on. Bodies are never
// read; a request that announces one is answered and its connection closed.
struct HttpRequest {
    QByteArray method;
    QByteArray path;  // the target without its query
    bool http11 = true;
    bool keepAlive = true;  // HTTP/1.1 unless "Connection: close"; 1.0 only with keep-alive
    qint64 contentLength = 0;
    bool chunked = false;  // Transfer-Encoding given: a body of unknown length
    bool hasBody() const { return chunked || contentLength > 0; }
};

struct HttpResponse {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;  // extra headers
};

// The end of the request head (request line and headers) in `buffer`: the
// offset just past its blank line, or -1 when it has not all arrived.
qsizetype httpHeadEnd(const QByteArray& buffer);

// Parses a whole request head; nullopt when it is not a well-formed HTTP/1.0
// or HTTP/1.1 request (answered 400).
std::optional<HttpRequest> parseHttpHead(const QByteArray& head);

// The response as bytes on the wire: status line, Content-Type,
// Content-Length, Connection, the extra headers; the body unless `head`
// (a HEAD request gets the headers of GET).
QByteArray httpResponseBytes(const HttpResponse& response, bool keepAlive, bool head);

// The reason phrase of the statuses the service answers.
QByteArray httpReason(int status);

}  // namespace dye
