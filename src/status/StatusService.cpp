#include "status/StatusService.h"

#include "status/StatusCounters.h"
#include "status/StatusJson.h"
#include "status/StatusMetrics.h"
#include "status/StatusPage.h"

namespace dye {

bool parseListenAddress(const QString& text, QHostAddress* address, quint16* port, QString* error) {
    QString host = QStringLiteral("127.0.0.1");
    QString portText = text.trimmed();
    const qsizetype colon = portText.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        host = portText.left(colon);
        portText = portText.mid(colon + 1);
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
    }
    bool ok = false;
    const uint p = portText.toUInt(&ok);
    QHostAddress a;
    if (!ok || p > 65535 || !a.setAddress(host)) {
        *error = QStringLiteral(
                     "--status-http needs ADDRESS:PORT (an IP address and a port number up to "
                     "65535, e.g. 127.0.0.1:8080), not \"%1\"")
                     .arg(text);
        return false;
    }
    *address = a;
    *port = quint16(p);
    return true;
}

StatusService::StatusService(Sources sources, HttpListener::Limits limits)
    : sources_(std::move(sources)),
      listener_([this](const HttpRequest& r) { return respond(r); }, limits) {}

HttpResponse StatusService::respond(const HttpRequest& request) const {
    const QByteArray& path = request.path;
    const bool known = path == "/" || path == "/api/status" || path == "/metrics";
    if (request.method != "GET" && request.method != "HEAD")
        return {405,
                "text/plain; charset=utf-8",
                "read-only: only GET and HEAD are answered\n",
                {{"Allow", "GET, HEAD"}}};
    if (!known) return {404, "text/plain; charset=utf-8", "not found\n", {}};
    const StatusSnapshot snapshot = sources_.snapshot();
    if (path == "/api/status")
        return {200, "application/json; charset=utf-8", statusJson(snapshot), {}};
    if (path == "/metrics")
        return {200,
                "text/plain; version=0.0.4; charset=utf-8",
                statusMetrics(snapshot, *sources_.counters),
                {}};
    return {200, "text/html; charset=utf-8", statusPage(*sources_.lang, snapshot.language), {}};
}

}  // namespace dye
