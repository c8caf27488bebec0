#include "Station.h"

#include <QTextStream>

#include "app/Simulation.h"
#include "app/StationDisplay.h"
#include "core/HeadlessDialogs.h"
#include "core/Val.h"
#include "files/jobs/BackgroundRemoval.h"
#include "files/jobs/JobFile.h"
#include "files/language/LanguageFile.h"
#include "files/language/Wording.h"
#include "files/records/EventLog.h"
#include "files/settings/SettingRanges.h"
#include "files/settings/SettingsFiles.h"
#include "link/LoggingPort.h"
#include "link/ReplyCheck.h"
#include "link/SerialPort.h"
#include "plant/ClaimSettle.h"
#include "run/JobJournal.h"
#include "run/LineCheck.h"
#include "run/RunLists.h"
#include "run/StateFileCheck.h"

namespace dye {

Station::Station(Options options, const MakeDialogs& makeDialogs)
    : clock(scheduler, options.start.isValid() ? options.start : QDateTime::currentDateTime()),
      options_(std::move(options)),
      workdir_(options_.workdir),
      dialogs_(
          std::make_unique<AlarmBoard>(makeDialogs(scheduler), [this] { return clock.now(); })),
      headless_(dynamic_cast<HeadlessDialogs*>(&dialogs_->inner())),
      transport_(state, *dialogs_),
      scan_(state.link, codec_, *dialogs_, scheduler),
      timed_(state.link, scan_),
      learning_(workdir_, [this](const QString& line) { log(line); }),
      metering_(state, *dialogs_, learning_, [this](const QString& line) { log(line); }),
      wash_(state, *dialogs_, transport_, [this](const QString& line) { log(line); }),
      manual_(state, transport_, *dialogs_),
      position_(state, transport_, *dialogs_, workdir_),
      washTable_(state.form10, state.settings, *dialogs_, workdir_),
      dyeMixTable_(state.form14, state.settings, *dialogs_, workdir_),
      settingsEditor_(state, *dialogs_, transport_, workdir_),
      languageEditor_(workdir_.filePath(QLatin1String(LanguageFile::kFileName)), *dialogs_),
      plantDb_(std::make_unique<PlantDatabase>(
          options_.plantWorker ? PlantDatabase::Mode::Worker : PlantDatabase::Mode::Synchronous)),
      plant_(
          state, *plantDb_, workdir_, [this] { return clock.now(); },
          [this](const QString& line) { plantLog(line); }),
      jobStart_(runContext()),
      transfer_(runContext()),
      twoBalance_(runContext()),
      mainScreen_(runContext()),
      runControl_(runContext(), jobStart_, transfer_, twoBalance_, mainScreen_, keys_),
      recipeEditor_(runContext()),
      queueEditor_(runContext(), jobStart_),
      pictures_(state, workdir_, &scheduler),
      singleEntry_(state, *dialogs_, workdir_, [this] { return clock.now(); }),
      picker_(state, *dialogs_, workdir_, [this] { return clock.now(); }),
      recordsViewer_(state.form4, state.settings, workdir_, *dialogs_),
      status_(
          state, plant_, [this] { return jobStart_.JobLoaded != 0; },
          [this] { return jobQueueFile(workdir_).count(); },
          [this] {
              state.form6.Visible = true;
              state.form6.focusText1 = true;
          }),
      vatIntake_(plant_),
      identifierEntry_(state, plant_, *dialogs_, picker_,
                       {[this](int k) { return runContext().text(k); },
                        [this] {
                            RunContext c = runContext();
                            fillRecipeList(c);
                        }}) {
    if (!options_.linkLog.isEmpty()) {
        linkLog_ = std::make_unique<QFile>(options_.linkLog);
        if (!linkLog_->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            QTextStream(stderr) << "dyestation: cannot write the link log " << options_.linkLog
                                << ": " << linkLog_->errorString() << "\n";
            linkLog_.reset();
        }
    }
    scan_.setConfigSource([this] { return scanConfig(state); });
    scan_.setLog([this](const QString& line) { log(line); });
    scan_.setRobotCheck([this] { transport_.robotCheckTick(); });
    // A language chosen in the settings or a text saved in the editor shows
    // on every screen at once.
    settingsEditor_.setLanguageChanged([this] { mainScreen_.ApplyLanguage(); });
    settingsEditor_.setLearnedReset(
        [this](int valve, QString* error) { return learning_.reset(valve, error); });
    languageEditor_.setTitle([this] { return state.languageEditorCaption; });
    languageEditor_.setLanguage([this] { return state.settings.language(); });
    languageEditor_.setSaved([this] {
        lang_.load(workdir_.filePath(QLatin1String(LanguageFile::kFileName)));
        mainScreen_.ApplyLanguage();
    });
    createTimers();
    createMainScreenTimers();
    timed_.setTimer(state.timers.homing);
    plantDb_->setLog([this](const QString& line) { plantLog(line); });
    plant_.setQueueChanged([this] {
        RunContext c = runContext();
        fillQueueLists(c);
    });
    mainScreen_.setMixers(
        {[this] { status_.restartMixCount(); }, [this] { status_.startIdleMixing(); }});
    metering_.setStopJob([this] { runControl_.stopJob(); });
    runControl_.setIntake([this] {
        if (plant_.siteProfile() == SiteProfile::Marigold) vatIntake_.run();
    });
    // The run's finished jobs are counted here, then handed on.
    transfer_.setFinishedObserver([this](const FinishedJob& job) { jobFinished(job); });
    twoBalance_.setFinishedObserver([this](const FinishedJob& job) { jobFinished(job); });
    scheduler.setPassObserver([this] {
        plantDb_->deliver();
        refreshScreens();
    });
}

void Station::projectScreens() {
    fillStationDisplay(state, scan_);
}

void Station::refreshScreens() {
    projectScreens();
    if (screensChanged_) screensChanged_();
}

RunContext Station::runContext() {
    return RunContext{state,
                      *dialogs_,
                      workdir_,
                      [this] { return clock.now(); },
                      [this](const QString& line) { log(line); },
                      lang_,
                      plant_,
                      [this] { wash_.WashClock = 0; },
                      [this] { wash_.reset(); },
                      transport_};
}

void Station::createMainScreenTimers() {
    state.timers.jobStart = &scheduler.addTimer(QStringLiteral("Form3.Timer1"), 1000, false,
                                                [this] { jobStart_.tick(); });
    // The run timer of the machine type is armed by the load.
    state.timers.oneBalanceRun = &scheduler.addTimer(QStringLiteral("Form3.Timer2"), 500, false,
                                                     [this] { transfer_.tick(); });
    state.timers.twoBalanceRun = &scheduler.addTimer(QStringLiteral("Form3.Timer3"), 500, false,
                                                     [this] { twoBalance_.tick(); });
    state.timers.status = &scheduler.addTimer(QStringLiteral("Form3.Timer4"), 3000, false,
                                              [this] { status_.tick(); });
    state.timers.hotKeys = &scheduler.addTimer(QStringLiteral("Form3.Timer5"), 100, false,
                                               [this] { runControl_.pollF1(); });
    state.timers.pictures =
        &scheduler.addTimer(QStringLiteral("Form3.Timer6"), 0, false, [this] { pictures_.tick(); });
    // The identifier entry's box clearing and category wait.
    state.timers.identifierClear =
        &scheduler.addTimer(QStringLiteral("Form6.Timer1"), 1000, false,
                            [this] { identifierEntry_.clearIdentifier(); });
    state.timers.categoryWait = &scheduler.addTimer(QStringLiteral("Form6.Timer2"), 200, false,
                                                    [this] { identifierEntry_.categoryIntake(); });
    state.timers.intake = &scheduler.addTimer(QStringLiteral("Form3.Timer7"), 0, false,
                                              [this] { runControl_.pollIntake(); });
}

void Station::load() {
    // A job interrupted by a kill or a power cut left its products in the bucket.
    if (const auto journal = JobJournal(workdir_).read())
        state.bucketHoldsJob = journal->started() && !journal->recorded;
    mainScreen_.load([this] { loadSettingsForm(); });
    // Claims a close or a kill left between the mark and the queue, first on
    // the plant's worker, before any intake.
    settleClaims(plant_);
}

void Station::unload() {
    // The sequences stop before the switch-off, so that none of them opens an
    // output again in the seconds before the program ends.
    runControl_.stop();
    mainScreen_.unload([this] { requestProgramEnd(); });
}

// What the plant database has done is handed on while everything it
// reports to is there; a removal from the queue still under way ends while
// the run it reports to is there.
Station::~Station() {
    plantDb_->close();
    const QString queue = jobQueueFile(workdir_).path();
    BackgroundRemoval::wait(queue);
    BackgroundRemoval::settle(queue);
}

SimulatedController* Station::simulator() const {
    return sim_ ? &sim_->controller() : nullptr;
}

void Station::createTimers() {
    state.timers.scan =
        &scheduler.addTimer(QStringLiteral("Form2.Timer1"), 0, false, [this] { scan_.tick(); });
    state.timers.metering = &scheduler.addTimer(QStringLiteral("Form2.Timer2"), 100, false,
                                                [this] { metering_.tick(); });
    state.timers.homing =
        &scheduler.addTimer(QStringLiteral("Form2.Timer3"), 1000, false, [this] { timed_.tick(); });
    state.timers.wash =
        &scheduler.addTimer(QStringLiteral("Form2.Timer4"), 1000, true, [this] { wash_.tick(); });
    state.timers.programEnd = &scheduler.addTimer(QStringLiteral("Form2.Timer5"), 2000, false,
                                                  [this] { programEndTick(); });
}

void Station::failLoad(const QString& why) {
    state.settingsLoadFailed = true;
    state.form2.BackColor = kRed;
    state.timers.scan->setEnabled(false);
    log(QStringLiteral("SETTING LOAD ERROR: ") + why);
}

void Station::loadSettingsForm() {
    manual_.fillCombos();
    // Settings files into the fields; a wash table that cannot be read is
    // set aside first, so that it loads empty.
    if (const QString aside = setAsideUnreadableWashTable(workdir_); !aside.isEmpty()) {
        log(QStringLiteral("<load> ") + aside);
        dialogs_->message(aside, QStringLiteral("SETTING"), [] {});
    }
    // What the valves have learned; a torn file is set aside and told.
    learning_.load();
    QString error;
    const bool loaded = loadMachineSettings(workdir_, state.settings, &error);
    // A file shorter than its records leaves fields blank: say which, once.
    for (const QString& line : settingsFileFindings(workdir_))
        log(QStringLiteral("<load> ") + line);
    if (!loaded) {
        failLoad(error);
        return;
    }
    reportSettingsOutOfRange();
    for (int k = 0; k < state.form2.Label4.size(); ++k)
        state.form2.Label4[k] = QString::number(k + 1);
    for (int k = 0; k < state.form9.Label4.size(); ++k)
        state.form9.Label4[k] = QString::number(k + 1);
    for (int k = 0; k < state.form2.Label6.size(); ++k)
        state.form2.Label6[k] = QString::number(k + 1);

    // Timers, in the order the machine starts them.
    state.timers.scan->setInterval(intWithin(state.settings.number(SettingsField::ScanInterval)));
    state.timers.scan->setEnabled(true);
    state.timers.metering->setInterval(100);
    state.timers.metering->setEnabled(true);
    const int type = state.machineType();
    if (type < 4) {
        state.timers.homing->setInterval(1000);
        state.timers.homing->setEnabled(true);
    }
    if (type == 2) {
        state.timers.homing->setEnabled(false);
        state.timers.wash->setEnabled(false);
    }

    openPort();
}

// Every value out of its range goes to the event log, and the operator sees
// them in one message; the main screen says why when no job can be taken.
void Station::reportSettingsOutOfRange() {
    const QStringList problems = settingsProblems(state.settings);
    if (problems.isEmpty()) return;
    for (const QString& line : problems) log(QStringLiteral("<load> ") + line);
    dialogs_->message(state.say({u"設定中有超出範圍的值（請在設定畫面更正）：\n",
                                 u"Values out of their range in the settings (correct them on "
                                 u"the settings screen):\n"}) +
                          problems.join(QLatin1Char('\n')),
                      QStringLiteral("SETTING"), [] {});
}

void Station::openPort() {
    std::unique_ptr<Port> port;
    QString name = state.settings.Text1(SettingsField::Port).trimmed();
    if (options_.simulate) {
        if (!sim_)
            sim_ = std::make_unique<Simulation>(scheduler, workdir_, options_.simSeed,
                                                options_.simSetup);
        port = sim_->makePort();
        name = QStringLiteral("SIM");
    } else {
        port = std::make_unique<SerialPort>();
    }
    if (linkLog_) {
        port = std::make_unique<LoggingPort>(
            std::move(port),
            [this](bool sent, const QByteArray& bytes) { writeLinkLog(sent, bytes); });
    }
    port_ = std::move(port);
    const QString settings = QStringLiteral("19200,E,7,1");
    scan_.setPort(port_.get(), name, settings);
    // A controller that is not there yet is a lost link, not a broken
    // station: the scan tries the port again every two seconds.
    if (!port_->open(name, settings))
        scan_.portOpenFailed(
            QStringLiteral("port %1 cannot be opened: %2").arg(name, port_->errorString()));
}

// One line per frame; an answer to a read is judged as the scan judges it
// (the scan reads only the answers to its reads), and a refused one says why.
void Station::writeLinkLog(bool sent, const QByteArray& bytes) {
    QTextStream out(linkLog_.get());
    out << clock.now().toString(QStringLiteral("hh:mm:ss.zzz")) << (sent ? " > " : " < ")
        << readableFrame(bytes);
    if (!sent && codec_.ReplyCount > 0)
        if (const QString why = readReplyProblem(bytes, codec_.ReplyCount, codec_.ReplyWidth);
            !why.isEmpty())
            out << "  refused: " << why;
    out << "\n";
    out.flush();
}

void Station::jobFinished(const FinishedJob& job) {
    statusCounters_.jobFinished(job, lineTolerance(state));
    for (const auto& observer : finishedObservers_) observer.second(job);
}

int Station::addFinishedObserver(std::function<void(const FinishedJob&)> fn) {
    finishedObservers_.emplace_back(++lastObserver_, std::move(fn));
    return lastObserver_;
}

void Station::removeFinishedObserver(int id) {
    std::erase_if(finishedObservers_, [id](const auto& o) { return o.first == id; });
}

// The plant database's lines go to the event log and the main screen's log box.
void Station::plantLog(const QString& line) {
    log(line);
    state.form3.Text4 += line + QStringLiteral("\r\n");
}

bool Station::log(const QString& text) {
    QString error;
    if (AppendLog(workdir_, clock.now(), text, &error)) return true;
    lastLogError_ = error;
    QTextStream(stderr) << "dyestation: event log not written (" << error << "): " << text << "\n";
    return false;
}

void Station::requestProgramEnd() {
    InvalidateWriteSlots(state);
    // One full pass of the scan after the switch-off: 16 ticks from now.
    endAfterScanTick_ = scan_.ticks() + 16;
    state.timers.programEnd->setEnabled(true);
}

void Station::programEndTick() {
    const bool scanning = state.timers.scan->enabled() && state.timers.scan->interval() > 0 &&
                          port_ && port_->isOpen();
    if (scanning && scan_.ticks() < endAfterScanTick_) {
        state.timers.programEnd->setInterval(
            100);  // the pass is not complete yet: look again shortly
        return;
    }
    state.timers.programEnd->setEnabled(false);
    quitDone_ = true;
    if (quit_) quit_();
}

}  // namespace dye
