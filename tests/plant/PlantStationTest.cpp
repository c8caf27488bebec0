// The whole station with an embedded Firebird plant database, on virtual
// time: jobs taken from the vat list, dispensed, and written back with the
// record's actual weights; a database that is away during a job.
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>

#include "files/records/DailyRecordFile.h"
#include "model/Form8.h"
#include "plant/PlantOutbox.h"
#include "plant/PlantRun.h"
#include "run/JobCompletion.h"
#include "run/JobJournal.h"
#include "screens/plant/ProfileList.h"
#include "screens/tables/CategoryPicker.h"

namespace dye::test {
namespace {

TEST_F(PlantRun, DraymorRowsGetTheRecordsWeightsAndTheStatusIsPostedEveryEleventhTick) {
    makePlant(
        "INSERT INTO Dispensezj VALUES ('J-1', 'RED', 45, NULL, NULL);\n"
        "INSERT INTO Dispensezj VALUES ('J-1', 'BLUE', 45, NULL, NULL);\n"
        "INSERT INTO Dispensezj VALUES ('J-1', 'GREEN', 45, NULL, NULL);\n"
        "INSERT INTO Dispensezj VALUES ('J-2', 'RED', 45, NULL, NULL);\n"
        "INSERT INTO JUJIstatus VALUES ('M1', 9, 9);\n"
        "INSERT INTO JUJIstatus VALUES ('M2', 9, 9);\n");
    startPlant("DRAYMOR");
    queue(job("J-1", "1", "", {{0, {"RED", "300"}}, {1, {"BLUE", "40"}}, {2, {"GREEN", "25"}}}));
    ASSERT_TRUE(runJob());
    const DailyRecord r = lastRecord();
    ASSERT_EQ(r.OrderNo, "J-1");
    const QStringList written = rows(
        "SELECT PROD_CODE, STEP_NO, ACT, NOTE1 FROM Dispensezj WHERE ID_NO = 'J-1' ORDER BY "
        "PROD_CODE");
    ASSERT_EQ(written.size(), 3);
    const std::map<QString, int> slot{{"RED", 0}, {"BLUE", 1}, {"GREEN", 2}};
    for (const QString& row : written) {
        const QStringList v = row.split(u'|');
        EXPECT_EQ(v[1], "61") << row.toStdString();
        EXPECT_DOUBLE_EQ(v[2].toDouble(), r.ActualWeight[size_t(slot.at(v[0]))].toDouble());
        EXPECT_EQ(v[3], r.FinishText.trimmed());
    }
    EXPECT_EQ(rows("SELECT STEP_NO FROM Dispensezj WHERE ID_NO = 'J-2'"), QStringList{"45"});
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 0);

