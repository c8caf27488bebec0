#include "run/TransferSequence.h"

#include <QStringBuilder>

#include "core/Dialogs.h"
#include "core/NumberText.h"
#include "core/Scheduler.h"
#include "core/Val.h"
#include "files/jobs/JobFile.h"
#include "files/language/LanguageTexts.h"
#include "files/language/Wording.h"
#include "files/settings/MixFiles.h"
#include "link/Registers.h"
#include "link/TimedRoutine.h"
#include "machine/BucketTransport.h"
#include "machine/StationMetering.h"
#include "run/JobCompletion.h"
#include "run/JobJournal.h"
#include "run/LineCheck.h"
#include "run/PlantWriteBack.h"
#include "run/RunBlocked.h"
#include "run/RunLists.h"
#include "run/TopUpWater.h"
#include "run/TransferPhases.h"
#include "station/StationState.h"

namespace dye {

namespace {

constexpr int kNoValue = RegisterImage::RegNoValue;
constexpr int kReturnTicks = 120;  // a minute for the pipe head to go back to the bucket

}  // namespace

TransferSequence::TransferSequence(RunContext ctx)
    : c_(std::move(ctx)),
      resume_(
          c_, journal_, [this](const JournalState& j) { applyResume(j); }, [this] { clearJob(); },
          [this](const CompletedJob& job, const QString& finishText) {
              c_.plant.jobFinished(job, finishText);
          }),
      water_(c_, true),
      baseWater_(c_) {}

double TransferSequence::reading() const {
    return c_.state.balance(1).weight;
}

void TransferSequence::status(int k) {
    c_.state.run.indicator = c_.text(k);
}

void TransferSequence::shadeRows(RowShade shade) {
    c_.state.job.shadeRows(shade);
}

void TransferSequence::reset() {
    // The journal on disk stays: a stopped job goes on, or starts over, when
    // it is taken again.
    journal_ = JournalState{};
    resume_.reset();
    resumeMove_ = false;
    carried_ = {};
    TransferStep = RowStep = ResultCounter = ZeroMark = ReturnTicks = 0;
    Water = {};
    water_.reset();
    baseWater_.reset();
    washFrom_.reset();
    Place = 0;
    meteredRow_ = -1;
    startedAt_ = QDateTime();
}

void TransferSequence::tick() {
    diagnostics();
    liveWeight();
    // Nothing is decided on readings that are not current; the run goes on
    // once the controller answers again and the operator has acknowledged.
    if (!c_.state.linkUsable() || !c_.state.balance(1).fresh) {
        heldByLink_ = true;
        baseWater_.disturb();
        if (RowStep == 119) water_.hold();
        const QString order = c_.state.job.current().identity.order;
        const QString held = order.isEmpty() ? QString() : balanceHeldReason(c_.state, order, {1});
        if (!held.isEmpty()) c_.state.run.waitReason = held;
        return;
    }
    if (heldByLink_) resumeAfterLinkLoss();
    advance();
    closing();
}

// Every output was switched off when the controller answered again: a
// top-up that was running is opened again towards the same target.
void TransferSequence::resumeAfterLinkLoss() {
    heldByLink_ = false;
    if (RowStep == 119) {
        water_.reopen(water_.base());
        c_.log(QStringLiteral("< take water > again after the link came back"));
    }
}

void TransferSequence::diagnostics() {
    StationState& s = c_.state;
    const QLatin1StringView bars(" === ");
    c_.state.run.steps = QString::number(RowStep) % bars % QString::number(ZeroMark) % bars %
                         QString::number(TransferStep) % bars % QString::number(ResultCounter);
    c_.state.run.rowStep = QString::number(RowStep) + QLatin1Char('=');
    // While a row is metered the indicator says which, or that the bucket
    // is still on its way to the valves.
    if (meteredRow_ >= 0 && s.station[1].StationStep != 0) {
        const MachineInputs& in = s.link.inputs;
        if (in.xBusy || in.yBusy || in.zBusy) {
            status(LanguageText::MovingBucket);
        } else {
            const JobOnMachine& job = s.job;
            c_.state.run.indicator = QStringLiteral("%1 %2/%3 %4")
                                         .arg(c_.text(LanguageText::Dispensing))
                                         .arg(meteredRow_ + 1)
                                         .arg(job.current().rowCount())
                                         .arg(job.row(meteredRow_).code);
        }
    }

    feed_.fill(s, Place);
    feed_.blink(c_.state);
}

void TransferSequence::liveWeight() {
    StationState& s = c_.state;
    // Only the run's own metering of a row shows in the grid.
    if (meteredRow_ < 0 || s.station[1].StationStep <= 0) return;
    ++ResultCounter;
    const int row = meteredRow_;
    const std::optional<double>& actual = s.station[1].actual;
    s.job.setActual(row, actual ? numberText(*actual) : QString());
    if (s.balance(1).fresh &&
        progressDue(journal_.meteringSeen, reading() - journal_.meteringZero, progressTicks_))
        saveJournal();
    if (ResultCounter > 7) {
        if (s.job.row(row).shade == RowShade::Plain) s.job.shadeRow(row, RowShade::Metering);
        ResultCounter = 0;
    }
}

bool TransferSequence::waitingReason() {
    if (resume_.holdsRun()) return true;
    const JobIdentity& job = c_.state.job.current().identity;
    const QString& order = job.order;
    if (job.bucket.isEmpty()) {
        c_.state.run.waitReason =
            c_.say({u"單號 %1 沒有桶號，無法運轉。請停止運轉並從佇列移除，或填上桶號重新排入。",
                    u"Job %1 has no bucket number and cannot run. Stop the run and remove it "
                    u"from the queue, or queue it again with a bucket number."})
                .arg(order);
        return true;
    }
    c_.state.run.waitReason.clear();
    return false;
}

void TransferSequence::advance() {
    StationState& s = c_.state;
    if (waitingReason()) return;
    if (!resume_.ready() && !resume_.prepare()) return;
    if (homingRunning(s) || s.wash.WashPhase != 0 || s.station[1].StationStep != 0) return;

    // The metering of the last row has ended: its final weight, with what a
    // row cut short had in the bucket before, is what it got.
    if (meteredRow_ >= 0) {
        const std::optional<double>& kept = s.station[1].finalWeight;
        const size_t r = size_t(meteredRow_);
        QString actual = kept ? numberText(*kept + carried_[r])
                              : (carried_[r] > 0 ? numberText(carried_[r]) : QString());
        const QString code = s.job.row(meteredRow_).code;
        const double recipe = s.job.row(meteredRow_).recipeWeight();
        if (s.station[1].skipped)
            actual = markRowSkipped(c_, meteredRow_, code, recipe, Val(actual));
        else
            markLineOff(c_, meteredRow_, code, recipe, Val(actual));
        s.job.setActual(meteredRow_, actual);
        journal_.kept[r] = actual;
        journal_.meteringRow = -1;
        carried_[r] = 0;
        saveJournal();
        meteredRow_ = -1;
    }

    ++TransferStep;
    s.run.transferStep = QString::number(TransferStep);
    if (!startedAt_.isValid()) startedAt_ = c_.now();
    switch (TransferStep) {
        case 2:
            if (s.options().preWash) {
                s.wash.request(0, 1, 1);
            }
            break;
        case 4:
            s.TransferActive.claim();
            setAnimation(s, 0, 0);
            s.link.image.set(reg::Tare1, 10);
            phaseCodes(s, 20, 1, 1);
            s.job.shadeWater(WaterShade::BaseWater);
            ZeroMark = 10;
            s.run.indicator = s.say({u"天平歸零中", u"Zeroing the balance"});
            c_.log(QStringLiteral("< no.1 to zero >"));
            break;
        case 10:
            s.wash.endSingleCycle();
            Water[1] = wholeReading(reading());
            if (baseWater_.start(s.job.current().waterAmount())) {
                status(LanguageText::FillingWater);
                setAnimation(s, -1, 1);
            }
            break;
        case 50:
            Water[0] = wholeReading(reading()) - Water[1];
            baseWater_.measured(double(Water[0]));
            s.job.setActualWater(QString::number(Water[0]));
            s.job.shadeWater(WaterShade::Plain);
            journal_.waterKnown = true;
            journal_.actualWater = s.job.current().actualWater;
            journal_.waterBase = Water[1];
            journal_.waterGiven = Water[0];
            saveJournal();
            break;
        case 60:
            nextRow();
            break;
        default:
            if (TransferStep > 10 && TransferStep < 50) baseWater_.watch();
            break;
    }
}

void TransferSequence::nextRow() {
    StationState& s = c_.state;
    if (RowStep >= CurrentJob::kRows || !s.job.row(RowStep).present()) {
        RowStep = 99;
        shadeRows(RowShade::Plain);
        return;
    }
    if ((RowStep == 0 || resumeMove_) && !moveBucket()) return;
    resumeMove_ = false;

    const int row = RowStep;
    setAnimation(s, -1, 1);
    const JobRow& line = s.job.row(row);
    const QString weight = line.recipe;
    const QString tube = line.tube;
    // The zero of the row's whole content: a row cut short twice still counts
    // what its first part put in the bucket.
    journal_.meteringRow = row;
    journal_.meteringZero = reading() - carried_[size_t(row)];
    journal_.meteringSeen = carried_[size_t(row)];
    progressTicks_ = 0;
    saveJournal();
    const double carried = carried_[size_t(row)];
    startMetering(s, 1, line.valve(), numberText(line.recipeWeight() - carried), row);
    c_.log(QStringLiteral("< enter to dispen > wt = ") + weight + QStringLiteral("   where = ") +
           tube);
    meteredRow_ = row;
    ++RowStep;
    TransferStep = 55;
    ResultCounter = 0;
    shadeRows(RowShade::Plain);
}

bool TransferSequence::moveBucket() {
    StationState& s = c_.state;
    const QString& bucket = s.job.current().identity.bucket;
    int p = 0;
    for (int k = 0; k < MachineSettings::kTeachSlotCount; ++k) {
        const QString name = s.settings.teachSlot(k + 1).name.trimmed();
        if (!bucket.isEmpty() && name == bucket) {
            p = k;
            break;
        }
    }
    const int type = s.machineType();
    if (type == 4) {
        QString why;
        if (!c_.transport.conveyorTo(p, &why)) {
            refuseMove(QString(), why,
                       QStringLiteral("< move error not enter >  PLACE %1").arg(p + 1));
            return false;
        }
    } else {
        if (homingRunning(s)) {
            refuseMove(QStringLiteral("Error Not 0"),
                       c_.say({u"各軸正在歸零，桶子不移動",
                               u"The axes are homing; the bucket is not moved"}),
                       QStringLiteral("< move error not enter >  PUSH ERR"));
            return false;
        }
        s.link.homingDelay = intWithin(s.settings.number(SettingsField::HomingDelay));
        c_.transport.toSlot(p + 1);
    }
    setAnimation(s, 1, -1);
    Place = p + 1;
    s.PicturePlace = Place;
    s.wash.WashSlot = Place;
    phaseCodes(s, 2, 2, 2);
    status(LanguageText::MovingBucket);
    c_.log(QStringLiteral("< move to enter >  PUSH TO (%1)").arg(Place));
    return true;
}

// The job stays on the screen with the run timer off; a run retries the move.
void TransferSequence::refuseMove(const QString& tag, const QString& why, const QString& logLine) {
    c_.state.timers.oneBalanceRun->setEnabled(false);
    const QString tagged = tag.isEmpty() ? QString() : tag + QStringLiteral("  ");
    c_.state.run.waitReason =
        tagged + why +
        c_.say({u"：工作等待中；再按 RUN 重試。", u": the job waits; run again to retry."});
    TransferStep = 59;
    c_.log(logLine);
    c_.dialogs.message(tag.isEmpty() ? why : tag + QLatin1Char('\n') + why, QStringLiteral("INPUT"),
                       [] {});
}

// The axis-zero routine has run the pipe head home; on a gantry machine it goes
// back down into the job's bucket for the top-up water and the final wash. It
// is given a minute; after that the run goes on and the wash reports a pipe
// head that is not down.
bool TransferSequence::pipeHeadBackAtBucket() {
    StationState& s = c_.state;
    const int type = s.machineType();
    if ((type != 1 && type != 3) || Place <= 0) return true;
    if (ReturnTicks == 0) c_.transport.toSlot(Place);
    ++ReturnTicks;
    const bool down = s.link.RobotCheckState == 0 && c_.transport.pipeHeadDown();
    return down || ReturnTicks > kReturnTicks;
}

}  // namespace dye
