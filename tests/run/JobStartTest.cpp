// Taking a job onto the main screen: packed rows, tube, name and balance of
// every row, and the start-up of the main screen.
#include <QFileInfo>

#include "files/language/ToSimplified.h"
#include "files/settings/MixFiles.h"
#include "run/JobStart.h"
#include "run/RunFixture.h"
#include "run/RunLists.h"

namespace dye::test {
namespace {

using namespace DispenseGrid;

class JobStartTest : public RunFixture {
  protected:
    // Valve table: tube j + 1 carries code "C<j+1>" and name "N<j+1>".
    void tubes() {
        for (int j = 0; j < 24; ++j) {
            state().settings.setText4(j, QStringLiteral("C%1").arg(j + 1));
            state().settings.setText4(48 + j, QStringLiteral("N%1").arg(j + 1));
        }
    }
    void load(const JobRecord& r) { station->jobStart().load(r); }
};

TEST_F(JobStartTest, LinesArePackedIntoRowsWithTubeAndName) {
    startRun();
    tubes();
    state().settings.setText4(7, "C3");  // tube 8 also carries C3: the last tube wins
    load(job("P", "7", "500", {{0, {"C1", "11"}}, {2, {"C3", "33"}}, {6, {"NONE", "77"}}}));
    // Code, recipe weight, tube, name and balance of each row. No tube
    // carries NONE: its tube and name stay empty. A one-balance machine
    // leaves the balance column alone.
    const QStringList rows[] = {{"C1", "11", "1", "N1", ""},
                                {"C3", "33", "8", "N8", ""},
                                {"NONE", "77", "", "", ""},
                                {"", "", "", "", ""}};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; Column c : {Code, RecipeWeight, Tube, Name, Balance})
            EXPECT_EQ(cell(c, row), rows[row][k++]) << row;
    EXPECT_EQ(order(), "P");
    EXPECT_FALSE(form3().TOOL.Enabled);
    EXPECT_FALSE(form3().Command10.Enabled);
    EXPECT_TRUE(logTexts().contains("<start>P< start >"));
    // A stop frees the machine: the settings, tools and wash by hand open
    // again (the wait reason may send the operator to the settings screen).
    station->runControl().stopJob();
    station->projectScreens();
    EXPECT_TRUE(form3().TOOL.Enabled);
    EXPECT_TRUE(form3().Command10.Enabled);
    EXPECT_TRUE(form3().Command12.Enabled);
    EXPECT_EQ(form3().Label10[1].Caption, "<STOP>");
}

// The balance of each row: by tube count on type 2 and FENWICK (an empty
// count is filled with 5 the first time it is needed); on type 5 by the
// weight threshold for a product both stations carry (C1 and C2 have twins
// on station 2), else by the station that carries it, whatever its weight.
TEST_F(JobStartTest, BalanceOfEachRowByMachineType) {
    const std::map<int, std::pair<QString, QString>> byTube{
        {0, {"C5", "1"}}, {1, {"C6", "1"}}, {2, {"C24", "1"}}};
    const struct {
        std::map<int, QString> fields;
        std::map<int, std::pair<QString, QString>> lines;
        QStringList balances;
        const char* tubeCount;  // field 11 after the load
    } cases[] = {
        {{{5, "2"}, {11, "5"}}, byTube, {"1", "2", "2"}, "5"},
        {{{16, "FENWICK"}, {11, "5"}}, byTube, {"1", "2", "2"}, "5"},
        {{{5, "2"}, {11, ""}}, byTube, {"1", "2", "2"}, "5"},
        {{{5, "5"}, {25, "100"}},
         {{0, {"C1", "100"}}, {1, {"C2", "100.5"}}, {2, {"C3", "5"}}, {3, {"C20", "500"}}},
         {"2", "1", "1", "2"},
         "12"},
    };
    int k = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(k++);
        std::map<int, QString> fields = c.fields;
        fields.try_emplace(16, QString());  // no profile left from the case before
        startRun(fields);
        tubes();
        state().settings.setText4(12, QStringLiteral("C1"));
        state().settings.setText4(13, QStringLiteral("C2"));
        load(job("B", "1", "", c.lines));
        for (int row = 0; row < c.balances.size(); ++row)
            EXPECT_EQ(cell(Balance, row), c.balances[row]) << row;
        EXPECT_EQ(state().settings.Text1(11), c.tubeCount);
    }
}

// The dye-mix marks of PELKO are DispensingRun's.
TEST_F(JobStartTest, TalbertMarksTheSpecialRegisterOfItsCode) {
    startRun({{16, "TALBERT"}, {27, "C2"}});
    tubes();
    load(job("S", "1", "", {{0, {"C2", "5"}}}));
    EXPECT_EQ(state().link.image.get(802), 32700);
    EXPECT_EQ(state().TalbertSpecialFlags[2], 1);
}

