#include "run/TransferSequence.h"

#include <algorithm>

#include "core/NumberText.h"
#include "core/Scheduler.h"
#include "core/Val.h"
#include "files/language/LanguageTexts.h"
#include "files/settings/MixFiles.h"
#include "link/Registers.h"
#include "machine/BucketTransport.h"
#include "run/JobCompletion.h"
#include "run/JobJournal.h"
#include "run/PlantWriteBack.h"
#include "run/TopUpWater.h"
#include "run/TransferPhases.h"
#include "station/StationState.h"

// The one-balance run's closing: the wash, the top-up water, the end of the
// job, and the resume of a job interrupted with rows in its bucket.
namespace dye {

namespace {
constexpr int kNoValue = RegisterImage::RegNoValue;
}  // namespace

void TransferSequence::closing() {
    StationState& s = c_.state;
    switch (RowStep) {
        case 99: {
            shadeRows(RowShade::Done);
            if (s.settings.siteProfile() == SiteProfile::Pelko) {
                // Every entry the job start marked for a code is cleared.
                QString error;
                for (const JobRow& row : s.job.current().rows)
                    if (row.present()) markDyeMixCode(c_.workdir, s.settings, row.code, 0, &error);
                if (!error.isEmpty()) c_.log(QStringLiteral("<mix> ") + error);
            } else {
                // The special codes the job marked (flag 25 marks a loaded
                // job, not a code, and stays).
                for (int k = 1; k <= 24; ++k) {
                    if (!s.TalbertSpecialFlags[size_t(k)]) continue;
                    s.link.image.set(reg::output(k), kNoValue);
                    s.TalbertSpecialFlags[size_t(k)] = 0;
                }
            }
            washFrom_ = wholeReading(reading());
            s.wash.afterRows();
            setAnimation(s, 3, 2);
            status(LanguageText::Washing);
            RowStep = 109;
            c_.log(QStringLiteral("< washing >"));
            break;
        }
        case 109:
            // The wash re-arms the axis-zero routine, which switches every output
            // off on its way: the top-up water waits until it has finished.
            if (s.wash.WashPhase != 0 || homingRunning(s)) break;
            if (!pipeHeadBackAtBucket()) break;
            // Water the wash let into the bucket is water of the job; what a
            // wash carried off is not taken from the water given.
            if (washFrom_) Water[0] += std::max<qint64>(0, wholeReading(reading()) - *washFrom_);
            washFrom_.reset();
            s.job.setActualWater(QString::number(Water[0]));
            if (s.job.current().waterAmount() == 0) {
                setAnimation(s, 0, 0);
                if (flagWaterOff(c_, 0, double(Water[0]))) s.job.markWaterOff();
                RowStep = 199;
                journal_.closed = true;
                journal_.actualWater = s.job.current().actualWater;
                saveJournal();
                break;
            }
            water_.start();
            RowStep = 119;
            break;
        case 119:
            if (water_.stopWhenReached()) RowStep = 129;
            break;
        case 129:
            if (!water_.settled()) break;
            setAnimation(s, 0, 0);
            s.wash.finalRinse();
            if (c_.clearWashClock) c_.clearWashClock();
            RowStep = 199;
            journal_.closed = true;
            journal_.actualWater = s.job.current().actualWater;
            saveJournal();
            break;
        case 199:
            if (s.wash.WashPhase == 0) endOfJob();
            break;
        default:
            break;
    }
}

void TransferSequence::endOfJob() {
    StationState& s = c_.state;
    phaseCodes(s, 5, 5, 5);
    c_.transport.conveyorOff();

    const std::optional<FinishedJob> done =
        finishJob(c_, startedAt_, [this](const CompletedJob& record) {
            return JobCompletion(c_).complete(record, journal_, [&](const QString& finishText) {
                c_.plant.jobFinished(record, finishText);
            });
        });
    if (!done) return;

    clearJob();
    armHoming(s);
    if (finished_) finished_(*done);
}

void TransferSequence::clearJob() {
    reset();
    dye::clearJob(c_.state);
}

void TransferSequence::saveJournal() {
    dye::saveJournal(c_, journal_);
}

// Goes on where the job was: the rows in the bucket keep their weights, the
// row cut short is metered to what it still lacks, and nothing is tared.
void TransferSequence::applyResume(const JournalState& j) {
    StationState& s = c_.state;
    const QStringList keptRows = resume_.restoreKept(j);
    int next = -1;  // the first row not in the bucket
    for (int r = 0; r < CurrentJob::kRows && next < 0; ++r)
        if (s.job.row(r).present() && !j.kept[size_t(r)]) next = r;
    Water[0] = j.waterGiven;
    Water[1] = j.waterBase;
    ZeroMark = 10;
    s.TransferActive.claim();
    QString from;
    if (j.closed) {
        RowStep = 199;
        TransferStep = 61;
        from = QStringLiteral("its end");
    } else {
        if (next >= 0 && j.meteringRow == next)
            carried_[size_t(next)] = cutRowContent(
                c_, j.job.order, next, 1, s.job.row(next).recipeWeight(), j.meteringZero,
                j.meteringSeen, s.settings.valveRate(s.job.row(next).valve()));
        RowStep = next >= 0 ? next : CurrentJob::kRows;
        TransferStep = 59;
        resumeMove_ = true;
        from = next >= 0 ? QStringLiteral("row %1 (%2 already in the bucket)")
                               .arg(next + 1)
                               .arg(numberText(carried_[size_t(next)]))
                         : QStringLiteral("the wash");
    }
    // What the row cut short has in the bucket stays in the journal until its
    // metering starts again, so that a kill in between does not lose it.
    const double inBucket = next >= 0 ? carried_[size_t(next)] : 0.0;
    journal_.meteringRow = inBucket > 0 ? next : -1;
    journal_.meteringZero = reading() - inBucket;
    journal_.meteringSeen = inBucket;
    saveJournal();
    c_.log(
        QStringLiteral("<resume> job %1 goes on in the same bucket: rows kept %2; goes on from %3")
            .arg(j.job.order,
                 keptRows.isEmpty() ? QStringLiteral("none") : keptRows.join(QStringLiteral(", ")),
                 from));
}

}  // namespace dye
