#include "screens/main/RunControl.h"

#include "core/KeyState.h"
#include "core/NumberText.h"
#include "core/Scheduler.h"
#include "files/language/Wording.h"
#include "link/ScanCycle.h"
#include "run/JobStart.h"
#include "run/RunBlocked.h"
#include "run/TransferPhases.h"
#include "run/TransferSequence.h"
#include "run/TwoBalanceSequence.h"
#include "screens/main/ApplyLanguage.h"
#include "screens/main/MainScreen.h"
#include "station/StationState.h"

namespace dye {

bool armRunTimerOfType(MachineTimers& t, int type) {
    if (type == 1 || type == 3 || type == 4) {
        t.oneBalanceRun->setInterval(500);
        t.oneBalanceRun->setEnabled(true);
        t.twoBalanceRun->setEnabled(false);
        return true;
    }
    if (type == 2 || type == 5) {
        t.twoBalanceRun->setInterval(500);
        t.twoBalanceRun->setEnabled(true);
        t.oneBalanceRun->setEnabled(false);
        return true;
    }
    return false;
}

void RunControl::armRunTimer(bool fullTable) {
    const int type = c_.state.machineType();
    // Command9 arms the run timer only on types 1 and 2; RUN on every type.
    if (!fullTable && type != 1 && type != 2) return;
    armRunTimerOfType(c_.state.timers, type);
}

void RunControl::logStop() {
    // The job the stop throws away, named before its fields are emptied.
    const JobIdentity& job = c_.state.job.current().identity;
    c_.log(job.order.isEmpty()
               ? QStringLiteral("< STOP >")
               : QStringLiteral("< STOP >  %1  bucket %2").arg(job.order, job.bucket));
}

void RunControl::run() {
    c_.log(QStringLiteral("< RUN >"));
    c_.state.timers.jobStart->setEnabled(true);
    armRunTimer(false);
    // The pink of a stop means "stopped": a running station shows its own face.
    c_.state.run.face = RunFace::Armed;
    c_.state.run.stoppedJob = CurrentJob{};
}

void RunControl::runAll() {
    run();
    armRunTimer(true);
    job_.QueueListHold = 0;
    job_.JobLoaded = 0;
}

void RunControl::stop() {
    StationState& s = c_.state;
    keepStoppedJob();
    transfer_.reset();
    twoBalance_.reset();
    job_.JobLoaded = 0;
    s.link.homingCounter = 0;
    s.wash.cancel();
    for (MeteringStation& st : s.station) st = MeteringStation{};
    s.MachineStatus.clearMeteringAlarm();
    if (c_.resetWash) c_.resetWash();

    s.job.clear();
    s.run.indicator = s.run.stoppedJob.loaded()
                          ? s.say({u"已停止：單號 %1 的桶內原料如表所示；按 RUN 繼續。",
                                   u"Stopped: the bucket of job %1 holds what the table shows; "
                                   u"RUN goes on with it."})
                                .arg(s.run.stoppedJob.identity.order.trimmed())
                          : s.say({u"已停止", u"Stopped"});
    setAnimation(s, 0, 0);  // the pictures stand still
    s.run.face = RunFace::Stopped;
    s.run.laneHasRows = {};
    s.run.waitReason = runBlockedReason(s);
    InvalidateWriteSlots(s);
    c_.state.timers.jobStart->setEnabled(false);
    c_.state.timers.oneBalanceRun->setEnabled(false);
    c_.state.timers.twoBalanceRun->setEnabled(false);
}

// The grid after a stop: the job as it was, with what a row cut short had
// put in the bucket so far.
void RunControl::keepStoppedJob() {
    StationState& s = c_.state;
    CurrentJob job = s.job.current();
    for (const MeteringStation& st : s.station) {
        if (st.StationStep == 0 || st.row < 0 || st.row >= int(job.rows.size()) || !st.actual)
            continue;
        JobRow& row = job.rows[size_t(st.row)];
        if (row.actual.isEmpty()) row.actual = numberText(*st.actual);
    }
    s.run.stoppedJob = std::move(job);
}

void RunControl::stopJob() {
    logStop();
    stop();
}

void RunControl::stopAll() {
    StationState& s = c_.state;
    logStop();
    stop();
    s.TransferActive.release();
    s.wash.endSingleCycle();
    s.TalbertSpecialFlags = {};
}

void RunControl::pollF1() {
    if (keys_.GetAsyncKeyState(KeyState::VK_F1) != -32767) return;
    if (screen_.requests().showSingleEntry) screen_.requests().showSingleEntry();
    screen_.ApplyLanguage();
}

void RunControl::pollIntake() {
    Form3& f = c_.state.form3;
    f.Label13.Caption = QString::number(pollCount_);
    pollCount_ += 1;
    if (pollCount_ >= 11) pollCount_ = 0;
    if (pollCount_ == 10 && intake_) intake_();
    if (f.Text4.size() > 5000) f.Text4.clear();
}

}  // namespace dye
