// The status service of a station working jobs on the simulated machine in
// virtual time: the JSON of the job, the queue, the balances and the alarms,
// the counters of finished jobs, and over real sockets on 127.0.0.1 (on the
// Qt event loop) what it answers, what it refuses, and that a load of
// requests leaves a job to end as it would without it.
#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <vector>

#include "TestFiles.h"
#include "app/StationStatus.h"
#include "run/JobCompletion.h"
#include "run/RunFixture.h"
#include "status/StatusCounters.h"
#include "status/StatusJson.h"
#include "status/StatusMetrics.h"
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
    QJsonObject json() {
        return QJsonDocument::fromJson(statusJson(stationStatus(*station))).object();
    }
    // The value of a metric sample line ("name value"); -1 when it is missing.
    double sample(const QString& name) {
        const QString metrics =
            QString::fromUtf8(statusMetrics(stationStatus(*station), station->statusCounters()));
        for (const QString& line : metrics.split(QLatin1Char('\n')))
            if (line.startsWith(name + QLatin1Char(' '))) return line.section(' ', 1).toDouble();
        return -1;
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

// The finished job is counted from the run's report: the lines off the 2 g
// tolerance and the error figures (how the counters count them is
// StatusCountersTest's) are taken from the record.
TEST_F(StatusServiceTest, ALoadOfRequestsLeavesTheJobToEndAsWithoutAndItIsCounted) {
    queue(job("J-1", "1", "12000", {{0, {"SODA", "300"}}, {4, {"HAC", "40"}}}));
    station->plant().queueChanged();
    EXPECT_EQ(sample("dyestation_jobs_finished_total"), 0);
    EXPECT_EQ(sample("dyestation_queue_length"), 1);
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
    EXPECT_EQ(sample("dyestation_jobs_finished_total"), 1);
    EXPECT_EQ(sample("dyestation_lines_finished_total"), 2);
    EXPECT_EQ(sample("dyestation_metering_error_grams_count"), 2);
    EXPECT_EQ(sample("dyestation_metering_error_grams_bucket{le=\"+Inf\"}"), 2);
    EXPECT_EQ(sample("dyestation_lines_out_of_tolerance_total"),
              station->statusCounters().linesOff());
    EXPECT_GE(sample("dyestation_metering_error_grams_bucket{le=\"2\"}"), 0);
    EXPECT_NEAR(sample("dyestation_metering_error_grams_sum"),
                r[0].ActualWeight[0].toDouble() - 300 + r[0].ActualWeight[1].toDouble() - 40, 1e-9);
    EXPECT_EQ(sample("dyestation_queue_length"), 0);
    EXPECT_EQ(sample("dyestation_link_up"), 1);
    EXPECT_TRUE(json()["job"].isNull());
}

TEST_F(StatusServiceTest, TheJobInTheMiddleOfItsMetering) {
    queue(job("J-1", "1", "12000", {{0, {"SODA", "300"}}, {4, {"HAC", "40"}}}));
    queue(job("J-2", "2", "0", {{0, {"HAC", "10"}}}));
    // The second line is being metered: the first has its actual weight.
    ASSERT_TRUE(runUntil([&] {
        return !cell(DispenseGrid::ActualWeight, 0).isEmpty() &&
               state().station[1].StationStep > 0 && station->transfer().rowStep() == 2;
    }));

    const QJsonObject s = json();
    EXPECT_EQ(s["machineType"].toInt(), 1);
    EXPECT_TRUE(s["link"]["up"].toBool());
    EXPECT_FALSE(s["link"]["lastAnswer"].isNull());
    const QJsonObject job = s["job"].toObject();
    EXPECT_EQ(job["order"].toString(), "J-1");
    EXPECT_EQ(job["bucket"].toString(), "1");
    EXPECT_EQ(job["water"].toDouble(), 12000);
    const QJsonArray rows = job["rows"].toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]["code"].toString(), "SODA");
    EXPECT_EQ(rows[0]["recipe"].toDouble(), 300);
    EXPECT_NEAR(rows[0]["actual"].toDouble(), 300, 10);
    EXPECT_EQ(rows[0]["state"].toString(), "done");
    EXPECT_EQ(rows[1]["code"].toString(), "HAC");
    EXPECT_EQ(rows[1]["tube"].toString(), "3");
    EXPECT_EQ(rows[1]["state"].toString(), "metering");
    // The queue lists the job on the machine until it ends, then the next.
    const QJsonArray queued = s["queue"]["jobs"].toArray();
    ASSERT_EQ(queued.size(), 2);
    EXPECT_EQ(queued[1]["order"].toString(), "J-2");
    EXPECT_EQ(queued[1]["bucket"].toString(), "2");
    EXPECT_EQ(s["queue"]["length"].toInt(), 2);
    // Both balances are read; balance 1 carries the bucket's water.
    const QJsonArray balances = s["balances"].toArray();
    ASSERT_EQ(balances.size(), 2);
    EXPECT_TRUE(balances[0]["fresh"].toBool());
    EXPECT_GT(balances[0]["weight"].toDouble(), 1000);
    EXPECT_FALSE(balances[1]["weight"].isNull());
}

