// The scan's pace with and without a load on the status service: the
// station runs the sample queue on the simulated machine on the real clock
// (at SPEED times real time), and the longest wall-clock gap between two
// scan ticks is measured for SECONDS without clients, then for SECONDS
// while LOADERS threads ask /api/status, /metrics and / over keep-alive
// connections as fast as they are answered. Prints both gaps, the scan
// interval and the requests answered. Figures, not a pass/fail test.
//
// bench_status_load [SECONDS] [LOADERS] [SPEED] (default 10 4 5)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/Installation.h"
#include "app/Station.h"
#include "app/StationStatus.h"
#include "core/HeadlessDialogs.h"
#include "core/RealTimeDriver.h"
#include "status/StatusService.h"

using namespace dye;

namespace {

// One client: keep-alive GETs in turn until `stop`; counts whole answers.
void load(quint16 port, const std::atomic<bool>& stop, std::atomic<long>& answered,
          std::atomic<int>& finished) {
    const char* paths[] = {"/api/status", "/metrics", "/"};
    int turn = 0;
    while (!stop) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            continue;
        }
        timeval limit{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        while (!stop) {
            const QByteArray request =
                QByteArray("GET ") + paths[turn++ % 3] + " HTTP/1.1\r\nHost: bench\r\n\r\n";
            if (::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) <= 0) break;
            QByteArray got;
            qsizetype need = -1;
            char buffer[16384];
            while (need < 0 || got.size() < need) {
                const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                got.append(buffer, n);
                const qsizetype end = got.indexOf("\r\n\r\n");
                const qsizetype at = got.indexOf("Content-Length: ");
                if (need < 0 && end >= 0 && at >= 0)
                    need = end + 4 + got.mid(at + 16, got.indexOf('\r', at) - at - 16).toLongLong();
            }
            if (need < 0 || got.size() < need) break;
            ++answered;
        }
        ::close(fd);
    }
    ++finished;
}

// The longest wall-clock gap between scan ticks over `ms` of wall time.
qint64 longestGap(QCoreApplication& app, Station& station, int ms) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = -1;
    qint64 longest = 0;
    station.state.timers.scan->setHandler([&] {
        const qint64 now = clock.elapsed();
        if (last >= 0) longest = std::max(longest, now - last);
        last = now;
        station.scan().tick();
    });
    QTimer::singleShot(ms, &app, [&app] { app.exit(0); });
    app.exec();
    station.state.timers.scan->setHandler([&station] { station.scan().tick(); });
    return longest;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int seconds = args.size() > 1 ? args[1].toInt() : 10;
    const int loaders = args.size() > 2 ? args[2].toInt() : 4;
    const double speed = args.size() > 3 ? args[3].toDouble() : 5.0;
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QDir workdir(dir.path());
    seedInstallationFiles(workdir);

    Station::Options options;
    options.workdir = dir.path();
    options.simulate = true;
    Station station(options, HeadlessDialogs::make);
    station.load();
    RealTimeDriver driver(station.scheduler);
    driver.setSpeed(speed);
    driver.start();
    QString error;
    const auto service = startStatusService(station, QStringLiteral("127.0.0.1:0"), &error);
    if (!service) {
        out << "bench_status_load: " << error << "\n";
        return 1;
    }
    out << "scan interval " << station.state.timers.scan->interval() << " ms of station time, "
        << "speed " << speed << ", " << seconds << " s per phase\n";
    out.flush();

    const qint64 quiet = longestGap(app, station, seconds * 1000);
    out << "longest gap between scan ticks, no load:   " << quiet << " ms\n";
    out.flush();

    std::atomic<bool> stop{false};
    std::atomic<long> answered{0};
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < loaders; ++i)
        threads.emplace_back(load, service->port(), std::cref(stop), std::ref(answered),
                             std::ref(finished));
    const qint64 loaded = longestGap(app, station, seconds * 1000);
    stop = true;
    // The clients' last requests are answered while they finish.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (finished == loaders) app.exit(0);
    });
    poll.start(10);
    app.exec();
    for (std::thread& t : threads) t.join();
    out << "longest gap between scan ticks, " << loaders << " clients: " << loaded << " ms ("
        << answered << " requests answered, " << double(answered) / seconds << " per second)\n";
    out << "job on the machine at the end: "
        << (station.state.form3.Label2.Caption.trimmed().isEmpty()
                ? QStringLiteral("none")
                : station.state.form3.Label2.Caption.trimmed())
        << ", jobs finished " << station.statusCounters().jobsFinished() << "\n";
    return 0;
}
