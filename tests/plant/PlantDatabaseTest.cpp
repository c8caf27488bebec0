// The plant database on its own: statements with bound values against an
// embedded Firebird database and an ODBC data source, the worker thread and
// the write-back outbox.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include "TestFiles.h"
#include "plant/PlantData.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantDb.h"
#include "plant/PlantOutbox.h"
#include "plant/PlantSession.h"
#include "plant/WriteBackStatements.h"
#include "run/JobCompletion.h"

namespace dye::test {
namespace {

// Runs one statement and hands back its result.
PlantResult runOne(const PlantSource& source, const PlantStatement& s,
                   QStringList* lines = nullptr) {
    PlantResult result;
    runOnce(
        source, [&](PlantSession& session) { result = session.exec(s); }, lines);
    return result;
}

TEST(PlantStatement, ShowsItsValuesQuotedAndKeepsThemInTheOutboxInOrder) {
    const PlantStatement s{QStringLiteral("UPDATE t SET A = ?, B = ? WHERE C = '?' AND D = ?"),
                           {12.5, QStringLiteral("it's"), QStringLiteral("x")}};
    EXPECT_EQ(s.shown(),
              QStringLiteral("UPDATE t SET A = 12.5, B = 'it''s' WHERE C = '?' AND D = 'x'"));

    QTemporaryDir dir;
    PlantOutbox box{QDir(dir.path())};
    const QList<PlantStatement> rows = completionStatements(
        QStringLiteral("TALBERT"), completed("A1", {{"RED", "12.5"}, {"BLUE", "3"}}),
        QStringLiteral("2026-12-06 08:00:00"), nullptr);
    ASSERT_EQ(rows.size(), 2);
    QString error;
    ASSERT_TRUE(box.append({rows[0]}, &error)) << error.toStdString();
    ASSERT_TRUE(box.append({rows[1], rows[0]}, &error));
    EXPECT_EQ(box.read(), (QList<PlantStatement>{rows[0], rows[1], rows[0]}));
    ASSERT_TRUE(box.removeFirst(2, &error));
    EXPECT_EQ(box.read(), QList<PlantStatement>{rows[0]});
    EXPECT_EQ(box.read()[0].values[0].typeId(), QMetaType::Double);  // a number stays a number
    // Only the station's write-backs are kept; a statement of any other text is refused.
    EXPECT_FALSE(box.append({s}, &error));
    EXPECT_FALSE(box.append({draymorStatus(3, 0, QStringLiteral("M1"))}, &error));
    EXPECT_EQ(box.count(), 1);
}

class EmbeddedFirebird : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::unique_ptr<PlantDb> plant;
    void SetUp() override {
        plant = std::make_unique<PlantDb>(dir.filePath(QStringLiteral("plant.fdb")));
        ASSERT_TRUE(plant->create(QStringLiteral(
            "INSERT INTO Dispensezj VALUES ('A1', 'RED', 45, NULL, NULL);\n"
            "INSERT INTO Dispensezj VALUES ('A1', 'BLUE', 45, NULL, NULL);\n"
            "INSERT INTO Dispensezj VALUES ('A1'' OR ''1''=''1', 'RED', 45, NULL, NULL);\n"
            "INSERT INTO Dispensezj VALUES ('B2', 'RED', 45, NULL, NULL);\n")));
        plant->close();
    }
};

TEST_F(EmbeddedFirebird, HostileValuesChangeNothingButTheRowTheyName) {
    const PlantSource source = plant->source(QStringLiteral("s3cret"));
    auto update = [](const QString& id, const QString& code) {
        return PlantStatement{
            QStringLiteral("UPDATE Dispensezj SET STEP_NO = 61, ACT = ?, NOTE1 = ? WHERE "
                           "STEP_NO = 45 AND ID_NO = ? AND PROD_CODE = ?"),
            {7.5, QStringLiteral("2026-12-06 08:00:00"), id, code}};
    };
    QStringList lines;
    // Each of these would change every row if it were spliced into the text.
    for (const QString& id :
         {QStringLiteral("x' OR '1'='1"), QStringLiteral("x'; DELETE FROM Dispensezj; --"),
          QStringLiteral("' OR 1=1 --")}) {
        const PlantResult r = runOne(source, update(id, QStringLiteral("RED")), &lines);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.rowsAffected, 0);
    }
    EXPECT_TRUE(lines.contains(QStringLiteral("<plant> the statement changed no row")));
    EXPECT_TRUE(lines.contains(QStringLiteral(
        "   <SEND SQL>   <UPDATE Dispensezj SET STEP_NO = 61, ACT = 7.5, NOTE1 = '2026-12-06 "
        "08:00:00' WHERE STEP_NO = 45 AND ID_NO = 'x''; DELETE FROM Dispensezj; --' AND "
        "PROD_CODE = 'RED'>")));
    // The identifier that holds the quotes is a value like any other.
    const PlantResult r =
        runOne(source, update(QStringLiteral("A1' OR '1'='1"), QStringLiteral("RED")));
    EXPECT_EQ(r.rowsAffected, 1);
    EXPECT_EQ(plant->rows(QStringLiteral(
                  "SELECT ID_NO, PROD_CODE, STEP_NO FROM Dispensezj ORDER BY ID_NO, PROD_CODE")),
              (QStringList{QStringLiteral("A1|BLUE|45"), QStringLiteral("A1|RED|45"),
                           QStringLiteral("A1' OR '1'='1|RED|61"), QStringLiteral("B2|RED|45")}));
    for (const QString& line : lines) EXPECT_FALSE(line.contains(QStringLiteral("s3cret")));
}

