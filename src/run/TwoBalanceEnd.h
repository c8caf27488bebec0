#pragma once

#include <QString>

#include "run/JobCompletion.h"
#include "run/RunContext.h"

namespace dye {

// The end of a two-balance job, with the job still on the screen: both
// lanes' phase codes 5, the daily record (its time text with "/"), the
// two-balance write-back, the saved recipe of the order removed when
// "Finish_DEL" is checked, the go signals switched off and the job removed
// from the queue. No event-log line for a normal end.
JobCompletion::Outcome finishTwoBalanceJob(const RunContext& c, CompletedJob job,
                                           JournalState& journal);

// The two-balance write-back of a recorded job: the plant database's
// statements, and the saved recipes of its order removed when "Finish_DEL"
// is checked.
void twoBalanceWriteBack(const RunContext& c, const CompletedJob& job, const QString& finishText);

// Removes every saved recipe of `order` from QUICK_A.txt and fills the
// recipe list again; a failure is logged.
void removeSavedRecipes(const RunContext& c, const QString& order);

}  // namespace dye