    // The status post: this machine's row, idle, the queue empty.
    station->scheduler.advance(34000);
    EXPECT_EQ(rows("SELECT JUJI_NO, JUJIstatus, RUN_INT FROM JUJIstatus ORDER BY JUJI_NO"),
              (QStringList{"M1|0|0", "M2|9|9"}));
    expectNoPassword();
}

// TALBERT: the rows are updated, the bucket's flag is set and the write log
// keeps each statement with its code and weight, inside LOG/ whatever the
// order number holds; a bucket beyond 200 flags nothing. While the database
// is away the write-back waits in the outbox and the main screen says so; it
// arrives once the database is back, with the record's finish time rather
// than the time it was sent, and only then goes into the write log.
TEST_F(PlantRun, TalbertWritesBackFlagsTheBucketAndKeepsItsWriteLogOnceTheDatabaseTookIt) {
    makePlant(
        "INSERT INTO dispense VALUES ('../T-1', 'RED', 45, NULL, NULL);\n"
        "INSERT INTO dispense VALUES ('../T-1', 'BLUE', 45, NULL, NULL);\n");
    startPlant("TALBERT");
    state().settings.setTeachSlot(25, {{}, {}, QStringLiteral("250"), {}});  // beyond the flags
    queue(job("../T-1", "7", "", {{0, {"RED", "300"}}, {1, {"BLUE", "40"}}}));
    queue(job("T-2", "250", "", {{0, {"RED", "10"}}}));
    const QString away = plant->path() + ".away";
    const QString writeLog = dir.filePath("LOG/Write-.._T-1-2026126log.txt");
    ASSERT_TRUE(runUntil([&] { return !order().isEmpty(); }));
    ASSERT_TRUE(QFile::rename(plant->path(), away));
    ASSERT_TRUE(runUntil([&] { return order().isEmpty(); }));
    state().timers.jobStart->setEnabled(false);  // T-2 waits
    QByteArray expected(200, '0');
    expected[6] = '1';
    EXPECT_EQ(fileBytes(dir.filePath("light.txt")), expected);
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 2);
    EXPECT_FALSE(form3().PlantWaiting.isEmpty());
    station->scheduler.advance(10000);  // status ticks while it is away
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 2);
    EXPECT_FALSE(QFile::exists(writeLog));

    ASSERT_TRUE(QFile::rename(away, plant->path()));
    station->scheduler.advance(3100);
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 0);
    EXPECT_TRUE(form3().PlantWaiting.isEmpty());
    const DailyRecord r = lastRecord();
    const QString finished = r.FinishText.trimmed();
    EXPECT_EQ(rows("SELECT PROD_CODE, STEP_NO, NOTE1 FROM dispense ORDER BY PROD_CODE"),
              (QStringList{"BLUE|61|" + finished, "RED|61|" + finished}));
    const QByteArray all = fileBytes(writeLog);
    ASSERT_EQ(all.size(), 4 * 200);
    EXPECT_TRUE(all.mid(0, 200).startsWith("UPDATE dispense SET STEP_NO = 61, ACT = "));
    EXPECT_TRUE(all.mid(0, 200).contains("WHERE ID_NO = '../T-1' AND PROD_CODE = 'RED'"));
    EXPECT_TRUE(all.mid(200, 200).startsWith(
        ("RED --- " + r.ActualWeight[0].trimmed() + "\r\n").toLatin1()));
    EXPECT_TRUE(all.mid(600, 200).startsWith(
        ("BLUE --- " + r.ActualWeight[1].trimmed() + "\r\n").toLatin1()));

    state().timers.jobStart->setEnabled(true);
    ASSERT_TRUE(runJob());
    EXPECT_EQ(fileBytes(dir.filePath("light.txt")), expected);
    EXPECT_FALSE(logTexts().filter("bucket \"250\" of T-2 is not flagged").isEmpty());
}

TEST_F(PlantRun, MarigoldVatsArriveAreDispensedAndWrittenBack) {
    makePlant("INSERT INTO \"SPTR_ZJCL\" VALUES ('0', '6', 'BATCH-TOO-LONG', '01', 1);\n" +
              vat("1", "'3'", "B1") + vat("2", "'4'", "B12") + vat("3", "'5'", "B5") +
              line(1, "B1", "'RED'", "300") + line(2, "B1", "'SALT'", "9", "gr") +
              line(3, "B1", "'BLUE'", "40") + line(4, "B12", "'GREEN'", "25") +
              line(5, "B5", "'SALT'", "9", "gr"));
    startPlant("MARIGOLD");
    // The first poll takes vat 3 alone: the lines of batch B12 are not B1's.
    station->scheduler.advance(11500);
    ASSERT_EQ(queued(), 1);
    const JobRecord first = *jobQueueFile(QDir(dir.path())).read(1);
    EXPECT_EQ(first.OrderNo, "B1");
    EXPECT_EQ(first.BucketNo, "3");
    EXPECT_EQ(first.Code[0] + first.Code[1] + first.Code[2], "REDBLUE");
    EXPECT_EQ(first.Tag1 + "/" + first.Tag2 + "/" + first.Tag3 + "/" + first.Tag4, "3/B1/01/1");
    // A batch the job's 10-byte tag would cut is left waiting, not cut.
    EXPECT_EQ(rows("SELECT VAT, VZT FROM \"SPTR_ZJCL\" ORDER BY VID"),
              (QStringList{"6|1", "3|2", "4|1", "5|1"}));
    EXPECT_TRUE(
        logTexts().contains("<intake> vat \"6\" batch \"BATCH-TOO-LONG\" introduction "
                            "\"01\" refused: empty, too long or not in the code page"));
    EXPECT_TRUE(logTexts().contains(
        "<intake> line of batch \"B12\" introduction \"01\" left out: not vat 3's"));

    ASSERT_TRUE(runJob());
    const DailyRecord r = lastRecord();
    ASSERT_EQ(r.OrderNo, "B1");
    const QStringList zjd =
        rows("SELECT VAT, BATCH, INTR, VBH, NXYSL, NSJSL, SJ FROM \"SPTR_ZJD\" WHERE BATCH = 'B1'");
    ASSERT_EQ(zjd.size(), 2);
    EXPECT_TRUE(
        zjd[0].startsWith("3|B1|01|RED|300|" + QString::number(r.ActualWeight[0].toDouble())));
    EXPECT_TRUE(
        zjd[1].startsWith("3|B1|01|BLUE|40|" + QString::number(r.ActualWeight[1].toDouble())));
    EXPECT_EQ(rows("SELECT VZT FROM \"SPTR_ZJCL\" WHERE VAT = '3'"), QStringList{"3"});

    // Later polls take vat 4 and close vat 5, which has no lines in cc.
    state().timers.jobStart->setEnabled(false);
    station->scheduler.advance(30000);
    EXPECT_EQ(rows("SELECT VAT, VZT FROM \"SPTR_ZJCL\" WHERE VAT <> '3' ORDER BY VID"),
              (QStringList{"6|1", "4|2", "5|3"}));
    expectNoPassword();
}

