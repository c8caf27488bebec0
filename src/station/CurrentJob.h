#pragma once

#include <QString>

#include <array>

#include "files/jobs/JobIdentity.h"

namespace dye {

// How the main screen shades a row of the job: plain, metered now (yellow on
// the one-balance run, the lane's orange on the two-balance run) or done.
enum class RowShade { Plain, Metering, LaneMetering, Done };

// How it shades the job's water: plain, the base water running (the actual
// water), or the top-up running (the amount and the actual water).
enum class WaterShade { Plain, BaseWater, TopUp };

// One row of the job: the product, its recipe weight as queued, the valve
// that carries it, the balance it is metered on, and what the bucket has.
struct JobRow {
    QString code;     // trimmed; empty: no row here
    QString recipe;   // as queued, at the record's width
    QString tube;     // valve number; empty when no valve carries the code
    QString name;     // the valve's product name
    QString balance;  // "1" or "2" where the machine chooses; empty otherwise
    QString actual;   // what the bucket has of it, as shown and recorded
    RowShade shade = RowShade::Plain;

    bool present() const { return !code.isEmpty(); }
    // The recipe weight as every check reads it (0 when it is not a plain
    // number, which the queue guard never lets through).
    double recipeWeight() const;
    // The valve number (0 when none carries the code).
    int valve() const;
};

// The job on the machine, from its start to its record: its identity, water,
// extra fields and rows, packed (an empty code ends them).
struct CurrentJob {
    static constexpr int kRows = 10;

    JobIdentity identity;  // order and bucket trimmed, and its queueing time
    QString water;         // the water amount as queued, trimmed
    QString actualWater;   // as shown and recorded
    WaterShade waterShade = WaterShade::Plain;
    std::array<QString, 4> extras;  // trimmed
    std::array<JobRow, kRows> rows;

    // A job is on the main screen: it has an order number.
    bool loaded() const { return !identity.order.isEmpty(); }
    // Rows with a code.
    int rowCount() const;
    double waterAmount() const;
    double actualWaterValue() const;
};

}  // namespace dye
