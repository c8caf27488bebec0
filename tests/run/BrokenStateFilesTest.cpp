// State files that cannot be read are set aside byte for byte with a
// message, and the station goes on safely: no job is dispensed twice.
#include <QFile>

#include "TestFiles.h"
#include "files/records/DailyRecordFile.h"
#include "run/RunFixture.h"

namespace dye::test {
namespace {

class BrokenStateFiles : public RunFixture {
  protected:
    QString path(const char* name) const { return QDir(dir.path()).filePath(name); }
    void put(const char* name, const QByteArray& bytes) const {
        ASSERT_TRUE(writeFile(path(name), bytes));
    }
    QByteArray bytes(const char* name) const { return fileBytes(path(name)); }
};

// A journal of random bytes says nothing of the job on the machine: it is
// kept aside, and the job waits for a new bucket before it starts over (the
// headless station's OK stands for the operator's). A job whose record was
// written leaves the queue without being dispensed again.
TEST_F(BrokenStateFiles, AnUnreadableJournalIsSetAsideAndNoJobIsDispensedTwice) {
    valve(2, "NAOH", "35");
    const QByteArray junk = noise(3000, 1);
    put("JOB_JOURNAL.txt", junk);
    startRun({{9, "1"}});
    JobRecord j = job("J1", "1", "0", {{0, {"NAOH", "100"}}});
    j.QueuedAt = 46362.25;  // what tells the job from any other in the records
    queue(j);
    ASSERT_TRUE(runJob());
    EXPECT_EQ(bytes("JOB_JOURNAL_REJECTED.txt"), junk);
    EXPECT_TRUE(told("The job journal could not be read"));
    EXPECT_EQ(logTexts()
                  .filter("JOB_JOURNAL.txt is not a whole job journal: set aside as "
                          "JOB_JOURNAL_REJECTED.txt")
                  .size(),
              1);
    EXPECT_EQ(logTexts().filter("<resume> job J1 starts over in a new bucket").size(), 1);
    ASSERT_EQ(records().size(), 1);

    // The same job again, as a kill after its record would leave it, with a
    // journal torn beyond reading: it is finished without a drop poured.
    const double before = sim().machine().content(1);
    queue(j);
    put("JOB_JOURNAL.txt", noise(100, 2));
    ASSERT_TRUE(runUntil([&] { return queued() == 0; }));
    station->scheduler.advance(5000);
    EXPECT_EQ(records().size(), 1);
    EXPECT_NEAR(sim().machine().content(1), before, 1.0);
    EXPECT_EQ(bytes("JOB_JOURNAL_REJECTED.txt").size(), 3100);
    EXPECT_EQ(logTexts().filter("job J1 was recorded before the station stopped").size(), 1);
}

// Records of the recipe store that cannot be read and a wash table of random
// bytes are moved aside as they are at start-up, with a message; the
// readable recipes stay.
TEST_F(BrokenStateFiles, UnreadableRecipesAndWashTableAreSetAsideAtStart) {
    const QByteArray good1 = job("R1", "", "", {{0, {"NAOH", "5"}}}).toBytes();
    const QByteArray good2 = job("R2", "", "", {}).toBytes();
    const QByteArray junk = noise(JobRecord::kLength, 3);
    put("QUICK_A.txt", good1 + junk + good2);
    const QByteArray wash = noise(5001, 4);
    put("WASHsetting.txt", wash);
    startRun({{9, "1"}});
    EXPECT_EQ(bytes("QUICK_A.txt"), good1 + good2);
    EXPECT_EQ(bytes("QUICK_A_REJECTED.txt"), junk);
    EXPECT_EQ(form3().List1.items.size(), 2);
    EXPECT_TRUE(told("QUICK_A.txt: 1 of its 3 records (2) cannot be read"));
    EXPECT_EQ(bytes("WASHsetting_REJECTED.txt"), wash);
    EXPECT_EQ(bytes("WASHsetting.txt").count('\0') + bytes("WASHsetting.txt").count(' '),
              bytes("WASHsetting.txt").size());
    EXPECT_TRUE(told("WASHsetting.txt cannot be read (it is 5001 bytes, not a whole number"));
    EXPECT_EQ(logTexts().filter("<load> WASHsetting.txt cannot be read").size(), 1);

    // A sound store and table are left as they are at the next start.
    startRun();
    EXPECT_EQ(bytes("QUICK_A_REJECTED.txt"), junk);
    EXPECT_EQ(bytes("WASHsetting_REJECTED.txt"), wash);
}

}  // namespace
}  // namespace dye::test
