#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "core/AnsiText.h"
#include "core/HeadlessDialogs.h"
#include "core/Scheduler.h"
#include "files/records/RecordCsv.h"
#include "files/settings/MachineSettings.h"
#include "model/Form4.h"
#include "screens/records/RecordsViewer.h"

using namespace dye;

namespace {

struct Line {
    QString code, recipe, actual;
};

DailyRecord job(const QString& order, int day, std::initializer_list<Line> lines) {
    DailyRecord r;
    r.OrderNo = order;
    r.BucketNo = QStringLiteral("3");
    r.setFinishTime(QDateTime(QDate(2026, 12, day), QTime(8, 30)));
    size_t row = 0;
    for (const Line& l : lines) {
        r.Code[row] = l.code;
        r.RecipeWeight[row] = l.recipe;
        r.ActualWeight[row] = l.actual;
        ++row;
    }
    return r;
}

class RecordsViewerTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    Scheduler scheduler;
    HeadlessDialogs dialogs{scheduler};
    MachineSettings settings;
    Form4 form;
    RecordsViewer viewer{form, settings, QDir(dir.path()), dialogs};

    void SetUp() override {
        settings.setText1(9, QStringLiteral("1"));  // English
        valve(1, "RED", "紅");
        valve(2, "BLUE", "藍");
        valve(3, "LONGCODE-12345", "長");  // longer than the 10 characters shown
    }
    void valve(int k, const char* code, const char* name) {
        settings.setText4(k - 1, QString::fromUtf8(code));
        settings.setText4(48 + k - 1, QString::fromUtf8(name));
    }
    void writeMonth(const QString& name, const QList<DailyRecord>& records,
                    const QByteArray& tail = {}) {
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        QByteArray bytes;
        for (const DailyRecord& r : records) bytes += r.toBytes();
        ASSERT_TRUE(
            dye::test::writeFile(dir.filePath(QStringLiteral("data/") + name), bytes + tail));
    }
    void choose(const QString& name) {
        viewer.open();
        form.List2.ListIndex = int(form.List2.items.indexOf(name));
        viewer.loadChosenFile();
    }
    void search(const QString& text) {
        form.Text1 = text;
        viewer.searchKey(13);
    }
    QStringList orders() const {
        QStringList out;
        for (const DailyRecord& r : viewer.month().records(viewer.shown())) out << r.OrderNo;
        return out;
    }
};

TEST_F(RecordsViewerTest, TotalsRoundEveryAdditionAndMatchWholeCodes) {
    writeMonth(
        "DATE_202612.txt",
        {job("A1", 5, {{"RED", "12", "12.6"}, {"BLUE", "1000", "1000"}}),
         job("A2", 6, {{"RED", "12", "12.6"}, {"BLUE", "250", "249.6"}}),
         job("A3", 7, {{"LONGCODE-12345", "5", "4"}, {"RED", "1", "x"}, {"GREEN", "9", "9"}})});
    choose("DATE_202612.txt");
    viewer.showTotals();
    ASSERT_EQ(form.List1.items.size(), 24);
    // 12.6 adds 13 each time: 26, where a sum rounded once would give 25.
    EXPECT_EQ(form.List1.items[0], QStringLiteral("1   RED   紅   0.026(KG)"));
    EXPECT_EQ(form.List1.items[1], QStringLiteral("2   BLUE   藍   1.25(KG)"));
    EXPECT_EQ(form.List1.items[2], QStringLiteral("3   LONGCODE-12345   長   0.004(KG)"));
    EXPECT_EQ(form.List1.items[3], QStringLiteral("4         0(KG)"));

    const ValveUsageTable& u = viewer.usage();
    EXPECT_EQ(u[0].lines, 3);  // "x" is no number: it adds 0 but is a line
    EXPECT_NEAR(u[0].meanDifference(), (0.6 + 0.6 - 1.0) / 3, 1e-9);
    EXPECT_NEAR(u[0].largestDifference, -1.0, 1e-9);
    EXPECT_NEAR(u[1].largestDifference, -0.4, 1e-9);
    EXPECT_EQ(kilograms(-1500), QStringLiteral("-1.5"));
    EXPECT_EQ(kilograms(2000), QStringLiteral("2"));
}

TEST_F(RecordsViewerTest, SearchFindsAnOrderOrADayOfTheWholeFile) {
    writeMonth("DATE_202612.txt",
               {job("A1", 5, {{"RED", "1", "1"}}), job("B22", 15, {{"BLUE", "2", "2"}}),
                job("A1", 15, {{"LONGCODE-12345", "3", "3"}}),
                job("單號7", 25, {{"X紅紅紅紅紅", "4", "4"}})});
    choose("DATE_202612.txt");
    ASSERT_EQ(form.List1.items.size(), 4);
    // A double-byte character that does not fit the column is left out whole.
    EXPECT_EQ(AnsiCodePage::encode(form.List1.items[3]).size(), 380);
    EXPECT_TRUE(form.List1.items[3].contains(QStringLiteral("X紅紅紅紅 4 ")));
    // Fixed widths; the code is cut for the line only.
    const QString line = form.List1.items[2];
    EXPECT_EQ(line.size(), 20 + 10 + 30 + 10 + 10 + 10 * 30);
    EXPECT_EQ(line.mid(80, 10), QStringLiteral("LONGCODE-1"));
    EXPECT_EQ(viewer.month().record(2).Code[0], QStringLiteral("LONGCODE-12345"));

    const struct {
        const char* text;
        QStringList found;
    } cases[] = {{" A1 ", {"A1", "A1"}},
                 {"a1", {"A1", "A1"}},
                 {"A", {}},
                 {"##15", {"B22", "A1"}},
                 {"##05x", {"A1"}},
                 {"##5", {"A1"}},
                 {" ##5x", {"A1"}},
                 {"##", {}},
                 {"##x5", {}},
                 {"b22", {"B22"}},
                 {" 單號7", {"單號7"}},
                 {"單號", {}}};
    for (const auto& c : cases) {
        search(QString::fromUtf8(c.text));
        EXPECT_EQ(orders(), c.found) << c.text;
        EXPECT_EQ(form.List1.items.size(), c.found.size()) << c.text;
    }
}

