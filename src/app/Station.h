#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/KeyState.h"
#include "core/Scheduler.h"
#include "files/language/LangText.h"
#include "link/FrameCodec.h"
#include "link/ScanCycle.h"
#include "link/TimedRoutine.h"
#include "machine/BucketTransport.h"
#include "machine/StationMetering.h"
#include "machine/WashSequence.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantService.h"
#include "plant/StatusTimer.h"
#include "plant/VatIntake.h"
#include "run/JobStart.h"
#include "run/PictureAnimation.h"
#include "run/TransferSequence.h"
#include "run/TwoBalanceSequence.h"
#include "screens/entry/QueueEditor.h"
#include "screens/entry/RecipeEditor.h"
#include "screens/entry/RecipePicker.h"
#include "screens/entry/SingleEntry.h"
#include "screens/language/LanguageEditor.h"
#include "screens/main/MainScreen.h"
#include "screens/main/RunControl.h"
#include "screens/plant/IdentifierEntry.h"
#include "screens/position/ManualControls.h"
#include "screens/position/PositionScreen.h"
#include "screens/records/RecordsViewer.h"
#include "screens/settings/SettingsEditor.h"
#include "screens/tables/DyeMixTable.h"
#include "screens/tables/WashTable.h"
#include "station/StationState.h"
#include "status/AlarmBoard.h"
#include "status/StatusCounters.h"

namespace dye {

class HeadlessDialogs;
class Port;
class Simulation;
class SimulatedController;
struct SimOptions;

// The whole station: the screen models and shared state, the scheduler and
// clock, the dialogs, the port and the sequences that run on the timers. No
// globals: two stations can live side by side in one test.
class Station {
  public:
    struct Options {
        QString workdir = QStringLiteral(".");
        bool simulate = false;  // built-in controller simulator on a loop port
        QDateTime start;        // clock start (virtual time); now when invalid
        QString linkLog;        // file for one line per frame sent or received
        quint32 simSeed = 1;
        // Changes to the simulator's options after they are read from the
        // working directory (the --sim-... options); may be empty.
        std::function<void(SimOptions&)> simSetup;
        // The plant database on its worker thread; false runs its work at
        // once and hands the results over at the end of the scheduler's pass
        // (virtual time).
        bool plantWorker = true;
    };

    // Makes the station's dialogs on its scheduler: windows the operator
    // answers (QtDialogs) for the windowed program, HeadlessDialogs for the
    // headless runs and the tests.
    using MakeDialogs = std::function<std::unique_ptr<Dialogs>(Scheduler&)>;

    Station(Options options, const MakeDialogs& makeDialogs);
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    Scheduler scheduler;
    Clock clock;
    StationState state;

    Dialogs& dialogs() { return *dialogs_; }
    // The recording dialogs when the station runs without windows.
    HeadlessDialogs* headlessDialogs() const { return headless_; }
    // The messages on screen that wait for the operator.
    const AlarmBoard& alarms() const { return *dialogs_; }
    // What the run has finished since the start, counted from its reports.
    const StatusCounters& statusCounters() const { return statusCounters_; }
    // `fn` is called with every job the run finishes (after the counters
    // are updated) until it is removed by the number this returns.
    int addFinishedObserver(std::function<void(const FinishedJob&)> fn);
    void removeFinishedObserver(int id);
    const QDir& workdir() const { return workdir_; }
    ScanCycle& scan() { return scan_; }
    StationMetering& metering() { return metering_; }
    ValveLearning& learning() { return learning_; }
    WashSequence& washing() { return wash_; }
    ManualControls& manual() { return manual_; }
    PositionScreen& positionScreen() { return position_; }
    WashTable& washTable() { return washTable_; }
    DyeMixTable& dyeMixTable() { return dyeMixTable_; }
    SettingsEditor& settingsEditor() { return settingsEditor_; }
    LanguageEditor& languageEditor() { return languageEditor_; }
    BucketTransport& transport() { return transport_; }
    MainScreen& mainScreen() { return mainScreen_; }
    JobStart& jobStart() { return jobStart_; }
    TransferSequence& transfer() { return transfer_; }
    TwoBalanceSequence& twoBalance() { return twoBalance_; }
    RunControl& runControl() { return runControl_; }
    RecipeEditor& recipeEditor() { return recipeEditor_; }
    QueueEditor& queueEditor() { return queueEditor_; }
    RecordsViewer& recordsViewer() { return recordsViewer_; }
    KeyState& keys() { return keys_; }
    SingleEntry& singleEntry() { return singleEntry_; }
    RecipePicker& recipePicker() { return picker_; }
    LangText& lang() { return lang_; }
    PlantDatabase& plantDatabase() { return *plantDb_; }
    PlantService& plant() { return plant_; }
    StatusTimer& statusTimer() { return status_; }
    VatIntake& vatIntake() { return vatIntake_; }
    IdentifierEntry& identifierEntry() { return identifierEntry_; }
    Port* port() const { return port_.get(); }
    SimulatedController* simulator() const;

