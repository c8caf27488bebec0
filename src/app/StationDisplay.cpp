#include "app/StationDisplay.h"

#include "app/JobDisplay.h"
#include "core/NumberText.h"
#include "link/Registers.h"
#include "link/ScanCycle.h"
#include "machine/StationPanel.h"
#include "station/StationState.h"

namespace dye {
namespace {

QString optionalNumber(const std::optional<double>& v) {
    return v ? numberText(*v) : QString();
}

void fillBalances(StationState& s) {
    Form2& f = s.form2;
    const RegisterImage& image = s.link.image;
    for (int n : {1, 2}) {
        const BalanceInput& b = s.balance(n);
        const StationPanel p = StationPanel::of(n);
        // Nothing is shown before the first reading; an overload keeps the
        // last weight shown.
        if (b.fresh && !b.overload) {
            f.Label2[p.readingIndex()] = numberText(b.weight);
            // The main screen's live weight under each balance the machine has.
            const int type = s.machineType();
            if (n == 1 || type == 2 || type == 5)
                s.form3.Label11[1 + n].Caption = numberText(b.weight);
        }
        f.Label2[p.readingIndex() + 1] = QString::number(b.signWord);
    }
    f.Label3[10] = QString::number(image.get(reg::LaneReady1));
    f.Label3[11] = QString::number(image.get(reg::LaneReady2));
}

void fillIndicators(StationState& s) {
    // D301..D309 and D297, on the position screen and the settings form alike,
    // on the machines that read them.
    if (!s.link.inputs.axesFresh) return;
    const RegisterImage& image = s.link.image;
    for (int i = 0; i < 10; ++i) {
        const QString text = QString::number(image.get(i < 9 ? 301 + i : 297));
        s.form9.Label3[i] = text;
        s.form2.Label3[i] = text;
    }
}

void fillMeteringPanels(StationState& s) {
    Form2& f = s.form2;
    for (int n : {1, 2}) {
        const StationPanel p = StationPanel::of(n);
        const MeteringStation& st = s.station[size_t(n)];
        const bool started = st.valve != 0;
        f.Label7[p.labelIndex(0)] = started ? numberText(st.zero) : QString();
        f.Label7[p.labelIndex(1)] = started ? numberText(st.target) : QString();
        f.Label7[p.labelIndex(2)] = optionalNumber(st.actual);
        f.Label7[p.labelIndex(3)] = QString::number(st.StationStep);
        f.Label7[p.labelIndex(4)] = optionalNumber(st.finalWeight);
    }
}

void fillPositions(StationState& s) {
    const LinkState& l = s.link;
    s.form2.Label5[0] = QString::number(l.MoveX[0]);
    s.form2.Label5[1] = QString::number(l.MoveZ[0]);
    s.form9.Label5[0] = QString::number(l.MoveX[0]);
    s.form9.Label5[1] = QString::number(l.MoveY[0]);
    s.form9.Label5[2] = QString::number(l.MoveZ[0]);
}

void fillDiagnostics(StationState& s, const ScanCycle& scan) {
    s.form3.Label21 = QStringLiteral("%1 === %2 === %3-%4-%5")
                          .arg(s.station[1].StationStep)
                          .arg(s.station[2].StationStep)
                          .arg(scan.ScanStep)
                          .arg(scan.LatchedValues[0])
                          .arg(scan.LatchedValues[7]);
    s.form11.Label3 = s.form3.Label21;
    s.form3.Label12[4] = QString::number(s.link.RobotCheckState);
}

}  // namespace

void fillStationDisplay(StationState& state, const ScanCycle& scan) {
    fillBalances(state);
    fillIndicators(state);
    fillMeteringPanels(state);
    fillPositions(state);
    fillDiagnostics(state, scan);
    // After a stop the grid keeps what the stopped job put in the bucket.
    const bool stopped = !state.job.loaded() && state.run.face == RunFace::Stopped;
    fillJobDisplay(stopped ? state.run.stoppedJob : state.job.current(), state.form3);
    fillRunDisplay(state, state.form3);
    state.form2.Label8 = state.run.washClock;
}

}  // namespace dye