TEST_F(JobStartTest, TakesNoJobWhileHomingOrWashing) {
    valve(1, "SODA", "40");
    startRun();
    queue(job("WAIT", "1", "0", {{0, {"SODA", "5"}}}));
    // The axis-zero routine of the start-up holds the first job back.
    station->scheduler.advance(1500);
    EXPECT_TRUE(form3().List2.items.contains("WAIT---1"));
    EXPECT_EQ(order(), "");
    state().timers.jobStart->setEnabled(false);
    ASSERT_TRUE(runUntil([&] { return !homingRunning(state()); }));
    // A wash asked for from the main screen holds it back too.
    station->mainScreen().requestWash();
    state().timers.jobStart->setEnabled(true);
    station->scheduler.advance(3000);
    EXPECT_NE(state().wash.WashPhase, 0);
    EXPECT_EQ(order(), "");
    ASSERT_TRUE(runUntil([&] { return order() == "WAIT"; }));
    EXPECT_EQ(state().wash.WashPhase, 0);
    EXPECT_FALSE(homingRunning(state()));
}

TEST_F(JobStartTest, StartUpResetsFilesAndArmsTheRunTimerOfTheType) {
    // Whatever the files held before, they start cleared.
    ASSERT_TRUE(setBucketFlag(QDir(dir.path()), 7));
    ASSERT_TRUE(writeMixMark(QDir(dir.path()).filePath("MIX_C.txt"), 3, 1));
    startRun({{5, "2"}, {21, "4"}});
    EXPECT_EQ(fileBytes(dir.filePath("light.txt")), QByteArray(200, '0'));
    EXPECT_EQ(fileBytes(dir.filePath("MIX_C.txt")), QByteArray(60, '\0'));
    EXPECT_TRUE(QDir(dir.path()).exists("LOG"));
    EXPECT_FALSE(state().timers.oneBalanceRun->enabled());
    EXPECT_TRUE(state().timers.twoBalanceRun->enabled());
    EXPECT_FALSE(state().timers.intake->enabled());
    EXPECT_EQ(form3().Label14.BackColor, paletteColor(4));
    EXPECT_FALSE(form3().Label19.Visible);

    startRun({{5, "9"}});
    EXPECT_FALSE(state().timers.oneBalanceRun->enabled());
    EXPECT_FALSE(state().timers.twoBalanceRun->enabled());
    station->projectScreens();
    EXPECT_TRUE(form3().Status.contains("9"));
}

TEST_F(JobStartTest, NoJobIsTakenWithoutAControllerLink) {
    startRun({{1, "0"}, {9, "1"}});  // no scan interval: the scan never runs
    queue(job("IDLE", "1", "0", {}));
    station->scheduler.advance(30000);
    EXPECT_EQ(order(), "");
    EXPECT_TRUE(form3().Status.contains("link"));
    EXPECT_TRUE(form3().List2.items.contains("IDLE---1"));  // the lists stay current
}

// A long queue shows its first jobs and how many more wait; the job start
// reads it again only when the file changed, so a selection made in the list
// stays until then; the counting line deletes nothing.
TEST_F(JobStartTest, LongQueueListedInPartAndReadOnlyWhenChanged) {
    start({{9, "1"}});
    const QString path = jobQueueFile(QDir(dir.path())).path();
    // Appends `n` jobs from another program, in one write.
    const auto queueFromElsewhere = [&](int from, int n) {
        QByteArray bytes;
        for (int i = from; i < from + n; ++i) {
            JobRecord r = job(QStringLiteral("Q%1").arg(i), "1", "", {});
            r.QueuedAt = 46000.0 + i;
            bytes += r.toBytes();
        }
        ASSERT_TRUE(appendFile(path, bytes));
    };
    queueFromElsewhere(1, kQueueListLines + 3);
    station->jobStart().tick();
    const ListBox& list = form3().List2;
    ASSERT_EQ(list.items.size(), kQueueListLines + 1);
    EXPECT_EQ(list.items.front(), QStringLiteral("Q1---1"));
    EXPECT_EQ(list.items.back(), queueMoreLine(3));
    EXPECT_EQ(list.ItemData.size(), kQueueListLines);
    EXPECT_EQ(state().form11.List1.items, list.items);

    form3().List2.ListIndex = 4;
    station->jobStart().tick();
    EXPECT_EQ(list.ListIndex, 4);  // not read again: the file is as it was

    queueFromElsewhere(kQueueListLines + 4, 1);
    station->jobStart().tick();
    EXPECT_EQ(list.items.back(), queueMoreLine(4));
    EXPECT_EQ(list.ListIndex, -1);

    form3().List2.ListIndex = kQueueListLines;
    const qint64 size = QFileInfo(path).size();
    station->queueEditor().deleteSelected();
    EXPECT_EQ(QFileInfo(path).size(), size);
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("counts the jobs it does not show")));
}

