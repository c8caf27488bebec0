// A plant claim ends up queued once, whatever stops the station between the
// mark and the queue: a close with the worker's answer not yet handed on, or
// a kill at each step of the claims file (entry written with no mark, mark
// made with nothing queued, queued with the entry still there).
#include "core/AnsiText.h"
#include "core/OleDate.h"
#include "files/settings/MachineSettings.h"
#include "plant/ClaimQueue.h"
#include "plant/DropIntake.h"
#include "plant/PlantClaims.h"
#include "plant/PlantRun.h"
#include "plant/PlantSession.h"
#include "plant/VatIntake.h"

namespace dye::test {
namespace {

const QString kVat =
    vat("1", "'3'", "B1") + line(1, "B1", "'RED'", "30") + line(2, "B1", "'BLUE'", "20");

class PlantClaimRun : public PlantRun {
  protected:
    PlantClaims claims() { return PlantClaims(QDir(dir.path())); }
    QStringList vzt() { return rows("SELECT VZT FROM \"SPTR_ZJCL\""); }
    QStringList inserted() { return rows("SELECT VBH FROM \"SPTR_ZJD\" ORDER BY VBH"); }
    // Lets a poll go by, runs until the queue is empty and the machine free,
    // then lets the write-back and a few polls go by.
    void workQueue() {
        station->scheduler.advance(11500);
        ASSERT_TRUE(runUntil([&] { return queued() == 0 && order().isEmpty(); }));
        station->scheduler.advance(30000);
    }
    // The vat claimed as the intake claims it, on a worker of the test's own,
    // with the station down: its entry written and VZT 2.
    PlantClaim claimVat() {
        MachineSettings settings;
        settings.setText4(0, "RED");
        settings.setText4(1, "BLUE");
        VatClaim out;
        const PlantClaims file = claims();
        runOnce(plant->source(), [&](PlantSession& s) {
            VatIntake::claim(s, out, toOleDate(QDateTime(QDate(2026, 12, 6), QTime(7, 0))),
                             settings, {}, &file);
        });
        EXPECT_TRUE(out.claimed);
        return out.entry;
    }
};

TEST_F(PlantClaimRun, AClosingStationHandsOnTheVatItClaimedAndItIsDispensedOnce) {
    makePlant(kVat);
    startPlant("MARIGOLD");
    // The claim made on the worker; its answer not yet handed on.
    station->vatIntake().run();
    EXPECT_EQ(vzt(), QStringList{"2"});
    EXPECT_EQ(claims().read().size(), 1);
    EXPECT_EQ(queued(), 0);
    station.reset();  // the operator closes the station
    EXPECT_EQ(queued(), 1);
    EXPECT_TRUE(claims().read().isEmpty());
    EXPECT_FALSE(QFile::exists(claims().path()));

    startPlant("MARIGOLD");
    workQueue();
    EXPECT_EQ(records().size(), 1);
    EXPECT_EQ(inserted(), (QStringList{"BLUE", "RED"}));
    EXPECT_EQ(vzt(), QStringList{"3"});
}

// Each instant a kill may leave: the next start settles the entry, and the
// vat is dispensed once, written back once and closed.
enum KillStep { EntryOnly, MarkedNotQueued, QueuedEntryLeft };

class PlantClaimKill : public PlantClaimRun, public ::testing::WithParamInterface<KillStep> {};

TEST_P(PlantClaimKill, TheClaimLeftIsSettledAtTheNextStart) {
    const KillStep step = GetParam();
    makePlant(kVat);
    const PlantClaim entry = claimVat();
    ASSERT_EQ(entry.jobs.size(), 1);
    if (step == EntryOnly) {
        ASSERT_TRUE(plant->exec("UPDATE \"SPTR_ZJCL\" SET VZT = 1"));
        plant->close();
    }
    if (step == QueuedEntryLeft) queue(entry.jobs[0]);
    startPlant("MARIGOLD");
    station->scheduler.advance(200);  // the settling, before any poll
    EXPECT_TRUE(claims().read().isEmpty());
    EXPECT_EQ(queued(), step == EntryOnly ? 0 : 1);
    EXPECT_EQ(logTexts().filter("<intake> " + entry.shown()).size(),
              step == QueuedEntryLeft ? 0 : 1);
    workQueue();
    EXPECT_EQ(records().size(), 1);
    EXPECT_EQ(inserted(), (QStringList{"BLUE", "RED"}));
    EXPECT_EQ(vzt(), QStringList{"3"});
}

INSTANTIATE_TEST_SUITE_P(EachStep, PlantClaimKill,
                         ::testing::Values(EntryOnly, MarkedNotQueued, QueuedEntryLeft));

// A drop record marked taken whose job a kill kept out of the queue is
// queued at the next start; one not marked is left untaken.
TEST_F(PlantClaimRun, ADropRecordMarkedButNotQueuedIsQueuedAtTheNextStart) {
    makePlant("");
    startPlant("ZOLPOWDERS", {{10, "in\\"}});
    state().timers.jobStart->setEnabled(false);  // the jobs stay queued
    ASSERT_TRUE(QDir(dir.path()).mkdir("in"));
    const QString path = dropFilePath("in\\", QDir(dir.path()), QDate(2026, 12, 6));
    ASSERT_TRUE(writeFile(path, dropRecord("Z1", "", {{"BLUE", "1", "0.25"}}) +
                                    dropRecord("Z2", "", {{"BLUE", "1", "0.25"}})));
    // A queue that cannot be written: what takeDropRecord leaves is what a
    // kill after the mark leaves, once the entry is put back.
    ASSERT_TRUE(QDir(dir.path()).mkdir("START_DISPEN.txt"));
    const auto blockedTake = [&](const QString& id) {
        const DropIntakeResult r =
            takeDropRecord(path, id, QDir(dir.path()), state().settings, 46362.25);
        EXPECT_TRUE(r.jobs.isEmpty());
        EXPECT_TRUE(claims().read().isEmpty());
    };
    blockedTake("Z1");
    blockedTake("Z2");
    ASSERT_TRUE(QDir(dir.path()).rmdir("START_DISPEN.txt"));
    JobRecord job = RunFixture::job("Z1", state().settings.teachSlot(1).name.trimmed(), "",
                                    {{0, {"BLUE", "250"}}});
    job.QueuedAt = 46362.25;
    ASSERT_TRUE(claims().add({"z1", PlantClaim::Kind::Drop, {path, "0", "Z1", "      "}, {job}}));
    JobRecord other = job;
    other.OrderNo = "Z2";
    ASSERT_TRUE(claims().add({"z2", PlantClaim::Kind::Drop, {path, "1", "Z2", "      "}, {other}}));
    // Z1 was marked before the kill, Z2 not.
    ASSERT_TRUE(writeDropStatus(path, 0, "A_OK  "));
    station.reset();
    startPlant("ZOLPOWDERS", {{10, "in\\"}});
    state().timers.jobStart->setEnabled(false);
    station->scheduler.advance(200);
    ASSERT_EQ(queued(), 1);
    EXPECT_EQ(jobQueueFile(QDir(dir.path())).read(1)->OrderNo, "Z1");
    EXPECT_TRUE(claims().read().isEmpty());
    // Z2 is taken when it is entered, once; Z1 is not taken again.
    state().form6.Text1 = "Z2";
    station->identifierEntry().identifierKey(13);
    state().form6.Text1 = "Z1";
    station->identifierEntry().identifierKey(13);
    EXPECT_EQ(queued(), 2);
    EXPECT_EQ(state().form6.Text1, "===NO ID===");
}

}  // namespace
}  // namespace dye::test
