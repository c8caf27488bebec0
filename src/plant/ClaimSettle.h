#pragma once

#include <functional>

namespace dye {

class PlantService;

// At start-up, before the first intake: every claim a close or a kill left
// in the claims file is settled. A claim whose jobs are all in the queue or
// recorded just goes; one with some of them there queues the rest. One with
// none of them there is looked up where it was marked (the vat row, the
// order's rows, the drop record): still marked taken, its jobs are queued
// again (or, when they cannot be, the mark is taken back); not marked, it
// goes. Each is named in the event log. A claim the database cannot be asked
// about now stays, and is settled again before the next poll of the vat
// list or at the next start. `done` follows once all have been looked at.
void settleClaims(PlantService& plant, std::function<void()> done = {});

}  // namespace dye
