#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTextStream>

#include <memory>

#include "app/CommandLine.h"
#include "app/ConsumptionReport.h"
#include "app/Installation.h"
#include "app/LaneButtons.h"
#include "app/LinkTestMode.h"
#include "app/QueueRunner.h"
#include "app/Screenshots.h"
#include "app/Station.h"
#include "app/StationLock.h"
#include "app/StationStatus.h"
#include "app/WindowHandlers.h"
#include "core/HeadlessDialogs.h"
#include "core/RealTimeDriver.h"
#include "files/records/EventLog.h"
#include "status/StatusService.h"
#include "views/Accessible.h"
#include "views/QtDialogs.h"
#include "views/StationWindows.h"

using namespace dye;

namespace {

// Headless on the simulator: virtual time, as fast as the machine allows.
int runVirtual(Station& station, double seconds) {
    const qint64 end = qint64(seconds * 1000.0);
    while (station.scheduler.now() < end && !station.quitRequested())
        station.scheduler.advance(std::min<qint64>(1000, end - station.scheduler.now()));
    return 0;
}

// The windowed program's refusal: a message window that waits for OK.
void showRefusal(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("DyeStation"), text, QMessageBox::Ok);
    describeControl(&box, QStringLiteral("Message"));
    describeControl(box.button(QMessageBox::Ok), QStringLiteral("Message.OK"));
    box.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QString message;
    int exitCode = 0;
    const std::optional<CommandLine> cl = parseCommandLine(arguments, &message, &exitCode);
    if (!cl) {
        QTextStream(exitCode == 0 ? stdout : stderr) << message;
        return exitCode;
    }
    if (!cl->report.isEmpty()) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runConsumptionReport(*cl, out, err);
    }
    const bool newFolder = !QFileInfo::exists(cl->workdir);
    if (!QDir().mkpath(cl->workdir)) {
        QTextStream(stderr) << "dyestation: cannot use the working directory " << cl->workdir
                            << "\n";
        return 1;
    }

    std::unique_ptr<QCoreApplication> app;
    if (cl->headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);

    if (cl->linkTest) return runLinkTest(*cl);

    // One station per working directory; the lock goes with this program.
    StationLock lock(cl->workdir);
    if (!lock.take()) {
        QTextStream(stderr) << "dyestation: " << lock.refusal() << "\n";
        if (!cl->headless) showRefusal(lock.refusal());
        return 1;
    }
    if (!lock.warning().isEmpty()) QTextStream(stderr) << "dyestation: " << lock.warning() << "\n";

    Station::Options options;
    options.workdir = cl->workdir;
    options.simulate = cl->simulate;
    options.linkLog = cl->linkLog;
    options.simSeed = cl->seed;
    options.simSetup = cl->sim.edit();
    // A run on virtual time gets ahead of the wall clock; one started again
    // soon after goes on after the last line it logged, not before it.
    const bool virtualTime =
        cl->untilIdle || (cl->headless && cl->simulate && cl->runForSeconds && !cl->speedSet);
    // On virtual time the plant database answers within the pass that asked.
    options.plantWorker = !virtualTime;
    if (virtualTime) {
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime last = lastLoggedTime(QDir(cl->workdir), now.date());
        options.start = last.isValid() && last >= now ? last.addSecs(1) : now;
    }
    // Headless runs answer messages by themselves; with windows the operator does.
    QtDialogs* dialogs = nullptr;
    Station station(options, [&](Scheduler& scheduler) -> std::unique_ptr<Dialogs> {
        if (cl->headless) return HeadlessDialogs::make(scheduler);
        auto shown = std::make_unique<QtDialogs>();
        dialogs = shown.get();
        return shown;
    });
    // The simulated machine and a new per-user folder start from the shipped
    // files; a real machine never gets the sample queue.
    if (cl->simulate)
        seedInstallationFiles(QDir(cl->workdir));
    else if (cl->perUser && newFolder)
        seedInstallationFiles(QDir(cl->workdir), false);
    station.load();
    pressLaneButtonsOnSignals(station);

    if (cl->untilIdle) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        const int code = QueueRunner(station, out, err).run();
        // Outputs off and one full scan pass before the program ends.
        station.unload();
        while (!station.quitRequested()) station.scheduler.advance(100);
        return code;
    }
    if (cl->headless && cl->simulate && cl->runForSeconds && !cl->speedSet)
        return runVirtual(station, *cl->runForSeconds);

    RealTimeDriver driver(station.scheduler);
    driver.setSpeed(cl->speed);
    driver.start();
    // The status service answers from this thread's event loop, between passes.
    std::unique_ptr<StatusService> status;
    if (!cl->statusHttp.isEmpty()) {
        QString error;
        status = startStatusService(station, cl->statusHttp, &error);
        if (!status) {
            QTextStream(stderr) << "dyestation: " << error << "\n";
            station.log(QStringLiteral("<status> ") + error);
        } else {
            QTextStream(stdout) << "dyestation: status service on port " << status->port() << "\n";
        }
    }
    // exit(), not quit(): quit() asks the windows to close first, and the main
    // screen answers a close by unloading the station.
    station.setQuitHandler([] { QCoreApplication::exit(0); });
    // --run-for counts station time, which --speed makes run faster than the wall clock.
    if (cl->runForSeconds)
        station.scheduler.singleShot(qint64(*cl->runForSeconds * 1000.0),
                                     [] { QCoreApplication::exit(0); });
    std::unique_ptr<StationWindows> windows;
    std::unique_ptr<Screenshots> screenshots;
    if (!cl->headless) {
        // The program ends through the quit handler only, after the closing notice.
        QApplication::setQuitOnLastWindowClosed(false);
        windows = std::make_unique<StationWindows>(station.state, windowHandlers(station));
        windows->show();
        station.setScreensChanged([w = windows.get()] { w->render(); });
        dialogs->setParentSource([w = windows.get()] { return w->front(); });
        if (!cl->screenshots.isEmpty()) {
            screenshots = std::make_unique<Screenshots>(station.state, station.mainScreen(),
                                                        *windows, QDir(cl->screenshots));
            screenshots->start();
        }
    }
    return app->exec();
}
