#pragma once

#include <array>

#include "files/language/Wording.h"
#include "files/settings/MachineSettings.h"
#include "link/LinkState.h"
#include "link/ScanCycle.h"
#include "model/Form10.h"
#include "model/Form11.h"
#include "model/Form12.h"
#include "model/Form14.h"
#include "model/Form15.h"
#include "model/Form2.h"
#include "model/Form3.h"
#include "model/Form4.h"
#include "model/Form6.h"
#include "model/Form7.h"
#include "model/Form8.h"
#include "model/Form9.h"
#include "model/StationValues.h"
#include "station/JobOnMachine.h"
#include "station/MachineStatusWords.h"
#include "station/MachineTimers.h"
#include "station/RunDisplay.h"
#include "station/RunOptions.h"
#include "station/TransferFlag.h"

namespace dye {

// Everything the screens and the shared modules hold, in one place, so that
// two stations can live side by side in one test. Sequences read the
// machine's inputs and their own values from it and write commands into the
// register image; the screens are filled from it in one place.
struct StationState {
    MachineSettings settings;  // the settings form's fields, read at the moment of use
    Form2 form2;               // SettingsForm
    Form3 form3;               // MainForm
    Form4 form4;               // records viewer
    Form6 form6;               // identifier entry
    Form8 form8;               // profile list
    Form7 form7;               // single dispensing entry
    Form9 form9;               // PositionForm
    Form10 form10;             // wash table
    Form11 form11;             // order list window
    Form12 form12;             // recipe picker
    Form13 form13;             // closing notice
    Form14 form14;             // dye-mix table
    Form15 form15;             // auxiliary category picker
    // The language editor's window title, in the station's language (its
    // texts are the editor's own: LanguageEditor::form()).
    QString languageEditorCaption = QStringLiteral("語言檔編輯");

    MachineTimers timers;
    RunDisplay run;  // the run indicator, why the run waits, the step counters

    // Register image, machine inputs, link health, axis work of the scan.
    LinkState link;
    MachineStatusWords MachineStatus;

    // Metering stations: [1] station 1, [2] station 2 ([0] unused).
    std::array<MeteringStation, 3> station{};
    WashRequest wash;

    JobOnMachine job;             // the job on the machine, from its start to its record
    TransferFlag TransferActive;  // a run sequence owns the machine
    // The job journal says a job's products are in the bucket (a job stopped,
    // interrupted or on the machine): nothing may wash or empty that bucket.
    bool bucketHoldsJob = false;
    // The settings files could not be loaded at start-up: the link is not
    // started and no run takes a job (the settings screen shows it red).
    bool settingsLoadFailed = false;

    // Machine pictures: mode and frame of Picture2, mode and frame of Picture1.
    std::array<qint16, 4> AnimationState{};
    int PicturePlace = 0;  // the bucket place number drawn on Picture2

    // Special codes of the TALBERT profile marked by the job start (1..25; 0 unused).
    std::array<int, 26> TalbertSpecialFlags{};

    // `w` in the operator's language (the settings' language field).
    QString say(const Wording& w) const { return wordingIn(settings.language(), w); }
    // Machine type: settings field 5, read as a whole number everywhere.
    int machineType() const { return settings.machineType(); }
    // The operator's options, read from their check boxes now.
    RunOptions options() const;
    // Balance n (1, 2) as the scan last decoded it.
    const BalanceInput& balance(int n) const { return link.inputs.balance[n == 2 ? 2 : 1]; }
    // The controller answers and no loss waits for the operator's OK.
    bool linkUsable() const { return link.health.usable(); }
    // A job is on the machine: one is loaded (from its start,
    // through a pre-wash, to its record) or a run sequence owns the machine.
    // Every guard that keeps hands, settings and other work off a job asks this.
    bool onMachine() const { return TransferActive.active() || job.loaded(); }
};

// The settings the scan works with, read from the settings fields now. An
// empty valves-per-station field counts as 5 on machines other than type 5.
ScanConfig scanConfig(StationState& state);

// Every output off on the next pass of the scan, and the axis-zero routine
// armed (the stop commands and the program end).
void InvalidateWriteSlots(StationState& state);

// The axis-zero routine is running or armed.
bool homingRunning(const StationState& state);

// The axis-zero routine armed on its one-second timer, on the machines that
// home their axes after a wash or a job (every type but the conveyor
// machine, type 4).
void armHoming(StationState& state);

}  // namespace dye
