#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "files/records/DailyRecord.h"
#include "files/settings/SettingsFiles.h"

using namespace dye;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome report(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(DYESTATION_PATH), arguments);
    Outcome r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

DailyRecord job(const QString& order, int day, const QStringList& rows) {
    DailyRecord r;
    r.OrderNo = order;
    r.setFinishTime(QDateTime(QDate(2026, 11, day), QTime(14, 0)));
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList f = rows[i].split(QLatin1Char(' '));
        r.Code[size_t(i)] = f[0];
        r.RecipeWeight[size_t(i)] = f[1];
        r.ActualWeight[size_t(i)] = f[2];
    }
    return r;
}

class ReportTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString month;

    void SetUp() override {
        const QDir w(dir.path());
        ASSERT_TRUE(saveValveField(w, 0, QStringLiteral("RED")));
        ASSERT_TRUE(saveValveField(w, 48, QStringLiteral("紅")));
        ASSERT_TRUE(saveValveField(w, 1, QStringLiteral("BLUE")));
        ASSERT_TRUE(saveValveField(w, 49, QStringLiteral("藍")));
        ASSERT_TRUE(saveValveField(w, 23, QStringLiteral("SODA-LIQUID-50")));
        ASSERT_TRUE(w.mkpath(QStringLiteral("data")));
        month = w.filePath(QStringLiteral("data/DATE_202611.txt"));
        ASSERT_TRUE(dye::test::writeFile(
            month, job("K-1", 5, {"RED 100 100.4", "BLUE 1000 1000"}).toBytes() +
                       job("K-2", 6, {"RED 200 200.6", "SODA-LIQUID-50 30 31"}).toBytes() +
                       job("K-3", 6, {"RED 50 50", "BLUE 250 249.6", "SODA-LIQUID-50 20 19.5"})
                           .toBytes()));
    }
};

// Hand count: RED 100.4 -> 100, + 200.6 -> 301, + 50 -> 351 g; BLUE 1000 + 249.6
// -> 1250 g; SODA-LIQUID-50 31 + 19.5 -> 51 g (19.5 rounds up to 20). A find
// narrows the totals to the records it matches, and the CSV holds their lines.
TEST_F(ReportTest, TotalsOfAMonthMatchAHandCountAndAFindNarrowsThem) {
    const Outcome r = report({"--report", "202611", "--workdir", dir.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    for (const char* expected :
         {"1   RED   紅   0.351(KG)", "2   BLUE   藍   1.25(KG)", "3         0(KG)",
          "24   SODA-LIQUID-50      0.051(KG)",
          "1   RED   lines 3   mean +0.33 g   largest +0.60 g",
          "2   BLUE   lines 2   mean -0.20 g   largest -0.40 g", "3      lines 0"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                 << r.out.toStdString();

    const QString csv = dir.filePath("day6.csv");
    const Outcome day =
        report({"--report", month, "--workdir", dir.path(), "--find", "##06", "--csv", csv});
    ASSERT_EQ(day.exitCode, 0) << day.err.toStdString();
    EXPECT_TRUE(day.out.contains("3 records, 2 matching \"##06\""));
    EXPECT_TRUE(day.out.contains(QString::fromUtf8("1   RED   紅   0.251(KG)\n")));
    EXPECT_TRUE(day.out.contains(QString::fromUtf8("2   BLUE   藍   0.25(KG)\n")));
    EXPECT_EQ(dye::test::fileBytes(csv).count("\r\n"), 1 + 5);  // header and five recipe lines
}

TEST_F(ReportTest, FilesThatCannotBeReadEndWithAMessage) {
    Outcome r = report({"--report", "202612", "--workdir", dir.path()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("DATE_202612.txt: no such file")) << r.err.toStdString();

    r = report({"--report", dir.filePath("data"), "--workdir", dir.path()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("is a folder")) << r.err.toStdString();

    QTemporaryDir elsewhere;
    r = report({"--report", month, "--workdir", elsewhere.path()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("AA_Name.txt")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(elsewhere.path()).filePath("AA_Name.txt")));

    // A partial record at the end is left out and named; the whole ones count.
    ASSERT_TRUE(dye::test::appendFile(month, QByteArray(100, 'x')));
    r = report({"--report", "202611", "--workdir", dir.path()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("partial record of 100 bytes")) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QString::fromUtf8("2   BLUE   藍   1.25(KG)\n")));
}

}  // namespace
