// The recipe editor and the queue through the station's handlers, on a real
// working directory: what the files hold after each click, which record a
// list entry acts on, and what is refused with a message.
#include "core/OleDate.h"
#include "run/JobJournal.h"
#include "run/JobStart.h"
#include "run/RunFixture.h"
#include "screens/entry/EditorFields.h"

namespace dye::test {
namespace {

class RecipeEditorTest : public RunFixture {
  protected:
    void SetUp() override {
        startRun({{5, QStringLiteral("2")}, {9, QStringLiteral("1")}});  // English
        state().settings.setText4(0, QStringLiteral("R-101"));
        state().settings.setText4(1, QStringLiteral("Y-202"));
    }
    RecipeEditor& recipes() { return station->recipeEditor(); }
    QueueEditor& queueEditor() { return station->queueEditor(); }
    JobFile store() { return recipeStoreFile(QDir(dir.path())); }
    JobFile queueFile() { return jobQueueFile(QDir(dir.path())); }

    void type(const QString& order, const QString& bucket,
              std::initializer_list<std::pair<const char*, const char*>> rows) {
        clearEditor(form3());
        form3().Text2 = order;
        form3().Combo1.Text = bucket;
        form3().Text3 = QStringLiteral("900");
        int i = 0;
        for (auto [code, weight] : rows) {
            form3().Text1[i] = QString::fromUtf8(code);
            form3().Text1[i + 10] = QString::fromUtf8(weight);
            ++i;
        }
    }
    void save(const QString& order) {
        type(order, QStringLiteral("B1"), {{"R-101", "12.5"}});
        recipes().saveAsNew();
    }
    QStringList orders(JobFile file) {
        QStringList out;
        for (const JobRecord& r : file.records()) out << r.OrderNo;
        return out;
    }
    qsizetype messageCount() { return station->headlessDialogs()->messages().size(); }
    // Answers the question just asked: Yes (0) or No (1).
    void answer(int choice) {
        HeadlessDialogs& d = *station->headlessDialogs();
        ASSERT_FALSE(d.messages().isEmpty());
        ASSERT_FALSE(d.messages().last().choices.isEmpty()) << lastMessage().toStdString();
        ASSERT_TRUE(d.answer(int(d.messages().size()) - 1, choice));
    }
};

TEST_F(RecipeEditorTest, ListEntriesStandForRecordsNewestFirst) {
    // A recipe taken in from the plant carries tags; nothing of them reaches a saved recipe.
    JobRecord plant = job("A", "B1", "900", {{0, {"R-101", "5"}}});
    plant.Tag1 = QStringLiteral("VAT");
    plant.QueuedAt = 46000.5;
    ASSERT_TRUE(store().append(plant));
    save(QStringLiteral("B"));
    save(QStringLiteral("C"));
    EXPECT_EQ(form3().List1.items.size(), 3);
    EXPECT_EQ(form3().List1.items[0].trimmed(), "C");
    EXPECT_EQ(form3().Text2, "");  // a save clears the editor

    form3().List1.ListIndex = 2;
    recipes().recipeClicked();
    EXPECT_EQ(form3().Text2, "A");
    EXPECT_EQ(form3().Text1[0], "R-101");
    EXPECT_EQ(form3().Text1[10], "5");
    form3().Text2 = QStringLiteral("A2");
    recipes().saveAsNew();
    const JobRecord saved = *store().read(4);
    EXPECT_EQ(saved, job("A2", "B1", "900", {{0, {"R-101", "5"}}}));

    // With multi-DEL ticked a click deletes the entry clicked.
    form3().Check5.Value = true;
    form3().List1.ListIndex = 2;  // B
    recipes().recipeClicked();
    answer(0);
    EXPECT_EQ(orders(store()), (QStringList{"A", "C", "A2"}));
    EXPECT_EQ(form3().List1.items.size(), 3);
}

TEST_F(RecipeEditorTest, RefusedRecipesWriteNothingAndKeepTheEditor) {
    save(QStringLiteral("KEEP"));
    form3().List1.ListIndex = 0;
    // The rules themselves are RecipeCheckTest's; here each way of writing
    // consults them and keeps what was typed.
    const QString refused = QStringLiteral("Row 2: X-999 is not the code of any valve");
    for (auto click : {&RecipeEditor::saveAsNew, &RecipeEditor::overwriteSelected}) {
        type(QStringLiteral("A-1"), QStringLiteral("B1"), {{"R-101", "1"}, {"X-999", "5"}});
        const qsizetype before = messageCount();
        (recipes().*click)();
        EXPECT_EQ(messageCount(), before + 1);
        EXPECT_TRUE(lastMessage().contains(refused)) << lastMessage().toStdString();
        EXPECT_EQ(form3().Text1[1], QStringLiteral("X-999"));
        EXPECT_EQ(form3().Text2, QStringLiteral("A-1"));
    }
    queueEditor().queueRecipe();
    EXPECT_TRUE(lastMessage().contains(refused));
    EXPECT_EQ(orders(store()), QStringList{"KEEP"});
    EXPECT_EQ(queueFile().count(), 0);

    // A bucket the machine cannot reach is refused at save as at queueing.
    type(QStringLiteral("A-1"), QString(), {{"R-101", "1"}});
    recipes().saveAsNew();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("No bucket")));
    EXPECT_EQ(orders(store()), QStringList{"KEEP"});

