// The recipe picker: its list from recipe records, the copy it queues, and
// its refusal when the recipe store changed under the list.
#include <gtest/gtest.h>

#include "core/OleDate.h"
#include "screens/EntryBench.h"
#include "screens/entry/RecipePicker.h"

namespace dye::test {
namespace {

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