// A vat of twelve lines is two jobs of the same order, bucket and tags, and
// the vat is closed after the second. A kill during the second goes on with
// it: it is not taken for the first, which is recorded.
TEST_F(PlantRun, AVatOfTwelveLinesIsTwoJobsAndIsClosedAfterTheSecond) {
    QString sql = vat("1", "'3'", "B1");
    const QStringList codes{"RED", "BLUE", "GREEN"};
    for (int k = 1; k <= 12; ++k)
        sql += line(k, "B1", "'" + codes[k % 3] + "'", QString::number(10 + k));
    makePlant(sql);
    startPlant("MARIGOLD");
    station->scheduler.advance(11500);
    ASSERT_EQ(queued(), 2);
    JobFile queueFile = jobQueueFile(QDir(dir.path()));
    const JobRecord first = *queueFile.read(1);
    const JobRecord second = *queueFile.read(2);
    const auto same = [](const JobRecord& j) {
        return j.OrderNo + "/" + j.BucketNo + "/" + j.Tag1 + "/" + j.Tag2 + "/" + j.Tag3;
    };
    EXPECT_EQ(same(first), "B1/3/3/B1/01");
    EXPECT_EQ(same(second), same(first));
    EXPECT_EQ(first.Tag4 + second.Tag4, "+1");
    EXPECT_EQ(first.Weight[9] + "/" + second.Code[0] + second.Code[1] + second.Code[2],
              "20/GREENRED");
    const QString count = "SELECT COUNT(*) FROM \"SPTR_ZJD\"";
    const QString vzt = "SELECT VZT FROM \"SPTR_ZJCL\"";
    ASSERT_TRUE(runJob());
    EXPECT_EQ(rows(count), QStringList{"10"});
    EXPECT_EQ(rows(vzt), QStringList{"2"});

    const JobJournal journal(QDir(dir.path()));
    ASSERT_TRUE(runUntil([&] {
        const auto j = journal.read();
        return j && j->job.order == "B1" && j->kept[0];
    }));
    station.reset();  // killed
    startPlant("MARIGOLD");
    ASSERT_TRUE(runUntil([&] { return queued() == 0 && order().isEmpty(); }));
    EXPECT_EQ(rows(count), QStringList{"12"});
    EXPECT_EQ(rows(vzt), QStringList{"3"});
    EXPECT_EQ(records().size(), 2);
}

