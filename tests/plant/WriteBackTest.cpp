// The write-back statements against an embedded Firebird plant database:
// the QUORBAN row updates, values that would change a spliced statement's
// meaning, the outbox's lines edited by hand, and the main screen's test
// insert.
#include "plant/PlantData.h"
#include "plant/PlantDb.h"
#include "plant/PlantOutbox.h"
#include "plant/PlantRun.h"
#include "plant/PlantService.h"
#include "plant/WriteBackStatements.h"
#include "run/JobCompletion.h"

namespace dye::test {
namespace {

const QString kFinish = QStringLiteral("2026-12-06 08:10:00");

class WriteBack : public PlantRun {
  protected:
    // The rows of `sql`, one a line.
    std::string joined(const QString& sql) { return rows(sql).join(u'\n').toStdString(); }
    static std::string lines(const QStringList& expected) {
        return expected.join(u'\n').toStdString();
    }
};

// Only the job's rows of step 45 with its tag in note2 and an actual weight
// go to step 61, with the actual weight and the record's finish time.
TEST_F(WriteBack, QuorbanMarksTheTaggedRowsOfTheOrderDispensed) {
    makePlant(
        "INSERT INTO chainlih VALUES ('Q1', '2', 'RED', 2, 30, 45, NULL, NULL, '7');\n"
        "INSERT INTO chainlih VALUES ('Q1', '2', 'BLUE', 2, 20, 45, NULL, NULL, '7');\n"
        "INSERT INTO chainlih VALUES ('Q1', '2', 'RED', 2, 30, 45, NULL, NULL, '8');\n"
        "INSERT INTO chainlih VALUES ('Q1', '2', 'GREEN', 2, 5, 44, NULL, NULL, '7');\n"
        "INSERT INTO chainlih VALUES ('Q2', '2', 'RED', 2, 30, 45, NULL, NULL, '7');\n");
    startPlant("QUORBAN");
    station->plant().twoBalanceJobFinished(
        completed("Q1", {{"RED", " 29.5 "}, {"BLUE", ""}, {"GREEN", "5"}}, "2",
                  {" 7 ", "", "", ""}),
        kFinish);
    station->plantDatabase().deliver();
    EXPECT_EQ(joined("SELECT ID_NO, PROD_CODE, NOTE2, STEP_NO, ACT, NOTE1 FROM chainlih "
                     "ORDER BY ID_NO, PROD_CODE, NOTE2"),
              lines({"Q1|BLUE|7|45|0|", "Q1|GREEN|7|44|0|", "Q1|RED|7|61|29.5|2026-12-06 08:10:00",
                     "Q1|RED|8|45|0|", "Q2|RED|7|45|0|"}));
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 0);
}

// Every builder binds what comes from the job, the record and the settings:
// texts with quotes, statement ends and comments land in the rows they name
// as they are, and no other row or table is touched.
TEST_F(WriteBack, HostileValuesLandVerbatimThroughEveryBuilder) {
    const QString order = QStringLiteral("A'; DROP TABLE dispense; --");
    const QString batch = QStringLiteral("B'); DELETE FROM x--");
    const QString tag = QStringLiteral("7' OR ''='");
    const QString machine = QStringLiteral("M'1;--");
    makePlant(
        "INSERT INTO Dispensezj VALUES ('A''; DROP TABLE dispense; --', 'RED', 45, NULL, "
        "NULL);\n"
        "INSERT INTO Dispensezj VALUES ('A', 'RED', 45, NULL, NULL);\n"
        "INSERT INTO dispense VALUES ('A''; DROP TABLE dispense; --', 'RED', 45, NULL, "
        "NULL);\n"
        "INSERT INTO dispense VALUES ('A', 'RED', 45, NULL, NULL);\n"
        "INSERT INTO chainlih VALUES ('A''; DROP TABLE dispense; --', '2', 'RED', 2, 30, "
        "45, NULL, NULL, '7'' OR ''''=''');\n"
        "INSERT INTO chainlih VALUES ('A''; DROP TABLE dispense; --', '2', 'RED', 2, 30, "
        "45, NULL, NULL, '7');\n"
        "INSERT INTO \"SPTR_ZJCL\" VALUES ('9', '7''', 'B''); DELETE FROM x--', "
        "'0''1', 2);\n"
        "INSERT INTO \"SPTR_ZJCL\" VALUES ('8', '7', 'B', '01', 2);\n"
        "INSERT INTO JUJIstatus VALUES ('M''1;--', 9, 9);\n"
        "INSERT INTO JUJIstatus VALUES ('M1', 9, 9);\n");
    startPlant("DRAYMOR", {{21, machine}});
    const CompletedJob rowJob = completed(order, {{"RED", "12.5"}}, "1", {tag, "", "", ""});
    const CompletedJob vatJob = completed(batch, {{"R'D", "12.5"}}, "7'", {"7'", batch, "0'1", ""});
    for (const QString& profile : QStringList{"DRAYMOR", "TALBERT", "QUORBAN", "MARIGOLD"})
        for (const PlantStatement& s : completionStatements(
                 profile, profile == u"MARIGOLD" ? vatJob : rowJob, kFinish, nullptr))
            EXPECT_FALSE(s.text.contains(u'\'')) << s.text.toStdString();
    EXPECT_FALSE(draymorStatus(0, 0, machine).text.contains(machine));

    station->scheduler.advance(34000);  // the status post of this machine
    // Each write-back is answered before the next is sent.
    for (const char* profile : {"DRAYMOR", "TALBERT", "QUORBAN", "MARIGOLD"}) {
        state().settings.setText1(16, profile);
        station->plant().jobFinished(profile == std::string("MARIGOLD") ? vatJob : rowJob, kFinish);
        station->plantDatabase().deliver();
    }
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 0);

