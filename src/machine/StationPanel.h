#pragma once

#include <QString>

namespace dye {

// How one metering station names itself: its panel on the settings form,
// its tag in the event log and its status codes. Station 2 is station 1
// shifted: Combo9 for Combo8, Label7(6..10) for Label7(0..4), Label2(2) for
// Label2(0), "<002" for "<001", codes 4..6 for 1..3.
struct StationPanel {
    int number;  // 1 or 2

    static StationPanel of(int station) { return StationPanel{station == 2 ? 2 : 1}; }

    int comboIndex() const { return number == 2 ? 9 : 8; }
    int readingIndex() const { return number == 2 ? 2 : 0; }
    // Label7 index of field k: 0 zero, 1 target, 2 actual, 3 step, 4 final.
    int labelIndex(int k) const { return (number == 2 ? 6 : 0) + k; }

    // Event-log prefix: "<001" or "<002".
    QString tag() const { return number == 2 ? QStringLiteral("<002") : QStringLiteral("<001"); }

    // MachineStatus codes while this station's alarm waits for the operator.
    int overWeightCode() const { return number == 2 ? 4 : 1; }
    int noFlowLongCode() const { return number == 2 ? 5 : 2; }   // during the long opening
    int noFlowPulseCode() const { return number == 2 ? 6 : 3; }  // at a pulse computation
};

}  // namespace dye