// A kill after a job's record was written but before its write-back was
// kept: the next start finishes the job from its journal and hands the
// record to the write-back; one that had already reached the database is
// not applied twice, and the job is not dispensed again.
TEST_F(PlantRun, AJobRecordedBeforeAKillIsWrittenBackOnceAtTheNextStart) {
    makePlant("INSERT INTO \"SPTR_ZJCL\" VALUES ('1', '3', 'B7', '02', 2);\n");
    startPlant("MARIGOLD");
    JobRecord j = job("B7", "3", "", {{0, {"RED", "100"}}, {1, {"BLUE", "20"}}});
    j.Tag1 = "3", j.Tag2 = "B7", j.Tag3 = "02", j.Tag4 = "1";
    j.QueuedAt = 46362.25;
    queue(j);
    ASSERT_TRUE(runJob());
    const QString finished = lastRecord().FinishText.trimmed();
    const QString zjd = "SELECT VBH, SJ FROM \"SPTR_ZJD\" ORDER BY VBH DESC";
    const QStringList inserted{"RED|" + finished, "BLUE|" + finished};
    ASSERT_EQ(rows(zjd), inserted);

    // The station as a kill right after the record leaves it.
    const auto killedAfterRecord = [&] {
        station.reset();
        queue(j);
        JournalState journal;
        journal.job = JobIdentity{"B7", "3", j.QueuedAt};
        journal.closed = true;
        journal.recorded = true;
        EXPECT_TRUE(JobJournal(QDir(dir.path())).write(journal));
        startPlant("MARIGOLD");
        EXPECT_TRUE(runUntil([&] { return queued() == 0; }, 60000));
        station->scheduler.advance(3100);
    };
    // Its write-back had not been sent.
    ASSERT_TRUE(plant->exec("DELETE FROM \"SPTR_ZJD\""));
    ASSERT_TRUE(plant->exec("UPDATE \"SPTR_ZJCL\" SET VZT = 2"));
    plant->close();
    killedAfterRecord();
    EXPECT_EQ(rows(zjd), inserted);
    EXPECT_EQ(rows("SELECT VZT FROM \"SPTR_ZJCL\""), QStringList{"3"});
    // It had.
    killedAfterRecord();
    EXPECT_EQ(rows(zjd), inserted);
    EXPECT_EQ(logTexts().filter("is already in the plant database: not inserted again").size(), 2);
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 0);
    EXPECT_EQ(records().size(), 1);
}

TEST_F(PlantRun, QuorbanTakesTheEnteredOrdersRowsOnceTenLinesToAJob) {
    QString rowsSql;
    const QStringList codes{"RED", "BLUE", "GREEN"};
    for (int k = 1; k <= 12; ++k)
        rowsSql += QStringLiteral(
                       "INSERT INTO chainlih VALUES ('Q''1', '2', '%1', 2, %2, 44, "
                       "NULL, NULL, '2');\n")
                       .arg(codes[k % 3])
                       .arg(k);
    rowsSql += "INSERT INTO chainlih VALUES ('Q''1', '2', 'X', 2, 5, 44, NULL, NULL, '3');\n";
    makePlant(rowsSql);
    startPlant("QUORBAN");
    state().timers.jobStart->setEnabled(false);  // the jobs stay queued
    IdentifierEntry& entry = station->identifierEntry();
    // A queue file that cannot be written: the lines marked taken wait again.
    ASSERT_TRUE(QDir(dir.path()).mkdir("START_DISPEN.txt"));
    state().form6.Text1 = "Q'1";
    entry.identifierKey(13);
    pickCategory(state().form15, 1);
    station->scheduler.advance(1000);
    EXPECT_EQ(rows("SELECT COUNT(*), MIN(STEP_NO), MAX(STEP_NO) FROM chainlih"),
              QStringList{"13|44|44"});
    EXPECT_EQ(logTexts().filter("<intake> order Q'1 category 2 marked taken but not queued").size(),
              1);
    ASSERT_TRUE(QDir(dir.path()).rmdir("START_DISPEN.txt"));

    state().form6.Text1 = "  Q'1 ";
    entry.identifierKey(13);
    EXPECT_TRUE(state().form15.Visible);
    state().form6.Text1 = "typed on";  // the order is the one Enter was pressed on
    station->scheduler.advance(1000);
    EXPECT_EQ(queued(), 0);           // no category yet
    pickCategory(state().form15, 1);  // the picker window's second button
    station->scheduler.advance(1000);

    ASSERT_EQ(queued(), 2);
    const JobRecord first = *jobQueueFile(QDir(dir.path())).read(1);
    const JobRecord rest = *jobQueueFile(QDir(dir.path())).read(2);
    EXPECT_EQ(first.OrderNo, "Q'1");
    EXPECT_EQ(rest.OrderNo + "/" + rest.BucketNo + "/" + rest.Tag1, "Q'1/2/2");
    EXPECT_EQ(first.Code[9], "BLUE");
    EXPECT_EQ(first.Weight[9], "10");
    EXPECT_EQ(rest.Code[0] + rest.Code[1] + rest.Code[2], "GREENRED");
    EXPECT_EQ(rows("SELECT COUNT(*), MIN(STEP_NO) FROM chainlih WHERE NOTE2 = '2'"),
              QStringList{"12|45"});
    EXPECT_EQ(rows("SELECT STEP_NO FROM chainlih WHERE NOTE2 = '3'"), QStringList{"44"});

    // Entered again, it finds nothing: the box says so and is emptied.
    state().form6.Text1 = "Q'1";
    entry.identifierKey(13);
    pickCategory(state().form15, 1);
    station->scheduler.advance(400);
    EXPECT_EQ(state().form6.Text1, "===NO ID===");
    station->scheduler.advance(1200);
    EXPECT_EQ(state().form6.Text1, "");
    EXPECT_EQ(queued(), 2);
}

