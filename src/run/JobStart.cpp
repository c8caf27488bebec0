#include "run/JobStart.h"

#include <algorithm>
#include <array>

#include "core/FileStamp.h"
#include "core/Val.h"
#include "core/WeightText.h"
#include "files/jobs/BackgroundRemoval.h"
#include "files/jobs/JobFile.h"
#include "files/settings/MixFiles.h"
#include "link/Registers.h"
#include "link/TimedRoutine.h"
#include "link/WriteBlocks.h"
#include "machine/HandWash.h"
#include "run/RecordRoom.h"
#include "run/RunBlocked.h"
#include "run/RunLists.h"
#include "station/StationState.h"

namespace dye {

void JobStart::tick() {
    const bool jobOnScreen = c_.state.job.loaded();
    // A finished job still leaving a long queue: nothing is taken until it has.
    if (!BackgroundRemoval::settle(jobQueueFile(c_.workdir).path())) return;
    guard_.keepTornTails();
    // The queue is read again only when the file changed (or could not be read).
    const FileStamp stamp = fileStamp(jobQueueFile(c_.workdir).path());
    if (QueueListHold == 0 && (stamp != listedQueue_ || !lastListError_.isEmpty())) {
        const QString error = fillQueueLists(c_);
        if (error != lastListError_ && !error.isEmpty())
            c_.log(QStringLiteral("<queue> START_DISPEN.txt not read: ") + error);
        lastListError_ = error;
        listedQueue_ = stamp;
    }

    // With a job on the screen the transfer sequence says why it waits.
    if (jobOnScreen) return;
    c_.state.run.waitReason = runBlockedReason(c_.state);
    if (c_.state.run.waitReason.isEmpty()) c_.state.run.waitReason = guard_.blockedReason();
    if (!c_.state.run.waitReason.isEmpty() || !machineFree()) return;

    const std::optional<JobRecord> job = guard_.nextJob();
    if (!job) return;
    // No job is dispensed that could not be recorded (looked at only when
    // there is one to take: it costs the disk a few look-ups).
    c_.state.run.waitReason = whyNoRecordCanBeWritten(c_.workdir, c_.state.settings.language());
    if (c_.state.run.waitReason.isEmpty()) load(*job);
}

bool JobStart::machineFree() const {
    return !homingRunning(c_.state) && c_.state.wash.WashPhase == 0;
}

void JobStart::load(const JobRecord& record) {
    StationState& s = c_.state;
    CurrentJob job;
    job.identity =
        JobIdentity{record.OrderNo.trimmed(), record.BucketNo.trimmed(), record.QueuedAt};
    job.water = record.WaterAmount.trimmed();
    const std::array<QString, 4> extras{record.Tag1, record.Tag2, record.Tag3, record.Tag4};
    for (size_t k = 0; k < extras.size(); ++k) job.extras[k] = extras[k].trimmed();
    s.TalbertSpecialFlags[25] = 1;
    JobLoaded = 1;

    c_.log(QStringLiteral("<start>") + record.OrderNo.trimmed() + QStringLiteral("< start >"));

    // Rows are packed: an empty code leaves no gap.
    int n = 0;
    const SiteProfile profile = s.settings.siteProfile();
    for (int i = 0; i < JobRecord::kLines; ++i) {
        const QString code = record.Code[size_t(i)].trimmed();
        if (code.isEmpty()) continue;
        JobRow& row = job.rows[size_t(n++)];
        row.code = code;
        if (profile == SiteProfile::Talbert) markSpecialCodes(code);
        if (profile == SiteProfile::Pelko) markDyeMix(code);
        row.recipe = record.Weight[size_t(i)].leftJustified(JobRecord::kWeightWidth, u' ');
        assignTube(row);
    }
    s.job.load(std::move(job));
}

void JobStart::assignTube(JobRow& row) {
    StationState& s = c_.state;
    MachineSettings& set = s.settings;
    const int type = s.machineType();
    const bool byTubeCount = type == 2 || set.siteProfile() == SiteProfile::Fenwick;
    if (byTubeCount && set.Text1(SettingsField::ValvesPerStation).trimmed().isEmpty())
        set.setText1(SettingsField::ValvesPerStation, QStringLiteral("5"));
    const int perStation = valvesPerStationSetting(set.Text1(SettingsField::ValvesPerStation));
    // Every tube is looked at: with a code on two tubes the last one wins.
    std::array<int, 3> last{-1, -1, -1};
    for (int j = 0; j < MachineSettings::kValveCount; ++j)
        if (set.valveCode(j + 1).trimmed() == row.code) last[j < perStation ? 1 : 2] = j;
    const int j = std::max(last[1], last[2]);
    if (j < 0) return;
    if (byTubeCount) {
        row.balance = j < perStation ? QStringLiteral("1") : QStringLiteral("2");
    } else if (type == 5) {
        // The weight chooses the coarse or the fine balance when both
        // stations carry the product; otherwise the station that has it.
        const int station =
            last[1] >= 0 && last[2] >= 0
                ? (set.number(SettingsField::CoarseFineLimit) < readWeight(row.recipe).value_or(0.0)
                       ? 1
                       : 2)
                : (last[1] >= 0 ? 1 : 2);
        row.balance = QString::number(station);
    }
    row.tube = QString::number(j + 1);
    row.name = set.valveName(j + 1).trimmed();
}

void JobStart::markSpecialCodes(const QString& code) {
    StationState& s = c_.state;
    for (int k = 0; k < 8; ++k) {
        const QString special = s.settings.Text1(26 + k);
        if (special.isEmpty() || special.trimmed() != code) continue;
        s.link.image.set(reg::output(1 + k), 32700);
        s.TalbertSpecialFlags[size_t(k + 1)] = 1;
    }
}

void JobStart::markDyeMix(const QString& code) {
    const QString folder = c_.state.settings.Text1(SettingsField::DyeMixFolder);
    QStringList mix;
    QString error;
    if (!loadDyeMix(dyeMixFilePath(c_.workdir, folder, kDyeMixFileName), mix, &error)) {
        c_.log(QStringLiteral("<mix> DYE_MIX.txt not read: ") + error);
        return;
    }
    for (int m = 1; m <= kDyeMixEntryCount; ++m) {
        if (mix.value(m - 1) != code) continue;
        if (!writeMixMark(mixMarksPath(c_.workdir, c_.state.settings), m, 1, &error))
            c_.log(QStringLiteral("<mix> MIX_C.txt not written: ") + error);
    }
}

}  // namespace dye