TEST_F(EmbeddedFirebird, AMissingDatabaseIsLoggedAndTheWorkStillEnds) {
    PlantDatabase db(PlantDatabase::Mode::Synchronous);
    QStringList lines;
    bool ended = false;
    db.setLog([&](const QString& line) { lines << line; });
    db.submit(
        PlantDb(dir.filePath(QStringLiteral("gone.fdb"))).source(QStringLiteral("s3cret")),
        [](PlantSession& session) {
            EXPECT_FALSE(session.opened());
            EXPECT_FALSE(session.exec(draymorStatus(0, 0, QStringLiteral("M1"))).ok);
        },
        [&](const PlantSession&) { ended = true; });
    EXPECT_FALSE(ended);  // results come back when they are delivered
    db.deliver();
    EXPECT_TRUE(ended);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("<plant> cannot connect to Firebird embedded ")))
        << lines[0].toStdString();
    EXPECT_FALSE(lines.join(u'\n').contains(QStringLiteral("s3cret")));
    EXPECT_FALSE(lines.contains(QStringLiteral("   <登入成功>")));
}

// The outbox sent again after a kill between the database's commit and the
// outbox's rewrite adds no row; a line that is twice in the job is there
// twice, also when a send stopped between the two.
TEST_F(EmbeddedFirebird, AMarigoldWriteBackSentAgainAddsNoRow) {
    CompletedJob job = completed("B1", {{"RED", "10.5"}, {"RED", "10.5"}, {"BLUE", "10.5"}}, "3",
                                 {"3", "B1", "01", ""}, "10");
    QString error;
    PlantOutbox box{QDir(dir.path())};
    ASSERT_TRUE(box.append(completionStatements(QStringLiteral("MARIGOLD"), job,
                                                QStringLiteral("2026/12/06 08:01:00"), nullptr),
                           &error));
    const QList<PlantStatement> kept = box.read();
    ASSERT_EQ(kept.size(), 4);  // three lines and the vat's closing
    QStringList lines;
    const auto send = [&](const QList<PlantStatement>& list) {
        runOnce(
            plant->source(),
            [list](PlantSession& session) {
                for (const PlantStatement& s : list) EXPECT_TRUE(applyCompletion(session, s).ok);
            },
            &lines);
    };
    send(kept.mid(0, 1));
    send(kept.mid(1));
    const QString zjd = QStringLiteral("SELECT VBH, SJ, NSJSL FROM \"SPTR_ZJD\" ORDER BY VBH");
    const QStringList inserted{QStringLiteral("BLUE|2026-12-06 08:01:00|10.5"),
                               QStringLiteral("RED|2026-12-06 08:01:00|10.5"),
                               QStringLiteral("RED|2026-12-06 08:01:00|10.5")};
    EXPECT_EQ(plant->rows(zjd), inserted);
    plant->close();
    send(kept);
    EXPECT_EQ(plant->rows(zjd), inserted);
    EXPECT_EQ(lines.filter(QStringLiteral("is already in the plant database")).size(), 3);
}