TEST_F(PlantRun, ProfilesAreReadTrimmedAndExactAndListedForTheSettings) {
    makePlant("");
    startPlant("MARIGOLD");
    EXPECT_TRUE(state().timers.intake->enabled());
    state().settings.setText1(16, "  MARIGOLD  ");
    EXPECT_EQ(station->plant().profile(), "MARIGOLD");
    Form8 list;
    fillProfileList(list, state().settings);
    ASSERT_EQ(list.List1.items.size(), 9);
    pickProfile(list, 8);
    EXPECT_EQ(list.Text1, "QUORBAN");
    EXPECT_FALSE(list.Text2.isEmpty());
    pickProfile(list, 0);
    EXPECT_EQ(list.Text1, "ZOLPOWDERS");
    EXPECT_EQ(list.Text2, "粉體機器");
    // Lower case is no profile: nothing is written back.
    state().settings.setText1(16, "draymor");
    station->plant().jobFinished(completed("J", {{"RED", "1"}}), "2026-12-06 08:00:00");
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 0);
}

// Enter in the identifier box: ORIGINAL asks for the variant of the scanned
// order only when it has recipes, KESTRALIA lists the recipes whose order
// starts with the text, ZOLPOWDERS looks for the drop record (a drop folder
// that is not there is said once, not at every scan; PlantIntakeTest takes
// one that is). While AUTO IN is ticked every status tick brings the box up.
TEST_F(PlantRun, TheIdentifierEntryAsksForVariantsListsMatchesAndLooksForDropRecords) {
    makePlant("");
    startPlant("ORIGINAL", {{10, "in\\"}});
    state().timers.jobStart->setEnabled(false);  // the jobs stay queued
    JobFile store = recipeStoreFile(QDir(dir.path()));
    for (const char* order : {"ORD-2026-00001A", "ORD-2026-00001B", "ORD-2026-00002A"})
        ASSERT_TRUE(store.append(job(order, "1", "", {{0, {"RED", "10"}}})));
    IdentifierEntry& entry = station->identifierEntry();
    HeadlessDialogs& dialogs = *station->headlessDialogs();
    Form6& box = state().form6;
    const auto enter = [&](const QString& text) {
        box.Text1 = text;
        entry.identifierKey(13);
    };
    const auto statusTick = [&] { station->scheduler.advance(3000); };
    statusTick();
    EXPECT_FALSE(box.Visible);  // AUTO IN not ticked
    form3().Check2.Value = 1;
    statusTick();
    EXPECT_TRUE(box.Visible && box.focusText1);
    box.Visible = box.focusText1 = false;  // the operator closes it: the next tick brings it back
    statusTick();
    EXPECT_TRUE(box.Visible && box.focusText1);

    dialogs.scriptInput({"B"});
    enter(" ORD-2026-00001 ");
    ASSERT_EQ(queued(), 1);
    EXPECT_EQ(jobQueueFile(QDir(dir.path())).read(1)->OrderNo, "ORD-2026-00001B");
    EXPECT_EQ(box.Text1, "");
    EXPECT_TRUE(state().timers.status->enabled());  // the status timer goes on after the prompt
    form3().Check2.Value = 0;
    box.Visible = false;
    statusTick();
    EXPECT_FALSE(box.Visible);
    // One of two characters matches nothing, and an order of 14 characters asks nothing.
    dialogs.scriptInput({"AB"});
    enter("ORD-2026-00001");
    enter("ORD-2026-0000");
    EXPECT_EQ(queued(), 1);
    EXPECT_EQ(dialogs.prompts().size(), 2);

    state().settings.setText1(16, "KESTRALIA");
    enter("ORD-2026-00001");
    EXPECT_TRUE(state().form12.Visible);
    EXPECT_EQ(state().form12.List1.items,
              (QStringList{"1---ORD-2026-00001A", "2---ORD-2026-00001B"}));
    EXPECT_EQ(queued(), 1);

    state().settings.setText1(16, "ZOLPOWDERS");
    enter("Z1");
    enter("Z1");
    EXPECT_EQ(box.Text1, "===NO ID===");
    EXPECT_EQ(logTexts().filter(QRegularExpression("^<intake> the intake folder of ")).size(), 1);
}

