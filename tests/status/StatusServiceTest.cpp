// The status service over real sockets on 127.0.0.1, on the Qt event loop:
// what it answers, what it refuses, and that a load of requests leaves a
// job on the simulated machine to end as it would without it.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <vector>

#include "TestFiles.h"
#include "app/StationStatus.h"
#include "run/RunFixture.h"
#include "status/StatusService.h"

namespace dye::test {
namespace {

// Generous real-time limit for anything a socket waits for.
constexpr int kWaitMs = 20000;

// Runs the event loop until `done` holds or the limit passes.
bool waitUntil(const std::function<bool()>& done, int limitMs = kWaitMs) {
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(limitMs);
    while (!done() && limit.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

// A client connection that collects what the server sends.
struct Client {
    QTcpSocket socket;
    QByteArray received;
    bool closed = false;

    explicit Client(quint16 port) {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
        QObject::connect(&socket, &QTcpSocket::disconnected, [this] { closed = true; });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }
    bool connected() {
        return waitUntil([this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }
    // The next whole answer (head and its Content-Length of body, or the
    // head alone), taken off.
    QByteArray answer(bool headOnly = false) {
        QByteArray out;
        waitUntil([&] {
            const qsizetype end = received.indexOf("\r\n\r\n");
            if (end < 0) return closed;
            const qsizetype at = received.indexOf("Content-Length: ");
            const qsizetype length =
                headOnly ? 0
                         : received.mid(at + 16, received.indexOf('\r', at) - at - 16).toLongLong();
            if (received.size() < end + 4 + length) return closed;
            out = received.left(end + 4 + length);
            received.remove(0, out.size());
            return true;
        });
        return out;
    }
    bool waitClosed() {
        return waitUntil([this] { return closed; });
    }
};

class StatusServiceTest : public RunFixture {
  protected:
    void SetUp() override {
        ensureCoreApp();
        valve(1, "SODA", "40");
        valve(3, "HAC", "20");
        startRun();
        limits.idleMs = 2000;
    }
    void serve() {
        service = std::make_unique<StatusService>(
            StatusService::Sources{[this] { return stationStatus(*station); },
                                   &station->statusCounters(), &station->lang()},
            limits);
        QString error;
        ASSERT_TRUE(service->listen(QHostAddress::LocalHost, 0, &error)) << error.toStdString();
    }
    QByteArray ask(const QByteArray& request, bool headOnly = false) {
        Client c(service->port());
        c.socket.write(request);
        return c.answer(headOnly);
    }
    HttpListener::Limits limits;
    std::unique_ptr<StatusService> service;
};

TEST_F(StatusServiceTest, AnswersTheThreeReadsAndRefusesEverythingElse) {
    queue(job("J-1", "1", "0", {{0, {"SODA", "300"}}}));
    station->plant().queueChanged();
    serve();
    const QByteArray status = ask("GET /api/status HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_TRUE(status.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(status.contains("Content-Type: application/json"));
    EXPECT_TRUE(status.contains("{\"bucket\":\"1\",\"order\":\"J-1\"}"));
    EXPECT_TRUE(ask("GET /metrics?x=1 HTTP/1.1\r\n\r\n").contains("dyestation_queue_length 1\n"));
    const QByteArray page = ask("GET / HTTP/1.0\r\n\r\n");
    EXPECT_TRUE(page.contains("Content-Type: text/html"));
    EXPECT_TRUE(page.contains("fetch('/api/status'"));
    // HEAD: the head of GET, no body.
    const QByteArray head = ask("HEAD /metrics HTTP/1.1\r\n\r\n", true);
    EXPECT_TRUE(head.startsWith("HTTP/1.1 200"));
    EXPECT_TRUE(head.endsWith("\r\n\r\n"));

    // Nothing can be changed, whatever the method.
    for (const QByteArray method : {"POST", "PUT", "DELETE", "PATCH"}) {
        const QByteArray refused =
            ask(method + " /api/status HTTP/1.1\r\nContent-Length: 2\r\n\r\n{}");
        EXPECT_TRUE(refused.startsWith("HTTP/1.1 405 ")) << method.constData();
        EXPECT_TRUE(refused.contains("Allow: GET, HEAD\r\n"));
    }
    EXPECT_TRUE(ask("GET /api/statuss HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 404 "));
    EXPECT_TRUE(ask("GET http//x HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 400 "));
    EXPECT_TRUE(ask("GET / HTTP/2\r\n\r\n").startsWith("HTTP/1.1 400 "));
    // The station was only read: the job is still queued and not taken.
    EXPECT_EQ(queued(), 1);
}

TEST_F(StatusServiceTest, ARequestTooLargeIsRefusedAndItsConnectionClosed) {
    serve();
    Client big(service->port());
    big.socket.write("GET /api/status HTTP/1.1\r\nX-Filler: " + QByteArray(20 * 1024, 'a') +
                     "\r\n\r\n");
    EXPECT_TRUE(big.answer().startsWith("HTTP/1.1 431 "));
    EXPECT_TRUE(big.waitClosed());
    // A body announced larger than the limit is not waited for.
    Client body(service->port());
    body.socket.write("GET / HTTP/1.1\r\nContent-Length: 100000\r\n\r\n");
    EXPECT_TRUE(body.answer().startsWith("HTTP/1.1 413 "));
    EXPECT_TRUE(body.waitClosed());
}

TEST_F(StatusServiceTest, ConnectionsBeyondTheLimitAndIdleOnesAreClosed) {
    limits.maxConnections = 4;
    serve();
    std::vector<std::unique_ptr<Client>> held;
    for (int i = 0; i < 4; ++i) {
        held.push_back(std::make_unique<Client>(service->port()));
        ASSERT_TRUE(held.back()->connected());
    }
    ASSERT_TRUE(waitUntil([&] { return service->listener().connections() == 4; }));
    Client extra(service->port());
    EXPECT_TRUE(extra.waitClosed());
    EXPECT_EQ(service->listener().refusedConnections(), 1u);
    // A client that sends half a request and stops is closed after the idle time.
    held[0]->socket.write("GET /api/sta");
    for (auto& c : held) EXPECT_TRUE(c->waitClosed());
    ASSERT_TRUE(waitUntil([&] { return service->listener().connections() == 0; }));
    // Room again for a new client.
    EXPECT_TRUE(ask("GET /metrics HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 200"));
}

TEST_F(StatusServiceTest, ALoadOfRequestsLeavesTheJobToEndAsWithout) {
    queue(job("J-1", "1", "12000", {{0, {"SODA", "300"}}, {4, {"HAC", "40"}}}));
    serve();
    // Eight keep-alive clients asking in turn while the job runs in virtual time.
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < 8; ++i) clients.push_back(std::make_unique<Client>(service->port()));
    const QByteArray paths[] = {"/api/status", "/metrics", "/"};
    int answered = 0;
    int ok = 0;
    for (int round = 0; round < 50; ++round) {
        for (auto& c : clients)
            c->socket.write("GET " + paths[round % 3] + " HTTP/1.1\r\nHost: x\r\n\r\n");
        for (auto& c : clients) {
            const QByteArray a = c->answer();
            ++answered;
            if (a.startsWith("HTTP/1.1 200 OK")) ++ok;
        }
        station->scheduler.advance(2000);
    }
    EXPECT_EQ(answered, 400);
    EXPECT_EQ(ok, 400);
    ASSERT_TRUE(runUntil([&] { return order().isEmpty() && queued() == 0; }));
    const QList<DailyRecord> r = records();
    ASSERT_EQ(r.size(), 1);
    EXPECT_NEAR(r[0].ActualWeight[0].toDouble(), 300, 10);
    EXPECT_NEAR(r[0].ActualWeight[1].toDouble(), 40, 10);
    EXPECT_EQ(station->statusCounters().jobsFinished(), 1u);
}

}  // namespace
}  // namespace dye::test
