#include "run/TwoBalanceEnd.h"

#include "files/jobs/JobFile.h"
#include "link/Registers.h"
#include "link/ScanCycle.h"
#include "run/PlantWriteBack.h"
#include "run/RunLists.h"
#include "station/StationState.h"

namespace dye {

JobCompletion::Outcome finishTwoBalanceJob(const RunContext& c, CompletedJob job,
                                           JournalState& journal) {
    StationState& s = c.state;
    for (int lane : {1, 2}) putLaneJobEnd(s.link, lane);
    job.dateSeparator = u'/';
    job.logEnd = false;
    const JobCompletion::Outcome outcome = JobCompletion(c).complete(
        job, journal, [&](const QString& finishText) { twoBalanceWriteBack(c, job, finishText); });
    if (outcome == JobCompletion::Outcome::NotRecorded) return outcome;
    // The ended job's buckets are to be changed before the next job's lanes
    // start: the code is owed until each lane has seen it go out.
    s.link.laneEndOwed = {true, true};
    s.link.image.set(reg::Air1, RegisterImage::RegNoValue);
    s.link.image.set(reg::Air2, RegisterImage::RegNoValue);
    return outcome;
}

void twoBalanceWriteBack(const RunContext& c, const CompletedJob& job, const QString& finishText) {
    c.plant.twoBalanceJobFinished(job, finishText);
    if (c.state.options().removeFinished) removeSavedRecipes(c, job.identity.order);
}

void removeSavedRecipes(const RunContext& c, const QString& order) {
    JobFile store = recipeStoreFile(c.workdir);
    const QList<JobRecord> recipes = store.records();
    bool failed = !store.errorString().isEmpty();
    for (qsizetype n = recipes.size(); n >= 1 && !failed; --n)
        if (recipes[n - 1].OrderNo.trimmed() == order && !store.remove(int(n))) failed = true;
    if (failed)
        c.log(QStringLiteral("<Finish_DEL> recipe %1 not removed from QUICK_A.txt: %2")
                  .arg(order, store.errorString()));
    RunContext ctx = c;
    fillRecipeList(ctx);
}

}  // namespace dye
