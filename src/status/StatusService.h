#pragma once

#include <QHostAddress>
#include <QString>

#include <functional>
#include <memory>

#include "status/HttpListener.h"
#include "status/StatusSnapshot.h"

namespace dye {

class LangText;
class StatusCounters;

// Where the status service listens: "PORT", "ADDRESS:PORT" or
// "[IPv6]:PORT"; the address is 127.0.0.1 when none is given. False with
// the reason when the text is not one of these.
bool parseListenAddress(const QString& text, QHostAddress* address, quint16* port, QString* error);

// The read-only status service: GET (or HEAD) /api/status, /metrics and /.
// Any other method is answered 405 with "Allow: GET, HEAD", any other path
// 404. It reads the station through the sources it is given, one snapshot
// per request, and changes nothing.
class StatusService {
  public:
    struct Sources {
        std::function<StatusSnapshot()> snapshot;
        const StatusCounters* counters = nullptr;
        const LangText* lang = nullptr;
    };

    explicit StatusService(Sources sources, HttpListener::Limits limits = {});

    bool listen(const QHostAddress& address, quint16 port, QString* error) {
        return listener_.listen(address, port, error);
    }
    quint16 port() const { return listener_.port(); }
    const HttpListener& listener() const { return listener_; }

    // The answer to one request.
    HttpResponse respond(const HttpRequest& request) const;

  private:
    Sources sources_;
    HttpListener listener_;
};

}  // namespace dye