    const QString updated = order + "|RED|61|12.5";
    const QString left = QStringLiteral("A|RED|45|0");  // ACT NULL reads 0
    for (const char* table : {"Dispensezj", "dispense"})
        EXPECT_EQ(joined(QStringLiteral("SELECT ID_NO, PROD_CODE, STEP_NO, ACT FROM %1 ORDER BY "
                                        "ID_NO DESC")
                             .arg(QLatin1String(table))),
                  lines({updated, left}))
            << table;
    EXPECT_EQ(joined("SELECT NOTE2, STEP_NO FROM chainlih ORDER BY NOTE2"),
              lines({"7|45", tag + "|61"}));
    EXPECT_EQ(joined("SELECT VAT, BATCH, INTR, VBH, NXYSL, NSJSL FROM \"SPTR_ZJD\""),
              lines({"7'|" + batch + "|0'1|R'D|30|12.5"}));
    EXPECT_EQ(joined("SELECT VID, VZT FROM \"SPTR_ZJCL\" ORDER BY VID"), lines({"8|2", "9|3"}));
    EXPECT_EQ(joined("SELECT JUJI_NO, JUJIstatus, RUN_INT FROM JUJIstatus ORDER BY JUJI_NO"),
              lines({"M'1;--|0|0", "M1|9|9"}));
}

