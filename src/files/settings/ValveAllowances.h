#pragma once

#include <QDir>
#include <QString>

#include <array>

namespace dye {

// One learned quantity of a valve: its value, the typical size of its
// disagreement with new measurements (a robust spread), and how many
// measurements it rests on (0: nothing learned).
struct LearnedValue {
    double value = 0;
    double spread = 0;
    int count = 0;

    bool known() const { return count > 0; }
};

// What the station has learned of one valve from its finished meterings:
// - rate: what the valve really delivers per second while open;
// - fall: what still arrives after the station decides to end a long
//   opening (the valve's closing and the product in the air);
// - dead: seconds of a timed opening that deliver nothing (opening and
//   closing), so that a pulse of t seconds gives rate x (t - dead).
struct ValveAllowance {
    // The valve table's rate it was learned with: a changed table rate is a
    // recalibrated valve, learned anew.
    double tableRate = 0;
    LearnedValue rate;
    LearnedValue fall;
    LearnedValue dead;
};

using ValveAllowanceTable = std::array<ValveAllowance, 24>;  // [k - 1] is valve k

inline constexpr char kValveLearnedFileName[] = "VALVE_LEARNED.txt";
inline constexpr char kValveLearnedRejectedName[] = "VALVE_LEARNED_REJECTED.txt";

// Reads the learned file of `workdir` into `table`. An absent file leaves
// the table empty and says nothing. A file that cannot be read whole (torn,
// edited, random bytes) is moved byte for byte to
// VALVE_LEARNED_REJECTED.txt, the table is left empty, and the returned
// text says so (or why it could not be set aside); "" otherwise.
QString loadValveAllowances(const QDir& workdir, ValveAllowanceTable& table);

// Reads the learned file without touching it: false (table empty) when it
// is absent or cannot be read whole. For the reports.
bool readValveAllowances(const QDir& workdir, ValveAllowanceTable& table);

// Replaces the learned file atomically (written, synced, renamed). False,
// with `error`, when it cannot be written.
bool saveValveAllowances(const QDir& workdir, const ValveAllowanceTable& table,
                         QString* error = nullptr);

// The learned values of a valve for a person: "rate 41.8/s fall 2.10 dead
// 0.031 s (12 meterings)", or "not learned".
QString allowanceText(const ValveAllowance& a);

}  // namespace dye