TEST_F(EmbeddedFirebird, TheWorkerRunsInOrderAndAnswersOnTheStationsThread) {
    ensureCoreApp();
    PlantDatabase db(PlantDatabase::Mode::Worker);
    const PlantSource source = plant->source();
    QList<int> counts;
    QList<bool> onMain;
    for (int k = 1; k <= 3; ++k) {
        auto count = std::make_shared<int>(-1);
        db.submit(
            source,
            [count, k](PlantSession& session) {
                session.exec(PlantStatement{
                    QStringLiteral("INSERT INTO Dispensezj VALUES (?, 'W', 44, NULL, NULL)"),
                    {QStringLiteral("W%1").arg(k)}});
                const PlantResult r = session.exec(PlantStatement{
                    QStringLiteral("SELECT COUNT(*) FROM Dispensezj WHERE PROD_CODE = 'W'"), {}});
                if (r.ok) *count = r.rows.value(0).value(0).toInt();
            },
            [&, count](const PlantSession&) {
                counts << *count;
                onMain << (QThread::currentThread() == QCoreApplication::instance()->thread());
            });
    }
    EXPECT_EQ(db.pending(), 3);
    // The answers come as events on this thread.
    while (db.pending() > 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(counts, (QList<int>{1, 2, 3}));
    EXPECT_EQ(onMain, (QList<bool>{true, true, true}));
}

// The ODBC path through unixODBC: a data source "plant" named in an
// odbc.ini of the test's own, served by the SQLite ODBC driver.
class OdbcDataSource : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString file;
    void SetUp() override {
        file = dir.filePath(QStringLiteral("plant.sqlite"));
        {
            QSqlDatabase setup =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
            setup.setDatabaseName(file);
            ASSERT_TRUE(setup.open());
            QSqlQuery q(setup);
            for (const char* sql :
                 {"CREATE TABLE Dispensezj (ID_NO VARCHAR(30), PROD_CODE VARCHAR(20), STEP_NO "
                  "INTEGER, ACT DOUBLE PRECISION, NOTE1 VARCHAR(30))",
                  "INSERT INTO Dispensezj VALUES ('A1', 'RED', 45, NULL, NULL)",
                  "CREATE TABLE JUJIstatus (JUJI_NO VARCHAR(10), JUJIstatus INTEGER, RUN_INT "
                  "INTEGER)",
                  "INSERT INTO JUJIstatus VALUES ('M''1', 0, 0)",
                  "CREATE TABLE \"SPTR_ZJD\" (VAT VARCHAR(10), BATCH VARCHAR(20), INTR "
                  "VARCHAR(10), SJ VARCHAR(30), VBH VARCHAR(20), NXYSL VARCHAR(20), NSJSL "
                  "VARCHAR(20))"})
                ASSERT_TRUE(q.exec(QLatin1String(sql))) << sql;
            setup.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));
        const QString ini = dir.filePath(QStringLiteral("odbc.ini"));
        ASSERT_TRUE(writeFile(ini, "[plant]\nDriver=SQLite3\nDatabase=" + file.toUtf8() + "\n"));
        qputenv("ODBCINI", ini.toUtf8());
    }
    // The next case opens its own file under the same connection name.
    void TearDown() override { QSqlDatabase::removeDatabase(QStringLiteral("check")); }
    // A query of the test's own on the data source's file, run and at its first row.
    QSqlQuery query(const QString& sql) {
        QSqlDatabase check = QSqlDatabase::database(QStringLiteral("check"), false);
        if (!check.isValid()) {
            check = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
            check.setDatabaseName(file);
        }
        EXPECT_TRUE(check.open());
        QSqlQuery q(check);
        EXPECT_TRUE(q.exec(sql) && q.next()) << sql.toStdString();
        return q;
    }
};

