// Seeds of the whole-station soak that once found a fault, replayed as
// scenarios: each runs its simulated shift on the real station and must end
// with no check failing.
#include <gtest/gtest.h>

#include "soak/SoakShift.h"

namespace dye::test {
namespace {

using soak::runSeed;
using soak::SoakFlags;

void expectClean(quint32 seed, const SoakFlags& flags) {
    const soak::SeedResult r = runSeed(seed, flags);
    QString seen;
    for (const soak::SoakFailure& f : r.failures)
        seen += f.cause + QStringLiteral(": ") + f.detail + u'\n';
    EXPECT_TRUE(r.failures.isEmpty()) << "seed " << seed << "\n" << seen.toStdString();
    EXPECT_GT(r.jobs, 0) << "seed " << seed;
}

// A power cut in the middle of a row: the controller comes back with its
// balance's zero lost, so the balance reads the empty bucket's own weight on
// top of the content. The row must not be credited that weight: it is
// metered in full (and the operator told), on every machine type.
TEST(SoakSeeds, APowerCutMidRowNeverCreditsTheBucketsOwnWeight) {
    SoakFlags restartsOnly;
    restartsOnly.faults = false;
    restartsOnly.odd = false;
    restartsOnly.operatorActions = false;
    for (quint32 seed : {13u, 122u, 6u, 80u, 109u}) expectClean(seed, restartsOnly);
}

// On the two-balance machines the end of a job changes both buckets through
// the lanes' phase codes, which share a write block with the tares and the
// water: the next job must never meter into the old job's bucket, whatever
// the faults, operator actions and restarts of the shift.
TEST(SoakSeeds, TheNextJobNeverMetersIntoTheLastJobsBucket) {
    for (quint32 seed : {11u, 44u, 66u, 94u}) expectClean(seed, SoakFlags{});
}

// A stop, or a controller that falls silent, right as a two-balance job ends:
// the job-end code that changes both buckets still goes out before the next
// job's lanes start, so the next job never meters into the ended one's bucket.
TEST(SoakSeeds, AStopOrASilentControllerAtAJobEndStillChangesTheBuckets) {
    for (quint32 seed : {259u, 871u}) expectClean(seed, SoakFlags{});
}

// STOP in the middle of a row, RUN in the same bucket, and a restart before
// the row's metering starts again: what the row had in the bucket is still
// counted, never poured a second time.
TEST(SoakSeeds, ARestartRightAfterAResumeKeepsTheRowsContent) {
    expectClean(132, SoakFlags{});
}

// A valve stuck for a minute in the middle of its pulses: the no-flow alarm
// sends the station back to choose its method, a long opening that stops at
// once settles and computes its pulse as after any other long opening.
TEST(SoakSeeds, AValveStuckDuringItsPulsesMetersOnAfterTheAlarm) {
    expectClean(1999, SoakFlags{});
}

}  // namespace
}  // namespace dye::test
