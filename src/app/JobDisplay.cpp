#include "app/JobDisplay.h"

#include "files/jobs/JobRecord.h"
#include "machine/HandWash.h"
#include "model/DispenseGrid.h"
#include "station/CurrentJob.h"
#include "station/RunDisplay.h"
#include "station/StationState.h"

namespace dye {
namespace {

Color rowColor(RowShade shade) {
    switch (shade) {
        case RowShade::Metering:
            return kYellow;
        case RowShade::LaneMetering:
            return kOrange;
        case RowShade::Done:
            return kDoneGreen;
        case RowShade::Plain:
            break;
    }
    return kDefaultBack;
}

// The lane labels: a two-balance lane's colour while it has rows, else the face.
Color laneColor(const RunDisplay& run, int lane) {
    if (run.laneHasRows[size_t(lane)]) return lane == 0 ? kOrange : kLightBlue;
    return run.face == RunFace::Stopped ? kStopPink : kCheckTan;
}

Color blinkColor(Blink blink) {
    switch (blink) {
        case Blink::Yellow:
            return kBlinkYellow;
        case Blink::Green:
            return kBlinkGreen;
        case Blink::Off:
            break;
    }
    return kDefaultBack;
}

void fillFace(const RunDisplay& run, Form3& f) {
    if (run.face == RunFace::Idle) return;  // the screen's own colours until the first RUN
    const bool stopped = run.face == RunFace::Stopped;
    const Color option = stopped ? kStopPink : kCheckTan;
    f.BackColor = stopped ? kStopPink : kFormGrey;
    f.Check1.BackColor = option;
    f.Check2.BackColor = option;
    f.Check4.BackColor = kCheckTan;
    for (Label& l : f.Label11) l.BackColor = option;
    for (int k = 0; k < 2; ++k) {
        f.Label10[k].BackColor = laneColor(run, k);
        f.Label10[k].Caption = stopped ? QStringLiteral("<STOP>") : QString();
    }
}

QString padded(const QString& text, qsizetype width, bool shown) {
    return shown ? text.leftJustified(width, u' ') : QString();
}

}  // namespace

void fillJobDisplay(const CurrentJob& job, Form3& f) {
    using namespace DispenseGrid;
    const bool shown = job.loaded();
    // The job fields show the texts at the queue's full width.
    f.Label2.Caption = padded(job.identity.order, JobRecord::kOrderNoWidth, shown);
    f.Label5.Caption = padded(job.identity.bucket, 10, shown);
    f.Label6.Caption = padded(job.water, 10, shown);
    f.Label7.Caption = job.actualWater;
    for (int k = 0; k < 4; ++k) f.Label18[k].Caption = job.extras[size_t(k)];
    f.Label6.BackColor = job.waterShade == WaterShade::TopUp ? kYellow : kDefaultBack;
    f.Label7.BackColor = job.waterShade == WaterShade::Plain ? kDefaultBack : kYellow;
    for (int r = 0; r < kRows; ++r) {
        const JobRow& row = job.rows[size_t(r)];
        cell(f, Code, r).Caption = row.code;
        cell(f, RecipeWeight, r).Caption = row.recipe;
        cell(f, Tube, r).Caption = row.tube;
        cell(f, ActualWeight, r).Caption = row.actual;
        cell(f, Balance, r).Caption = row.balance;
        cell(f, Name, r).Caption = row.name;
        for (Column c : kColumns) cell(f, c, r).BackColor = rowColor(row.shade);
    }
}

void fillRunDisplay(const StationState& s, Form3& f) {
    const RunDisplay& run = s.run;
    f.Label8.Caption = run.indicator;
    f.Label8.BackColor = s.job.loaded() ? blinkColor(run.blink) : kDefaultBack;
    f.Status = run.waitReason;
    f.Label22.Caption = run.steps;
    f.Label19.Caption = run.rowStep;
    f.Label12[0] = run.transferStep;
    f.Label15.Caption = run.washClock;
    f.Label16.Caption = run.washHold;
    f.Label20.Caption = run.idleTicks;
    fillFace(run, f);
    // The settings, the tools and the wash by hand wait while a job is on the machine.
    const bool free = !s.job.loaded();
    f.TOOL.Enabled = free;
    f.Command10.Enabled = free;
    f.Command12.Enabled = free && machineWashes(s.machineType());
}

}  // namespace dye