TEST_F(RecordsViewerTest, TotalsCoverWhatTheListShowsAndAnEmptyResultIsSaid) {
    writeMonth("DATE_202612.txt",
               {job("A1", 5, {{"RED", "100", "100"}}), job("B2", 6, {{"RED", "200", "200"}}),
                job("A1", 7, {{"RED", "400", "400"}})});
    choose("DATE_202612.txt");
    EXPECT_EQ(form.Label3.Caption, QStringLiteral("DATE_202612.txt: 3 records"));
    // The headers stand over the columns of the lines.
    EXPECT_EQ(form.Label2.Caption.size(), form.List1.items[0].size());
    EXPECT_TRUE(form.Label2.Caption.startsWith(QStringLiteral("Order No.           Bucket    ")));
    EXPECT_EQ(form.Label2.Caption.mid(80, 30), QStringLiteral("Code1     Recipe1   Actual1   "));

    search("A1");
    EXPECT_EQ(form.Label3.Caption, QStringLiteral("2 records match \"A1\""));
    viewer.showTotals();
    EXPECT_EQ(form.List1.items[0], QStringLiteral("1   RED   紅   0.5(KG)"));
    EXPECT_TRUE(form.Label2.Caption.startsWith(QStringLiteral("Valve")));

    search("nothing");
    EXPECT_TRUE(form.List1.items.isEmpty());
    EXPECT_EQ(form.Label3.Caption, QStringLiteral("No record matches \"nothing\""));
    viewer.showTotals();
    EXPECT_EQ(form.List1.items[0], QStringLiteral("1   RED   紅   0(KG)"));
    EXPECT_TRUE(form.Label3.Caption.contains(QStringLiteral("matched no record")));

    // An empty search shows, and totals, the whole file again.
    search(" ");
    EXPECT_EQ(form.List1.items.size(), 3);
    viewer.showTotals();
    EXPECT_EQ(form.List1.items[0], QStringLiteral("1   RED   紅   0.7(KG)"));

    // Headers in Traditional and Simplified Chinese.
    settings.setText1(9, QStringLiteral("0"));
    search("A1");
    EXPECT_TRUE(form.Label2.Caption.startsWith(QStringLiteral("單號")));
    EXPECT_EQ(form.Label3.Caption, QStringLiteral("2 筆紀錄符合「A1」"));
    settings.setText1(9, QStringLiteral("2"));
    search("A1");
    EXPECT_TRUE(form.Label2.Caption.startsWith(QStringLiteral("单号")));
}

TEST_F(RecordsViewerTest, FilesAreListedSortedAndBadOnesAreNamed) {
    writeMonth("DATE_202612.txt", {job("A1", 5, {{"RED", "1", "1"}})}, QByteArray(500, 'x'));
    writeMonth("DATE_202601.txt", {});
    QDir(dir.path()).mkpath(QStringLiteral("data/old"));
    viewer.open();
    EXPECT_EQ(form.List2.items, QStringList({"DATE_202601.txt", "DATE_202612.txt"}));

    // A partial record at the end: the whole ones load, and the viewer says so.
    choose("DATE_202612.txt");
    EXPECT_EQ(viewer.month().size(), 1);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].text.contains("partial record of 500 bytes"));

    choose("DATE_202601.txt");
    EXPECT_TRUE(form.List1.items.isEmpty());
    viewer.showTotals();
    EXPECT_EQ(form.List1.items[0], QStringLiteral("1   RED   紅   0(KG)"));

    // A file that became a folder since the list was made.
    viewer.open();
    QFile::remove(dir.filePath("data/DATE_202612.txt"));
    QDir(dir.path()).mkpath(QStringLiteral("data/DATE_202612.txt"));
    form.List2.ListIndex = 1;
    viewer.loadChosenFile();
    EXPECT_EQ(viewer.month().size(), 0);
    EXPECT_TRUE(form.List1.items.isEmpty());
    EXPECT_TRUE(dialogs.messages().last().text.contains("is a folder"))
        << dialogs.messages().last().text.toStdString();
}

TEST_F(RecordsViewerTest, CsvHoldsOneQuotedRowPerRecipeLineOfTheRecordsShown) {
    writeMonth("DATE_202612.txt",
               {job("A,1", 5, {{"LONGCODE-12345", "5", "4.9"}, {"紅\"X", "1", "1"}}),
                job("B2", 6, {{"RED", "2", "2"}})});
    choose("DATE_202612.txt");
    search("A,1");
    const QString path = dir.filePath("out.csv");
    viewer.exportCsv(path);
    EXPECT_EQ(dye::test::fileBytes(path),
              QByteArray("\xEF\xBB\xBF"
                         "time,order,bucket,code,recipe weight,actual weight\r\n"
                         "2026-12-05 08:30:00,\"A,1\",3,LONGCODE-12345,5,4.9\r\n"
                         "2026-12-05 08:30:00,\"A,1\",3,\"\xE7\xB4\x85\"\"X\",1,1\r\n"));
    EXPECT_TRUE(dialogs.messages().last().text.startsWith("2 lines of 1 records"));

    // A folder where the file should go is refused with its reason.
    viewer.exportCsv(dir.path());
    EXPECT_TRUE(dialogs.messages().last().text.contains("is a folder"));
}

}  // namespace
