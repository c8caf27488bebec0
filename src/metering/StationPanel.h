#pragma once

#include <QString>

#include "core/Val.h"
#include "model/Form2.h"

namespace dye {

// Where one metering station keeps its working values on the settings form,
// and how it names itself in the event log and in its status codes. Station 2
// is station 1 shifted: Combo9 for Combo8, Label7(6..10) for Label7(0..4),
// Label2(2) for Label2(0), "<002" for "<001", codes 4..6 for 1..3.
struct StationPanel {
    int number;  // 1 or 2

    static StationPanel of(int station) { return StationPanel{station == 2 ? 2 : 1}; }

    int comboIndex() const { return number == 2 ? 9 : 8; }
    int readingIndex() const { return number == 2 ? 2 : 0; }
    int labelIndex(int k) const { return (number == 2 ? 6 : 0) + k; }

    QString& valveText(Form2& f) const { return f.Combo[comboIndex()]; }
    QString& zero(Form2& f) const { return f.Label7[labelIndex(0)]; }
    QString& target(Form2& f) const { return f.Label7[labelIndex(1)]; }
    QString& actual(Form2& f) const { return f.Label7[labelIndex(2)]; }
    QString& step(Form2& f) const { return f.Label7[labelIndex(3)]; }
    QString& finalWeight(Form2& f) const { return f.Label7[labelIndex(4)]; }
    const QString& readingText(const Form2& f) const { return f.Label2[readingIndex()]; }
    double reading(const Form2& f) const { return Val(readingText(f)); }

    // Event-log prefix: "<001" or "<002".
    QString tag() const { return number == 2 ? QStringLiteral("<002") : QStringLiteral("<001"); }

    // MachineStatus codes while this station's alarm waits for the operator.
    int overWeightCode() const { return number == 2 ? 4 : 1; }
    int noFlowLongCode() const { return number == 2 ? 5 : 2; }   // during the long opening
    int noFlowPulseCode() const { return number == 2 ? 6 : 3; }  // at a pulse computation
};

}  // namespace dye