TEST(StatusCountersTest, LinesOffTheirToleranceAndTheErrorBuckets) {
    StatusCounters c;
    FinishedJob j;
    j.recipeWeights = {"100", "100", "50", "10", "5"};
    // -3 off, exactly 2 over (within), nothing poured, not a number, 0.5 short.
    j.actualWeights = {"97", "102", "0", "x", "4.5"};
    c.jobFinished(j, 2);
    EXPECT_EQ(c.jobsFinished(), 1u);
    EXPECT_EQ(c.linesFinished(), 5u);
    EXPECT_EQ(c.linesOff(), 3u);  // -3, nothing, and the unreadable actual
    EXPECT_EQ(c.errorCount(), 5u);
    EXPECT_DOUBLE_EQ(c.errorSum(), -3 + 2 - 50 - 10 - 0.5);
    const auto bucket = [&](double bound) {
        for (size_t i = 0; i < StatusCounters::kErrorBounds.size(); ++i)
            if (StatusCounters::kErrorBounds[i] == bound) return c.errorsAtMost(i);
        return quint64(999);
    };
    EXPECT_EQ(bucket(-10), 2u);  // -50 and -10: a bound holds its own value
    EXPECT_EQ(bucket(-2), 3u);
    EXPECT_EQ(bucket(-0.5), 4u);
    EXPECT_EQ(bucket(2), 5u);
}

TEST_F(StatusServiceTest, AlarmsShowUntilTheOperatorAcknowledges) {
    // What the start showed is acknowledged first.
    station->scheduler.advance(1000);
    ASSERT_TRUE(json()["alarms"].toArray().isEmpty());
    station->headlessDialogs()->setAckDelay(-1);
    station->dialogs().message(QStringLiteral("*** NO FLOW ***"), QStringLiteral("ALARM"), [] {});
    QJsonArray alarms = json()["alarms"].toArray();
    ASSERT_EQ(alarms.size(), 1);
    EXPECT_EQ(alarms.at(0).toObject()["text"].toString(), "*** NO FLOW ***");
    EXPECT_EQ(sample("dyestation_alarms"), 1);
    ASSERT_TRUE(station->headlessDialogs()->acknowledge());
    EXPECT_TRUE(json()["alarms"].toArray().isEmpty());
}

TEST_F(StatusServiceTest, ALongQueueListsItsFirstJobsAndCountsTheRest) {
    for (int i = 0; i < 1003; ++i)
        queue(job(QStringLiteral("Q-%1").arg(i), "1", "0", {{0, {"HAC", "10"}}}));
    // The lists are filled as the station does after a change of the queue.
    station->plant().queueChanged();
    const QJsonObject q = json()["queue"].toObject();
    EXPECT_EQ(q["jobs"].toArray().size(), 1000);
    EXPECT_EQ(q["jobs"].toArray().at(999).toObject()["order"].toString(), "Q-999");
    EXPECT_EQ(q["more"].toInt(), 3);
    EXPECT_EQ(q["length"].toInt(), 1003);
    EXPECT_EQ(sample("dyestation_queue_length"), 1003);
}

}  // namespace
}  // namespace dye::test
