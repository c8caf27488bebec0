// The write-back outbox of a running station against an embedded Firebird
// plant database: lines edited by hand, hostile values, and the TALBERT
// write log that follows what the database took.
#include <QFile>

#include "plant/PlantDb.h"
#include "plant/PlantOutbox.h"
#include "plant/PlantRun.h"
#include "plant/WriteBackStatements.h"
#include "run/JobCompletion.h"

namespace dye::test {
namespace {

class OutboxRun : public PlantRun {
  protected:
    static CompletedJob completed(const QString& order, const QString& code, const QString& act) {
        CompletedJob job;
        job.identity.order = order;
        job.codes[0] = code;
        job.actualWeights[0] = act;
        return job;
    }
};

// A line that is not a statement (cut short, or a statement text of its
// own) is moved byte for byte to the rejected file and reported; the lines
// behind it are sent, a line naming one of the station's own statement
// texts included, and values with quotes and semicolons stay values.
TEST_F(OutboxRun, ALineThatIsNotAStatementIsSetAsideAndTheRestAreSent) {
    const QString hostile = QStringLiteral("J'; DELETE FROM Dispensezj; --");
    makePlant(
        "INSERT INTO Dispensezj VALUES ('J-1', 'RED', 45, NULL, NULL);\n"
        "INSERT INTO Dispensezj VALUES ('J-1', 'BLUE', 45, NULL, NULL);\n"
        "INSERT INTO Dispensezj VALUES ('J''; DELETE FROM Dispensezj; --', "
        "'G;''R', 45, NULL, NULL);\n"
        "INSERT INTO Dispensezj VALUES ('J-2', 'RED', 45, NULL, NULL);\n");
    startPlant("DRAYMOR");
    state().timers.jobStart->setEnabled(false);
    const QString finish = QStringLiteral("2026-12-06 08:00:00");
    const QList<PlantStatement> first = completionStatements(
        QStringLiteral("DRAYMOR"), completed("J-1", "RED", "30.5"), finish, nullptr);
    const QList<PlantStatement> last = completionStatements(
        QStringLiteral("DRAYMOR"), completed(hostile, "G;'R", "7"), finish, nullptr);
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
    ASSERT_TRUE(box.append(last, &error)) << error.toStdString();
    ASSERT_EQ(box.read().size(), 3);
    EXPECT_EQ(box.read().last(), last.first());  // kept as its values, read back the same

    station->scheduler.advance(3100);  // a status tick sends the outbox
    EXPECT_EQ(rows("SELECT ID_NO, PROD_CODE, STEP_NO, COALESCE(ACT, -1) FROM Dispensezj ORDER BY "
                   "ID_NO, PROD_CODE"),
              (QStringList{"J'; DELETE FROM Dispensezj; --|G;'R|61|7", "J-1|BLUE|61|40.5",
                           "J-1|RED|61|30.5", "J-2|RED|45|-1"}));
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

// The write log holds a row's update once the database has taken it: not
// while the database is away, and then without the job being run again.
TEST_F(OutboxRun, TheTalbertWriteLogFollowsTheDatabase) {
    makePlant("INSERT INTO dispense VALUES ('T-1', 'RED', 45, NULL, NULL);\n");
    startPlant("TALBERT");
    queue(job("T-1", "7", "", {{0, {"RED", "30"}}}));
    const QString away = plant->path() + ".away";
    ASSERT_TRUE(runUntil([&] { return !order().isEmpty(); }));
    ASSERT_TRUE(QFile::rename(plant->path(), away));
    ASSERT_TRUE(runUntil([&] { return order().isEmpty(); }));
    station->scheduler.advance(6100);
    const QString writeLog = dir.filePath("LOG/Write-T-1-2026126log.txt");
    EXPECT_FALSE(QFile::exists(writeLog));
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 1);

    ASSERT_TRUE(QFile::rename(away, plant->path()));
    station->scheduler.advance(3100);
    EXPECT_EQ(PlantOutbox(QDir(dir.path())).count(), 0);
    EXPECT_EQ(rows("SELECT STEP_NO FROM dispense"), QStringList{"61"});
    const QByteArray all = fileBytes(writeLog);
    ASSERT_EQ(all.size(), 2 * 200);
    EXPECT_TRUE(all.startsWith("UPDATE dispense SET STEP_NO = 61, ACT = "));
    QList<DailyRecord> done = records();
    ASSERT_EQ(done.size(), 1);
    EXPECT_TRUE(all.mid(200).startsWith(
        ("RED --- " + done[0].ActualWeight[0].trimmed() + "\r\n").toLatin1()));
}

}  // namespace
}  // namespace dye::test
