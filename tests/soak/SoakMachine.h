#pragma once

#include <QDir>
#include <QString>

#include <array>
#include <random>
#include <vector>

namespace dye::soak {

// What a seed may add to the plain run; each can be switched off to narrow a
// failure down.
struct SoakFlags {
    bool faults = true;           // controller faults
    bool odd = true;              // odd queue inputs
    bool operatorActions = true;  // STOP / RUN, lane buttons, wash button, queue edits
    bool restarts = true;         // a new station on the same folder in the middle of a job
    bool verbose = false;         // every check and event on standard error
    bool keep = false;            // keep the working folder (its path on standard error)
    bool simEvents = false;       // the simulator's tares, lane phases and bucket changes too
};

// The machine of one seed: its type and settings, and the valve table as it
// stands after the set-up (an empty code: no valve on this machine).
struct SoakMachine {
    int type = 1;
    int valvesPerStation = 12;       // settings field 11
    double tolerance = 2;            // settings field 7
    double bucketLimit = 30000;      // settings field 6 (the bucket watch of type 2)
    double threshold = 0;            // type 5: settings field 25, heavier rows go to balance 1
    double rateError = 0.05;         // the simulator's valve rates off by up to this share
    bool twins = false;              // type 5: codes on a station-1 and a station-2 valve
    bool manualLaneButtons = false;  // the lane ready buttons wait for a press
    std::array<QString, 24> codes;
    std::array<double, 24> rates{};
    std::vector<QString> buckets;  // bucket numbers that have a place

    bool twoBalances() const { return type == 2 || type == 5; }
    // Valves the machine has: two stations of valvesPerStation each.
    int valveCount() const { return std::min(24, 2 * valvesPerStation); }
    // The station (1, 2) a valve belongs to; 1 on the one-balance types.
    int stationOf(int valve) const { return twoBalances() && valve > valvesPerStation ? 2 : 1; }
    // Valves 1..24 carrying `code` on this machine.
    std::vector<int> valvesOf(const QString& code) const;
    QString describe() const;
};

// Draws a machine of `type` (1..5) from the seed's generator.
SoakMachine drawMachine(std::mt19937& random, int type);

// Writes the installation files and the machine's settings and valve table
// into `workdir` as a technician would, filling the machine's codes and rates
// from the shipped table (twin valves drawn on type 5); "" or what failed.
QString setUpMachine(const QDir& workdir, std::mt19937& random, SoakMachine& machine);

}  // namespace dye::soak
