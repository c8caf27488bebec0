// The single dispensing entry: its lists, keypad and list click, and the
// one record it queues or the reason it queues nothing; the recipe picker.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/HeadlessDialogs.h"
#include "core/OleDate.h"
#include "core/Scheduler.h"
#include "files/jobs/JobFile.h"
#include "files/language/ToSimplified.h"
#include "screens/entry/RecipePicker.h"
#include "screens/entry/SingleEntry.h"
#include "station/StationState.h"

namespace dye::test {
namespace {

// The state, dialogs, clock and working directory the entry screens work
// with: a type 1 machine with three valves and three named places.
struct EntryBench {
    QTemporaryDir dir;
    Scheduler scheduler;
    HeadlessDialogs dialogs{scheduler};
    StationState state;
    QDateTime now{QDate(2026, 3, 14), QTime(9, 26, 53)};

    EntryBench() {
        state.settings.setText1(5, QStringLiteral("1"));
        state.settings.setText1(9, QStringLiteral("1"));  // English
        valve(1, QStringLiteral("R-101"), QStringLiteral("Red"));
        valve(2, QStringLiteral("Y-202"), QStringLiteral("Yellow"));
        valve(24, QStringLiteral("B-324"), QStringLiteral("Blue"));
        for (int slot : {1, 2, 5}) place(slot, QStringLiteral("P%1").arg(slot));
    }
    void valve(int n, const QString& code, const QString& name) {
        state.settings.setText4(n - 1, code);
        state.settings.setText4(48 + n - 1, name);
    }
    void place(int slot, const QString& name) {
        TeachSlot t = state.settings.teachSlot(slot);
        t.name = name;
        state.settings.setTeachSlot(slot, t);
    }
    QDir workdir() const { return QDir(dir.path()); }
    std::function<QDateTime()> clock() {
        return [this] { return now; };
    }
    QList<JobRecord> queued() { return jobQueueFile(workdir()).records(); }
    QString lastMessage() const {
        return dialogs.messages().isEmpty() ? QString() : dialogs.messages().last().text;
    }
};

class SingleEntryTest : public ::testing::Test {
  protected:
    EntryBench bench;
    SingleEntry entry{bench.state, bench.dialogs, bench.workdir(), bench.clock()};
    Form7& f = bench.state.form7;
};

TEST_F(SingleEntryTest, ListsAreFilledFromTheSettingsEachTimeTheScreenOpens) {
    entry.open();
    EXPECT_TRUE(f.Visible);
    EXPECT_EQ(f.Combo1.items, QStringList({"R-101", "Y-202", "B-324"}));
    EXPECT_EQ(f.List1.items, QStringList({"R-101     Red", "Y-202     Yellow", "B-324     Blue"}));
    EXPECT_EQ(f.Combo3.items, QStringList({"P2", "P5"}));

    // A valve renamed and a place added while the program runs are seen at the next opening;
    // the code and weight start empty again, the bucket keeps its choice.
    f.Combo1.Text = QStringLiteral("R-101");
    f.Combo2.Text = QStringLiteral("40");
    f.Combo3.Text = QStringLiteral("P5");
    entry.open();  // F1 again while it is open: what is typed stays
    EXPECT_EQ(f.Combo2.Text, "40");
    f.Visible = false;
    bench.valve(2, QStringLiteral("G-909"), QStringLiteral("Green"));
    bench.place(9, QStringLiteral("P9"));
    entry.open();
    EXPECT_EQ(f.Combo1.items, QStringList({"R-101", "G-909", "B-324"}));
    EXPECT_EQ(f.List1.items[1], "G-909     Green");
    EXPECT_EQ(f.Combo3.items, QStringList({"P2", "P5", "P9"}));
    EXPECT_EQ(f.Combo1.Text, "");
    EXPECT_EQ(f.Combo2.Text, "");
    EXPECT_EQ(f.Combo3.Text, "P5");
    EXPECT_EQ(f.ActiveControl, "Combo1");
}

TEST_F(SingleEntryTest, KeypadPresetsAndListClickFillTheBoxes) {
    entry.open();
    for (int key : {1, 2, 5}) entry.keypad(key);
    EXPECT_EQ(f.Combo2.Text, "125");
    entry.keypad(10);
    EXPECT_EQ(f.Combo2.Text, "12");
    for (int i = 0; i < 3; ++i) entry.keypad(10);
    EXPECT_EQ(f.Combo2.Text, "");
    // A picked preset keeps its leading blank in the box; a digit after it joins the number.
    f.Combo2.Text = f.Combo2.items[2];
    EXPECT_EQ(f.Combo2.Text, " 1500");
    entry.keypad(0);
    EXPECT_EQ(f.Combo2.Text, "15000");

    f.List1.ListIndex = 1;
    entry.lineClicked();
    EXPECT_EQ(f.Combo1.Text, "Y-202");
    EXPECT_EQ(f.ActiveControl, "Combo2");
    entry.weightKey(13);
    EXPECT_EQ(f.ActiveControl, "Command1");
}

TEST_F(SingleEntryTest, QueuedRecordHoldsTheOneLineTheBucketAndTheTimeOfQueueing) {
    entry.open();
    f.Combo1.Text = QStringLiteral(" Y-202 ");
    f.Combo2.Text = f.Combo2.items[2];  // " 1500"
    f.Combo3.Text = QStringLiteral("P5");
    ASSERT_TRUE(entry.queueEntry());
    EXPECT_FALSE(f.Visible);
    const QList<JobRecord> queue = bench.queued();
    ASSERT_EQ(queue.size(), 1);
    JobRecord expected;
    expected.OrderNo = QStringLiteral("<<<single>>>");
    expected.BucketNo = QStringLiteral("P5");
    expected.Code[0] = QStringLiteral("Y-202");
    expected.Weight[0] = QStringLiteral("1500");
    expected.QueuedAt = toOleDate(bench.now);
    EXPECT_EQ(queue[0], expected);
    EXPECT_TRUE(bench.dialogs.messages().isEmpty());

    // A second entry is appended behind it with its own time.
    bench.now = bench.now.addSecs(90);
    entry.open();
    f.Combo1.Text = QStringLiteral("R-101");
    f.Combo2.Text = QStringLiteral("7.5");
    ASSERT_TRUE(entry.queueEntry());
    ASSERT_EQ(bench.queued().size(), 2);
    EXPECT_EQ(bench.queued()[1].QueuedAt, toOleDate(bench.now));
}

TEST_F(SingleEntryTest, RefusedEntriesWriteNothingSayWhyAndStayAsTyped) {
    const struct {
        const char* type;
        const char* code;
        const char* weight;
        const char* bucket;
        const char* why;  // a piece of the message
    } cases[] = {
        // One refusal of each check the entry consults; RecipeCheckTest owns the rules.
        {"1", "X-999", "25", "P2", "X-999 is not the code of any valve"},
        {"4", "R-101", "25", "P7", "P7 is not a place of this machine"},
        {"2", "R-101", "25", "B\xF0\x9F\x98\x80", "a character the record files cannot store"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        bench.state.settings.setText1(5, QString::fromLatin1(c.type));
        entry.open();
        f.Combo1.Text = QString::fromUtf8(c.code);
        f.Combo2.Text = QString::fromUtf8(c.weight);
        f.Combo3.Text = QString::fromUtf8(c.bucket);
        const int before = int(bench.dialogs.messages().size());
        EXPECT_FALSE(entry.queueEntry());
        ASSERT_EQ(bench.dialogs.messages().size(), before + 1);
        EXPECT_TRUE(bench.lastMessage().contains(QString::fromUtf8(c.why)))
            << bench.lastMessage().toStdString();
        EXPECT_TRUE(f.Visible);
        EXPECT_EQ(f.Combo1.Text, QString::fromUtf8(c.code));
        EXPECT_EQ(f.Combo2.Text, QString::fromUtf8(c.weight));
        EXPECT_EQ(jobQueueFile(bench.workdir()).count(), 0);
    }
}

// A refusal reads in the station's language, the rule it quotes included.
TEST_F(SingleEntryTest, RefusalsFollowTheStationsLanguage) {
    const QString traditional =
        QStringLiteral("第 1 列（R-101）：重量「2,5」含有逗號；小數請用小數點。");
    for (int language : {0, 2}) {
        bench.state.settings.setText1(9, QString::number(language));
        entry.open();
        f.Combo1.Text = QStringLiteral("R-101");
        f.Combo2.Text = QStringLiteral("2,5");
        f.Combo3.Text = QStringLiteral("P2");
        EXPECT_FALSE(entry.queueEntry());
        EXPECT_EQ(bench.lastMessage(), language == 0 ? traditional : ToSimplified(traditional));
    }
}

// The recipe picker: its list from recipe records, the copy it queues, and
// its refusal when the recipe store changed under the list.
class RecipePickerTest : public ::testing::Test {
  protected:
    EntryBench bench;
    RecipePicker picker{bench.state, bench.dialogs, bench.workdir(), bench.clock()};
    Form12& f = bench.state.form12;
    JobFile store = recipeStoreFile(bench.workdir());

    // Recipes "K-1" .. "K-n" in the store, each one line of R-101 to place P2.
    void storeRecipes(int n) {
        for (int i = 1; i <= n; ++i) {
            JobRecord r;
            r.OrderNo = QStringLiteral("K-%1").arg(i);
            r.BucketNo = QStringLiteral("P2");
            r.WaterAmount = QStringLiteral("300");
            r.Code[0] = QStringLiteral("R-101");
            r.Weight[0] = QString::number(10 * i);
            ASSERT_TRUE(store.append(r));
        }
    }
    // The picker filled with the store's records `numbers`.
    void fillWith(std::initializer_list<int> numbers) {
        QList<StoredRecipe> recipes;
        for (int n : numbers) recipes.append({n, *store.read(n)});
        picker.fill(recipes);
    }
    bool click(int line) {
        f.List1.ListIndex = line;
        return picker.queueClicked();
    }
};

TEST_F(RecipePickerTest, QueuesACopyOfTheClickedRecordWithTheTimeOfQueueing) {
    storeRecipes(9);
    // An old record of the store still holding an intake's tags and time.
    JobRecord old = *store.read(7);
    old.OrderNo = QStringLiteral(" K-7 ");
    old.QueuedAt = 40000.5;
    old.Tag1 = QStringLiteral("VAT9");
    ASSERT_TRUE(store.replace(7, old));

    fillWith({2, 7});
    EXPECT_TRUE(f.Visible);
    EXPECT_EQ(f.List1.items, QStringList({"2---K-2", "7---K-7"}));

    ASSERT_TRUE(click(1));
    EXPECT_FALSE(f.Visible);
    const QList<JobRecord> queue = bench.queued();
    ASSERT_EQ(queue.size(), 1);
    JobRecord expected = *store.read(7);
    expected.QueuedAt = toOleDate(bench.now);
    expected.Tag1.clear();
    EXPECT_EQ(queue[0], expected);
    EXPECT_EQ(store.count(), 9);  // the recipe stays in the store
}

TEST_F(RecipePickerTest, ARecordThatChangedPlaceIsNotQueuedAndTheListShowsItAnew) {
    storeRecipes(9);
    fillWith({3, 7});
    ASSERT_TRUE(store.remove(5));  // K-7 is now record 6, and record 7 is K-8

    EXPECT_FALSE(click(1));
    EXPECT_EQ(jobQueueFile(bench.workdir()).count(), 0);
    EXPECT_TRUE(bench.lastMessage().contains("record 7 is no longer the recipe K-7"))
        << bench.lastMessage().toStdString();
    EXPECT_TRUE(f.Visible);
    EXPECT_EQ(f.List1.items, QStringList({"3---K-3", "6---K-7"}));

    // A recipe gone from the store leaves the list; the one left is queued from its new place.
    ASSERT_TRUE(store.remove(3));
    EXPECT_FALSE(click(0));
    EXPECT_EQ(f.List1.items, QStringList({"5---K-7"}));
    ASSERT_TRUE(click(0));
    ASSERT_EQ(bench.queued().size(), 1);
    EXPECT_EQ(bench.queued()[0].OrderNo, "K-7");
    EXPECT_EQ(bench.queued()[0].Weight[0], "70");
}

TEST_F(RecipePickerTest, ARecipeTheMachineCannotDispenseIsRefused) {
    storeRecipes(2);
    JobRecord unknown = *store.read(1);
    unknown.Code[1] = QStringLiteral("X-999");
    unknown.Weight[1] = QStringLiteral("5");
    ASSERT_TRUE(store.replace(1, unknown));
    JobRecord nowhere = *store.read(2);
    nowhere.BucketNo = QStringLiteral("P8");
    ASSERT_TRUE(store.replace(2, nowhere));

    fillWith({1, 2});
    EXPECT_FALSE(click(0));
    EXPECT_TRUE(bench.lastMessage().contains("Row 2: X-999 is not the code of any valve"));
    EXPECT_FALSE(click(1));
    EXPECT_TRUE(bench.lastMessage().contains("P8 is not a place"));
    EXPECT_EQ(jobQueueFile(bench.workdir()).count(), 0);
    EXPECT_TRUE(f.Visible);
}

}  // namespace
}  // namespace dye::test