    // The program's start-up: the main screen's load, which loads the
    // settings form first.
    void load();

    // Closing the main screen: outputs off, the closing notice, and the
    // program end two seconds later.
    void unload();

    // The settings form's load: read the settings files, set the timers,
    // open the port. Any failure paints the form red, stops the scan and is
    // logged; the station keeps running.
    void loadSettingsForm();

    // Appends a line to today's event log; a failure goes to standard error
    // and is remembered, never thrown.
    bool log(const QString& text);
    QString lastLogError() const { return lastLogError_; }

    // Ends the program two seconds from now, once the scan has sent a full
    // pass after the outputs were switched off (Form2.Timer5).
    void requestProgramEnd();
    void setQuitHandler(std::function<void()> fn) { quit_ = std::move(fn); }

    // Brings the screen models up to date with the job, the machine inputs
    // and the sequences' values.
    void projectScreens();
    // Projects the screens and tells the views (once per scheduler pass).
    void refreshScreens();
    void setScreensChanged(std::function<void()> fn) { screensChanged_ = std::move(fn); }
    bool quitRequested() const { return quitDone_; }

  private:
    void createTimers();
    void createMainScreenTimers();
    RunContext runContext();
    void openPort();
    void failLoad(const QString& why);
    void reportSettingsOutOfRange();
    void programEndTick();
    void writeLinkLog(bool sent, const QByteArray& bytes);
    void plantLog(const QString& line);
    void jobFinished(const FinishedJob& job);

    Options options_;
    QDir workdir_;
    std::unique_ptr<AlarmBoard> dialogs_;
    HeadlessDialogs* headless_ = nullptr;
    BucketTransport transport_;
    FrameCodec codec_;
    std::unique_ptr<Port> port_;
    std::unique_ptr<Simulation> sim_;
    ScanCycle scan_;
    TimedRoutine timed_;
    ValveLearning learning_;
    StationMetering metering_;
    WashSequence wash_;
    ManualControls manual_;
    PositionScreen position_;
    WashTable washTable_;
    DyeMixTable dyeMixTable_;
    SettingsEditor settingsEditor_;
    LangText lang_;
    LanguageEditor languageEditor_;
    std::unique_ptr<PlantDatabase> plantDb_;
    PlantService plant_;
    KeyState keys_;
    JobStart jobStart_;
    TransferSequence transfer_;
    TwoBalanceSequence twoBalance_;
    MainScreen mainScreen_;
    RunControl runControl_;
    RecipeEditor recipeEditor_;
    QueueEditor queueEditor_;
    PictureAnimation pictures_;
    SingleEntry singleEntry_;
    RecipePicker picker_;
    RecordsViewer recordsViewer_;
    StatusTimer status_;
    VatIntake vatIntake_;
    IdentifierEntry identifierEntry_;
    std::unique_ptr<QFile> linkLog_;
    qint64 endAfterScanTick_ = -1;
    bool quitDone_ = false;
    std::function<void()> quit_;
    std::function<void()> screensChanged_;
    QString lastLogError_;
    StatusCounters statusCounters_;
    std::vector<std::pair<int, std::function<void(const FinishedJob&)>>> finishedObservers_;
    int lastObserver_ = 0;
};

}  // namespace dye