// A server that takes the connection and never answers: the login waits on
// the worker while the station's ticks go on.
TEST_F(PlantRun, ALoginThatHangsHoldsUpNoTick) {
    ensureCoreApp();
    QTcpServer silent;  // never accepts: the kernel completes the connection and it waits
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    plantWorker = true;
    startPlant("DRAYMOR",
               {{15, QStringLiteral("firebird:127.0.0.1/%1:/plant.fdb").arg(silent.serverPort())}});
    const qint64 scanTicks = station->scan().ticks();
    station->scheduler.advance(34000);  // the status post on the 11th status tick
    EXPECT_EQ(station->plantDatabase().pending(), 1);
    station->scheduler.advance(66000);
    EXPECT_EQ(station->scan().ticks() - scanTicks, 100000 / 50);
    // Still waiting for its login; the posts due since wait for it, not behind it.
    EXPECT_EQ(station->plantDatabase().pending(), 1);
    silent.close();
    const auto failedPosts = [&] {
        while (station->plantDatabase().pending() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return logTexts()
            .filter(QRegularExpression("^<plant> cannot connect to Firebird 127\\.0\\.0\\.1/"))
            .size();
    };
    EXPECT_EQ(failedPosts(), 1);
    station->scheduler.advance(3000);  // the next tick posts at once
    EXPECT_EQ(failedPosts(), 2);
    station.reset();
}

// Two stations poll one database on their own worker threads: every vat is
// queued by exactly one of them.
TEST(TwoStations, NeverTakeTheSameVat) {
    ensureCoreApp();
    QTemporaryDir shared;
    PlantDb plant(shared.filePath("plant.fdb"));
    QString sql;
    for (int v = 1; v <= 6; ++v)
        sql += QStringLiteral(
                   "INSERT INTO \"SPTR_ZJCL\" VALUES ('%1', '%1', 'B%1', '01', 1);\n"
                   "INSERT INTO \"SPTR_HeadToVat\" VALUES (%1, '%1', 'M', 'B%1', '');\n"
                   "INSERT INTO \"SPTR_DetailToVat\" VALUES (%1, 'B%1', '01', 'cc', 1, '', "
                   "'RED', '', 10, '');\n")
                   .arg(v);
    ASSERT_TRUE(plant.create(sql));
    plant.close();
    std::array<QTemporaryDir, 2> dirs;
    std::array<std::unique_ptr<Station>, 2> stations;
    for (int k = 0; k < 2; ++k) {
        const QDir d(dirs[k].path());
        for (const auto& [i, text] : std::map<int, QString>{{1, "50"},
                                                            {5, "1"},
                                                            {13, "SYSDBA"},
                                                            {15, "firebird:" + plant.path()},
                                                            {16, "MARIGOLD"}})
            ASSERT_TRUE(saveSettingsField(d, i, text));
        ASSERT_TRUE(saveValveField(d, 0, "RED"));  // the lines' code is a valve's
        Station::Options options;
        options.workdir = d.path();
        options.simulate = true;
        options.start = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
        stations[size_t(k)] = std::make_unique<Station>(options, HeadlessDialogs::make);
        stations[size_t(k)]->load();
        stations[size_t(k)]->state.timers.jobStart->setEnabled(false);
    }
    // No run: the jobs stay queued. Both poll until the list is empty.
    const auto waiting = [&] {
        return plant.rows("SELECT COUNT(*) FROM \"SPTR_ZJCL\" WHERE VZT = 1");
    };
    for (int poll = 0; poll < 12 && waiting() != QStringList{"0"}; ++poll) {
        plant.close();
        for (auto& s : stations) s->scheduler.advance(11000);
        while (stations[0]->plantDatabase().pending() + stations[1]->plantDatabase().pending() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QStringList taken;
    for (int k = 0; k < 2; ++k)
        for (const JobRecord& j : jobQueueFile(QDir(dirs[k].path())).records()) taken << j.OrderNo;
    taken.sort();
    EXPECT_EQ(taken, (QStringList{"B1", "B2", "B3", "B4", "B5", "B6"}));
    EXPECT_EQ(plant.rows("SELECT COUNT(*) FROM \"SPTR_ZJCL\" WHERE VZT = 2"), QStringList{"6"});
}

}  // namespace
}  // namespace dye::test
