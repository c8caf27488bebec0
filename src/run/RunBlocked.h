#pragma once

#include <QString>

#include <initializer_list>

namespace dye {

struct StationState;

// Why the run cannot take a job at all, for the main screen ("" when it can):
// a machine type outside 1..5 arms no run, settings out of their range or a
// valve table that cannot meter would dose wrongly, and without a working controller
// link a job would only wait on a machine that never answers.
QString runBlockedReason(const StationState& state);

// Why the job `order` is held with the link up ("" when it is not): one of
// `balances` reads beyond its range, over its load or, after a load was
// taken off a balance zeroed with it on, far below its zero.
QString balanceHeldReason(const StationState& state, const QString& order,
                          std::initializer_list<int> balances);

}  // namespace dye