    // A change needs the recipe it changes.
    form3().List1.ListIndex = -1;
    type(QStringLiteral("NEW"), QStringLiteral("B1"), {{"R-101", "1"}});
    recipes().overwriteSelected();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("No recipe is chosen")));
    EXPECT_EQ(orders(store()), QStringList{"KEEP"});
    form3().List1.ListIndex = 0;
    recipes().overwriteSelected();
    EXPECT_EQ(orders(store()), QStringList{"NEW"});
}

TEST_F(RecipeEditorTest, AListOutOfStepWithItsFileActsOnNothing) {
    save(QStringLiteral("A"));
    save(QStringLiteral("B"));
    // Another writer adds a recipe behind the list's back: entry 0 (B) is
    // no longer the newest record.
    ASSERT_TRUE(store().append(job("X", "B1", "", {{0, {"R-101", "1"}}})));
    const auto deleteIt = [this] { recipes().deleteSelected(); };
    const auto multiDelete = [this] {
        form3().Check5.Value = true;
        recipes().recipeClicked();
        form3().Check5.Value = false;
    };
    const auto modify = [this] {
        form3().Text2 = QStringLiteral("M");
        form3().Combo1.Text = QStringLiteral("B1");
        form3().Text1[0] = QStringLiteral("R-101");
        form3().Text1[10] = QStringLiteral("3");
        recipes().overwriteSelected();
    };
    for (const std::function<void()>& act :
         std::initializer_list<std::function<void()>>{deleteIt, multiDelete, modify}) {
        form3().List1.items = QStringList{"B", "A"};  // as the list showed it
        form3().List1.ListIndex = 0;
        act();
        EXPECT_TRUE(lastMessage().contains(QStringLiteral("out of date")))
            << lastMessage().toStdString();
        EXPECT_EQ(orders(store()), (QStringList{"A", "B", "X"}));
        EXPECT_EQ(form3().List1.items.size(), 3);  // refilled from the file
    }
    recipes().refillKeepingEntry();
    form3().List1.ListIndex = 0;
    recipes().deleteSelected();
    answer(0);
    EXPECT_EQ(orders(store()), (QStringList{"A", "B"}));
}

TEST_F(RecipeEditorTest, QueueingAppendsTheEditorWithItsTime) {
    station->scheduler.advance(61 * 1000);
    type(QStringLiteral("Q-1"), QStringLiteral("B7"), {{"R-101", "10"}, {"Y-202", "2.5"}});
    queueEditor().queueRecipe();
    queueEditor().queueRecipe();
    answer(0);  // queued again
    const QList<JobRecord> queued = queueFile().records();
    ASSERT_EQ(queued.size(), 2);
    JobRecord expected = job("Q-1", "B7", "900", {{0, {"R-101", "10"}}, {1, {"Y-202", "2.5"}}});
    expected.QueuedAt = toOleDate(station->clock.now());
    EXPECT_EQ(queued[0], expected);
    EXPECT_EQ(form3().List2.items, (QStringList{"Q-1---B7", "Q-1---B7"}));
    EXPECT_EQ(form3().Text2, "Q-1");  // the editor keeps the recipe

    // No bucket: the job could not be placed.
    form3().Combo1.Text.clear();
    queueEditor().queueRecipe();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("No bucket")));
    EXPECT_EQ(queueFile().count(), 2);
}