// A line that is not a statement (cut short, or a statement text of its
// own) is moved byte for byte to the rejected file and reported; the lines
// behind it are sent, a line naming one of the station's own statement
// texts included (values with quotes and semicolons stay values through the
// outbox: HostileValuesLandVerbatimThroughEveryBuilder).
TEST_F(WriteBack, ALineThatIsNotAStatementIsSetAsideAndTheRestAreSent) {
    makePlant(
        "INSERT INTO Dispensezj VALUES ('J-1', 'RED', 45, NULL, NULL);\n"
        "INSERT INTO Dispensezj VALUES ('J-1', 'BLUE', 45, NULL, NULL);\n"
        "INSERT INTO Dispensezj VALUES ('J-2', 'RED', 45, NULL, NULL);\n");
    startPlant("DRAYMOR");
    state().timers.jobStart->setEnabled(false);
    const QString finish = QStringLiteral("2026-12-06 08:00:00");
    const QList<PlantStatement> first = completionStatements(
        QStringLiteral("DRAYMOR"), completed("J-1", {{"RED", "30.5"}}), finish, nullptr);
    PlantOutbox box{QDir(dir.path())};
    QString error;
    ASSERT_TRUE(box.append(first, &error)) << error.toStdString();
    const QByteArray nonsense = "{\"kind\":\"draymor-row\",\"values\":[{\"n\":9},{\"s\":\"x\r\n";
    const QByteArray foreign = "{\"sql\":\"DELETE FROM Dispensezj\",\"values\":[]}\n";
    ASSERT_TRUE(appendFile(box.path(), nonsense + foreign + "{\"sql\":\"" +
                                           completionText(StatementKind::DraymorRow).toUtf8() +
                                           "\",\"values\":[{\"n\":40.5},{\"s\":\"" +
                                           finish.toUtf8() +
                                           "\"},{\"s\":\"J-1\"},{\"s\":\"BLUE\"}]}\n"));
    ASSERT_EQ(box.read().size(), 2);

    station->scheduler.advance(3100);  // a status tick sends the outbox
    EXPECT_EQ(rows("SELECT ID_NO, PROD_CODE, STEP_NO, COALESCE(ACT, -1) FROM Dispensezj ORDER BY "
                   "ID_NO, PROD_CODE"),
              (QStringList{"J-1|BLUE|61|40.5", "J-1|RED|61|30.5", "J-2|RED|45|-1"}));
    EXPECT_EQ(fileBytes(box.rejectedPath()), nonsense + foreign);
    EXPECT_EQ(QFileInfo(box.path()).size(), 0);
    const QStringList log = logTexts();
    EXPECT_TRUE(
        log.contains("<plant> line 2 of PLANT_OUTBOX.txt is set aside in "
                     "PLANT_OUTBOX_REJECTED.txt, not sent: not a statement of the outbox"));
    EXPECT_TRUE(
        log.contains("<plant> line 3 of PLANT_OUTBOX.txt is set aside in "
                     "PLANT_OUTBOX_REJECTED.txt, not sent: not one of the station's "
                     "write-back statements"));
    EXPECT_TRUE(form3().PlantWaiting.isEmpty());
}

// The test insert asks first; confirmed, it adds one row of the sample
// values while the job on the machine goes on untouched and unrecorded.
TEST_F(WriteBack, TheTestInsertAddsOneSampleRowAndLeavesTheJobAlone) {
    makePlant("");
    startPlant("ORIGINAL");
    queue(job("J-1", "3", "", {{0, {"RED", "30"}}}));
    ASSERT_TRUE(runUntil([&] { return !order().isEmpty(); }));
    HeadlessDialogs& dialogs = *station->headlessDialogs();

    dialogs.scriptChoices({1});  // Cancel
    station->plant().insertTestRow(dialogs);
    station->scheduler.advance(100);
    EXPECT_EQ(joined("SELECT COUNT(*) FROM \"SPTR_ZJD\""), "0");

    dialogs.scriptChoices({0});  // OK
    station->plant().insertTestRow(dialogs);
    EXPECT_EQ(joined("SELECT COUNT(*) FROM \"SPTR_ZJD\""), "0");  // not yet asked
    const QString asked = station->clock.now().toString("yyyy-MM-dd hh:mm:");
    station->scheduler.advance(100);
    const std::string inserted =
        joined("SELECT VAT, BATCH, INTR, VBH, NXYSL, NSJSL, SJ FROM \"SPTR_ZJD\"");
    EXPECT_EQ(inserted.substr(0, 45), ("123|05421122|03|008|200|198|" + asked).toStdString());
    EXPECT_EQ(inserted.find('\n'), std::string::npos);  // one row
    ASSERT_FALSE(dialogs.messages().isEmpty());
    EXPECT_TRUE(dialogs.messages().last().text.contains("SPTR_ZJD"));

    EXPECT_EQ(order(), "J-1");
    EXPECT_EQ(cell(DispenseGrid::Code, 0), "RED");
    EXPECT_EQ(queued(), 1);
    EXPECT_TRUE(records().isEmpty());
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 0);
}

}  // namespace
}  // namespace dye::test