// What keeps a queued job from being dispensed, whoever wrote it: each
// reason names the row and what to do; the bucket must name a place only
// where the bucket is moved to it (types 1, 3, 4); a code carried by either
// station's valve is enough on type 5.
TEST_F(JobStartTest, AQueuedJobIsDispensableOnlyWithLinesAndABucketTheMachineHas) {
    MachineSettings s;
    s.setText4(0, QStringLiteral("SODA"));
    s.setText4(23, QStringLiteral("SALT"));  // the last valve, on station 2 of a type 5
    s.setTeachSlot(7, {{}, {}, QStringLiteral("7"), {}});
    const struct {
        JobRecord job;
        const char* reason;  // a piece of the reason; "" for a job that can be dispensed
    } cases[] = {
        {job("J", "7", "", {{0, {"SODA", " 2.5 "}}, {9, {"SALT", "1500"}}}), ""},
        // The row rules are RecipeCheckTest's: one of them shows they are applied.
        {job("J", "7", "", {{1, {"SODA", "1,500"}}}),
         "row 2 (SODA): the weight \"1,500\" has a comma; write the weight with a point"},
        {job("J", "7", "", {}), "no line with a product code"},
        {job(" ", "7", "", {{0, {"SODA", "5"}}}), "no order number"},
        {job("J", "99", "", {{0, {"SODA", "5"}}}), "the bucket 99 is not a place of this machine"},
        {job("J", " ", "", {{0, {"SODA", "5"}}}), "no bucket"},
    };
    for (const char* type : {"1", "3", "4"}) {
        s.setText1(5, QString::fromLatin1(type));
        for (const auto& c : cases) {
            const QString why = undispensableReason(c.job, s, kEnglish);
            if (*c.reason == 0)
                EXPECT_EQ(why, "");
            else
                EXPECT_TRUE(why.contains(QString::fromUtf8(c.reason))) << why.toStdString();
        }
    }
    for (const char* type : {"2", "5"}) {
        s.setText1(5, QString::fromLatin1(type));
        for (const char* bucket : {"99", " "})
            EXPECT_EQ(undispensableReason(job("J", bucket, "", {{0, {"SALT", "5"}}}), s, kEnglish),
                      "");
        EXPECT_TRUE(undispensableReason(job("J", "1", "", {{0, {"SALT", "2,5"}}}), s, kEnglish)
                        .contains("has a comma"));
    }
}

// A partial record at the end of the recipe store or the queue is moved aside
// and reported once, whether the job start finds it or a change of the file
// moved it first; a recipe store that is not a file is said once and takes no
// job away.
TEST_F(JobStartTest, PartialRecordsAreMovedAsideAndReportedOnce) {
    valve(24, "V24", "40");
    const QDir work(dir.path());
    const QString store = work.filePath(kRecipeStoreFileName);
    ASSERT_TRUE(writeFile(
        store, job("R1", "", "", {}).toBytes() + job("R2", "", "", {}).toBytes().left(100)));
    startRun();
    const auto told = [&] { return station->headlessDialogs()->messages().size(); };
    const qsizetype before = told();
    station->scheduler.advance(2000);
    EXPECT_EQ(told(), before + 1);
    EXPECT_EQ(QFileInfo(store).size(), JobRecord::kLength);
    EXPECT_EQ(QFileInfo(work.filePath(kRecipeStoreRejectedName)).size(), JobRecord::kLength);
    EXPECT_EQ(logTexts().filter("QUICK_A.txt record 2 (order R2) is incomplete").size(), 1);

    // Torn between two ticks and moved by an append before the next one.
    ASSERT_TRUE(appendFile(work.filePath(kJobQueueFileName), "PART"));
    queue(job("Q1", "1", "0", {{0, {"SODA", "5"}}}));
    station->scheduler.advance(3000);
    EXPECT_EQ(logTexts().filter("a partial record at the end of START_DISPEN.txt").size(), 1);
    EXPECT_EQ(told(), before + 2);

    ASSERT_TRUE(QFile::remove(store));
    ASSERT_TRUE(work.mkdir(kRecipeStoreFileName));
    station->scheduler.advance(3000);
    EXPECT_EQ(logTexts().filter("QUICK_A.txt is a folder").size(), 1);
    EXPECT_EQ(told(), before + 3);
    EXPECT_EQ(form3().Status, "");
}

// A job the guard sets aside is told in the station's language; the event
// log keeps its English line.
TEST_F(JobStartTest, TheGuardTellsInTheStationsLanguageAndLogsInEnglish) {
    valve(2, "NAOH", "35");
    startRun();
    for (int language : {0, 2}) {
        state().settings.setText1(9, QString::number(language));
        const QString order = QStringLiteral("BAD-%1").arg(language);
        queue(job(order, "1", "0", {{0, {"DYE-9", "20"}}}));
        ASSERT_TRUE(runUntil([&] { return queued() == 0; }));
        const QString traditional =
            QStringLiteral("單號 %1 無法計量：第 1 列：DYE-9 不是本機任何閥的代碼。").arg(order);
        EXPECT_TRUE(
            lastMessage().startsWith(language == 0 ? traditional : ToSimplified(traditional)))
            << lastMessage().toStdString();
        EXPECT_EQ(logTexts()
                      .filter(QStringLiteral("<queue> Job %1 moved to START_DISPEN_REJECTED.txt: "
                                             "row 1: DYE-9 is not the code of any valve")
                                  .arg(order))
                      .size(),
                  1);
    }
}

// State files that cannot be read are set aside byte for byte with a
// message, and the station goes on safely: no job is dispensed twice.
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
