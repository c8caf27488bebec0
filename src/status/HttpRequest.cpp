#include "status/HttpRequest.h"

#include <QList>

namespace dye {
namespace {

bool isToken(const QByteArray& s) {
    if (s.isEmpty()) return false;
    for (const char c : s) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                        (c >= '0' && c <= '9') || QByteArray("!#$%&'*+-.^_`|~").contains(c);
        if (!ok) return false;
    }
    return true;
}

// Lines ended by CR LF, or by LF alone as tolerant servers accept.
QList<QByteArray> headLines(const QByteArray& head) {
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r')) l.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool readHeader(const QByteArray& line, HttpRequest& r, bool& lengthSeen) {
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0) return false;
    const QByteArray name = line.left(colon).toLower();
    if (!isToken(name)) return false;  // also refuses space before the colon
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (name == "content-length") {
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        if (!ok || n < 0 || (lengthSeen && n != r.contentLength)) return false;
        for (const char c : value)
            if (c < '0' || c > '9') return false;
        r.contentLength = n;
        lengthSeen = true;
    } else if (name == "transfer-encoding") {
        r.chunked = true;
    } else if (name == "connection") {
        const QByteArray v = value.toLower();
        if (v.contains("close"))
            r.keepAlive = false;
        else if (v.contains("keep-alive"))
            r.keepAlive = true;
    }
    return true;
}

}  // namespace

qsizetype httpHeadEnd(const QByteArray& buffer) {
    const qsizetype crlf = buffer.indexOf("\r\n\r\n");
    const qsizetype lf = buffer.indexOf("\n\n");
    if (crlf >= 0 && (lf < 0 || crlf + 2 <= lf)) return crlf + 4;
    return lf >= 0 ? lf + 2 : -1;
}

std::optional<HttpRequest> parseHttpHead(const QByteArray& head) {
    const QList<QByteArray> lines = headLines(head);
    if (lines.isEmpty()) return std::nullopt;
    const QList<QByteArray> parts = lines.first().split(' ');
    if (parts.size() != 3 || !isToken(parts[0])) return std::nullopt;
    HttpRequest r;
    r.method = parts[0];
    if (parts[2] == "HTTP/1.0")
        r.http11 = false;
    else if (parts[2] != "HTTP/1.1")
        return std::nullopt;
    r.keepAlive = r.http11;
    const QByteArray& target = parts[1];
    if (!target.startsWith('/')) return std::nullopt;
    const qsizetype query = target.indexOf('?');
    r.path = query < 0 ? target : target.left(query);
    bool lengthSeen = false;
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (!readHeader(lines[i], r, lengthSeen)) return std::nullopt;
    return r;
}

QByteArray httpReason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 413:
            return "Content Too Large";
        case 431:
            return "Request Header Fields Too Large";
        case 503:
            return "Service Unavailable";
        default:
            return "Status";
    }
}

QByteArray httpResponseBytes(const HttpResponse& r, bool keepAlive, bool head) {
    QByteArray out =
        "HTTP/1.1 " + QByteArray::number(r.status) + ' ' + httpReason(r.status) + "\r\n";
    if (!r.contentType.isEmpty()) out += "Content-Type: " + r.contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
    out += "Cache-Control: no-store\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    for (const auto& [name, value] : r.headers) out += name + ": " + value + "\r\n";
    out += "\r\n";
    if (!head) out += r.body;
    return out;
}

}  // namespace dye