TEST_F(OdbcDataSource, RunsTheWriteBackAndStatusStatements) {
    PlantSource source;
    source.dataSource = QStringLiteral("plant");
    const CompletedJob job = completed("A1", {{"RED", "12.5"}}, "V7", {"V7", "B1", "01", ""}, "12");
    QList<PlantStatement> all = completionStatements(
        QStringLiteral("DRAYMOR"), job, QStringLiteral("2026-12-06 08:00:00"), nullptr);
    all << completionStatements(QStringLiteral("MARIGOLD"), job,
                                QStringLiteral("2026/12/06 08:01:00"), nullptr)
               .first();
    all << draymorStatus(2, 4, QStringLiteral("M'1"));
    QStringList lines;
    for (const PlantStatement& s : all) {
        const PlantResult r = runOne(source, s, &lines);
        EXPECT_TRUE(r.ok) << s.shown().toStdString() << ": " << r.error.toStdString();
        EXPECT_EQ(r.rowsAffected, 1);
    }
    EXPECT_TRUE(lines.contains(QStringLiteral("   <登入成功>")));

    QSqlQuery q = query(QStringLiteral("SELECT STEP_NO, ACT, NOTE1 FROM Dispensezj"));
    EXPECT_EQ(q.value(0).toInt(), 61);
    EXPECT_EQ(q.value(1).toDouble(), 12.5);
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("2026-12-06 08:00:00"));
    q = query(QStringLiteral("SELECT VAT, BATCH, INTR, SJ, VBH, NXYSL, NSJSL FROM SPTR_ZJD"));
    // The insert's time is the record's finish time, in one form whichever run wrote it.
    EXPECT_EQ(q.value(0).toString() + q.value(1).toString() + q.value(3).toString() + u'|' +
                  q.value(5).toString() + q.value(6).toString(),
              QStringLiteral("V7A12026-12-06 08:01:00|1212.5"));
    q = query(QStringLiteral("SELECT JUJIstatus, RUN_INT FROM JUJIstatus"));
    EXPECT_EQ(q.value(0).toInt() * 10 + q.value(1).toInt(), 24);
}

// The account goes into the connection string as attribute values: a `;`
// in one would otherwise end it and the rest name another data source.
TEST_F(OdbcDataSource, AnAccountWithSemicolonsBracesAndEqualsSignsLogsIn) {
    PlantSource source;
    source.dataSource = QStringLiteral("plant");
    int status = 0;
    for (const auto& [user, password] :
         {std::pair{QStringLiteral("op"), QStringLiteral("pw;DSN=nowhere")},
          std::pair{QStringLiteral("op"), QStringLiteral("p}w;DSN=nowhere=1")},
          std::pair{QStringLiteral("op;DSN=nowhere"), QStringLiteral("{p=w}")}}) {
        source.user = user;
        source.password = password;
        QStringList lines;
        const PlantResult r =
            runOne(source, draymorStatus(++status, 0, QStringLiteral("M'1")), &lines);
        EXPECT_TRUE(r.ok) << password.toStdString() << ": " << r.error.toStdString();
        EXPECT_EQ(r.rowsAffected, 1);
        for (const QString& line : lines) EXPECT_FALSE(line.contains(password));
    }
    // The last post arrived.
    EXPECT_EQ(query(QStringLiteral("SELECT JUJIstatus FROM JUJIstatus")).value(0).toInt(), 3);
}

}  // namespace
}  // namespace dye::test