TEST_F(RecipeEditorTest, QueueDeleteRemovesTheJobShownButNeverTheOneOnTheMachine) {
    for (const char* order : {"J1", "J2", "J3"}) {
        JobRecord r = job(order, "B1", "", {{0, {"R-101", "1"}}});
        r.QueuedAt = 46000.25;
        queue(r);
    }
    station->jobStart().tick();  // fills the queue list
    ASSERT_EQ(form3().List2.items.size(), 3);

    // The click holds the list; the deletion lets it go again.
    queueEditor().queueClicked();
    EXPECT_EQ(station->jobStart().QueueListHold, 1);
    form3().List2.ListIndex = 1;
    queueEditor().deleteSelected();
    answer(0);
    EXPECT_EQ(orders(queueFile()), (QStringList{"J1", "J3"}));
    EXPECT_EQ(station->jobStart().QueueListHold, 0);

    // J3 queued again at another time behind the list's back: the entry
    // shown is not the record at its place.
    ASSERT_TRUE(queueFile().remove(2));
    JobRecord again = job("J3", "B1", "", {{0, {"R-101", "1"}}});
    again.QueuedAt = 46001.0;
    queue(again);
    form3().List2.ListIndex = 1;
    queueEditor().deleteSelected();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("out of date")));
    EXPECT_EQ(queueFile().count(), 2);

    // J1, record 1, is on the machine; then stopped with a row in its bucket.
    station->jobStart().load(*queueFile().read(1));
    form3().List2.ListIndex = 0;
    queueEditor().deleteSelected();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("is on the machine")));
    JournalState stopped;
    stopped.job = state().job.current().identity;
    state().job.clear();
    stopped.kept[0] = QStringLiteral("1.0");
    ASSERT_TRUE(JobJournal(QDir(dir.path())).write(stopped));
    form3().List2.ListIndex = 0;
    queueEditor().deleteSelected();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("stopped with products in its bucket")));
    EXPECT_EQ(orders(queueFile()), (QStringList{"J1", "J3"}));
}

// Deleting, saving an order number again and queueing an order again ask
// first; No writes nothing, and a Yes acts only on what was asked about.
TEST_F(RecipeEditorTest, DeletesAndRepeatsAskFirst) {
    save(QStringLiteral("A"));
    for (int choice : {1, 0}) {
        save(QStringLiteral("A"));
        EXPECT_TRUE(lastMessage().contains(QStringLiteral("order number A is already saved")))
            << lastMessage().toStdString();
        EXPECT_EQ(station->headlessDialogs()->messages().last().choices,
                  (QStringList{"Yes", "No"}));
        answer(choice);
    }
    EXPECT_EQ(orders(store()), (QStringList{"A", "A"}));

    // No deletes nothing; a recipe added while the question is open makes
    // the entry asked about another record: Yes then deletes nothing.
    form3().List1.ListIndex = 0;
    recipes().deleteSelected();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("Delete the recipe A (bucket B1)?")));
    answer(1);
    recipes().deleteSelected();
    ASSERT_TRUE(store().append(job("A", "B2", "", {{0, {"R-101", "1"}}})));
    answer(0);
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("out of date")));
    EXPECT_EQ(store().count(), 3);

    // Queueing an order already queued asks; No queues nothing.
    type(QStringLiteral("J1"), QStringLiteral("B1"), {{"R-101", "1"}});
    queueEditor().queueRecipe();
    queueEditor().queueRecipe();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("Order J1 is already in the queue")));
    answer(1);
    type(QStringLiteral("J2"), QStringLiteral("B1"), {{"R-101", "1"}});
    queueEditor().queueRecipe();
    EXPECT_EQ(orders(queueFile()), (QStringList{"J1", "J2"}));

    // A queued job: No keeps it; the job taken onto the machine while the
    // question is open, or the queue moving on, keeps it on a Yes too.
    for (int index : {0, 1}) {
        station->jobStart().tick();
        form3().List2.ListIndex = index;
        queueEditor().deleteSelected();
        EXPECT_TRUE(lastMessage().contains(QStringLiteral("from the queue?")));
        answer(1);
        queueEditor().queueClicked();
        form3().List2.ListIndex = index;
        queueEditor().deleteSelected();
        EXPECT_EQ(station->jobStart().QueueListHold, 1);  // held while asked
        if (index == 0)
            station->jobStart().load(*queueFile().read(1));
        else
            ASSERT_TRUE(queueFile().remove(1));
        answer(0);
        EXPECT_TRUE(lastMessage().contains(index == 0 ? "is on the machine" : "out of date"))
            << lastMessage().toStdString();
        EXPECT_EQ(station->jobStart().QueueListHold, 0);
    }
    EXPECT_EQ(orders(queueFile()), QStringList{"J2"});
}

TEST(EditorFields, EnterWalksCodeThenWeightThenTheNextRow) {
    EXPECT_EQ(enterFromText2(), 0);
    for (const auto& [from, to] : {std::pair{0, 10}, {9, 19}, {10, 1}, {18, 9}, {19, -1}})
        EXPECT_EQ(enterFromText1(from), to) << from;
}

}  // namespace
}  // namespace dye::test
