#include "RecipeEditor.h"

#include "core/Dialogs.h"
#include "files/jobs/JobFile.h"
#include "files/language/Wording.h"
#include "run/RunLists.h"
#include "screens/entry/EditorFields.h"
#include "station/StationState.h"

namespace dye {

void RecipeEditor::saveAsNew() {
    const JobRecord job = editorRecord(c_.state.form3);
    if (refused(job)) return;
    JobFile store = recipeStoreFile(c_.workdir);
    QString error;
    const std::optional<bool> saved = holdsOrder(store, job.OrderNo, &error);
    if (!saved) {
        tellUnreadable(error);
        return;
    }
    if (!*saved) {
        save(job);
        return;
    }
    // A second recipe under one order number is kept only when the operator
    // says so; the recipe saved is the one on the editor at the click.
    askYesNo(c_,
             {u"單號 %1 的配方已經存檔。要再存一筆同單號的配方嗎？",
              u"A recipe with order number %1 is already saved. Save a second recipe with the "
              u"same order number?"},
             {job.OrderNo}, [this, job](bool yes) {
                 if (yes) save(job);
             });
}

void RecipeEditor::save(const JobRecord& job) {
    JobFile store = recipeStoreFile(c_.workdir);
    if (!store.append(job)) {
        tell(c_.say({u"配方 %1 沒有存檔：%2", u"The recipe %1 was not saved: %2"})
                 .arg(job.OrderNo, store.errorString()));
        return;
    }
    refill();
    clearEditor(c_.state.form3);
}

void RecipeEditor::overwriteSelected() {
    Form3& f = c_.state.form3;
    // Writing a new recipe is the save button's work: a change needs the
    // recipe it changes.
    if (f.List1.ListIndex < 0) {
        tell(c_.say({u"配方清單中沒有選擇配方：請選擇要修改的配方，或將編輯中的配方另存為新配方。",
                     u"No recipe is chosen in the recipe list: choose the recipe to change, or "
                     u"save the editor's recipe as a new one."}));
        return;
    }
    const JobRecord job = editorRecord(f);
    if (refused(job)) return;
    JobFile store = recipeStoreFile(c_.workdir);
    const std::optional<int> k = recordShown(store, {u"修改", u"change it"});
    if (!k) return;
    if (!store.replace(*k, job)) {
        tell(c_.say({u"配方 %1 沒有修改：%2", u"The recipe %1 was not changed: %2"})
                 .arg(job.OrderNo, store.errorString()));
        return;
    }
    refill();
    clearEditor(f);
}

void RecipeEditor::deleteSelected() {
    if (c_.state.form3.List1.ListIndex < 0) {
        tell(c_.say({u"配方清單中沒有選擇配方：請選擇要刪除的配方。",
                     u"No recipe is chosen in the recipe list: choose the recipe to delete."}));
        return;
    }
    removeShown();
}

void RecipeEditor::refillAndClear() {
    refill();
    clearEditor(c_.state.form3);
}

void RecipeEditor::refillKeepingEntry() {
    refill();
}

void RecipeEditor::recipeClicked() {
    Form3& f = c_.state.form3;
    if (f.List1.ListIndex < 0) return;
    if (f.Check5.Value) {
        removeShown();
        return;
    }
    JobFile store = recipeStoreFile(c_.workdir);
    const std::optional<int> k = recordShown(store, {u"載入", u"load it"});
    if (!k) return;
    if (const std::optional<JobRecord> job = store.read(*k))
        showInEditor(f, *job);
    else
        tell(c_.say({u"無法讀取配方：%1", u"The recipe cannot be read: %1"})
                 .arg(store.errorString()));
}

void RecipeEditor::removeShown() {
    JobFile store = recipeStoreFile(c_.workdir);
    const std::optional<int> k = recordShown(store, {u"刪除", u"delete it"});
    if (!k) return;
    const std::optional<JobRecord> job = store.read(*k);
    if (!job) {
        tell(c_.say({u"無法讀取配方：%1", u"The recipe cannot be read: %1"})
                 .arg(store.errorString()));
        return;
    }
    askYesNo(c_, {u"要刪除配方 %1（桶號 %2）嗎？", u"Delete the recipe %1 (bucket %2)?"},
             {job->OrderNo.trimmed(), job->BucketNo.trimmed()},
             [this, record = *k, count = store.count(), job = *job](bool yes) {
                 if (yes) remove(record, count, job);
             });
}

void RecipeEditor::remove(int k, int count, const JobRecord& job) {
    // The file may have changed while the question was open: only the very
    // record asked about, still at its place, is removed.
    JobFile store = recipeStoreFile(c_.workdir);
    const std::optional<JobRecord> now = store.count() == count ? store.read(k) : std::nullopt;
    const QString order = job.OrderNo.trimmed();
    if (!store.errorString().isEmpty()) {
        tellUnreadable(store.errorString());
        return;
    }
    if (!now || !(*now == job)) {
        refill();
        tell(outOfStep(order, {u"刪除", u"delete it"}));
        return;
    }
    if (!store.remove(k)) {
        tell(c_.say({u"配方 %1 沒有刪除：%2", u"The recipe %1 was not deleted: %2"})
                 .arg(order, store.errorString()));
        return;
    }
    c_.log(QStringLiteral("<recipe> %1 deleted").arg(order));
    refill();
    clearEditor(c_.state.form3);
}

bool RecipeEditor::refused(const JobRecord& job) {
    const QString why = editorProblem(job, c_.state.settings);
    if (why.isEmpty()) return false;
    tell(why);
    return true;
}

std::optional<int> RecipeEditor::recordShown(JobFile& store, const Wording& doing) {
    const ListBox& list = c_.state.form3.List1;
    const QString shown = list.items.value(list.ListIndex).trimmed();
    const int count = store.count();
    const int k = recipeListRecord(list.ListIndex, count);
    if (k >= 1 && k <= count) {
        const std::optional<JobRecord> job = store.read(k);
        if (job && job->OrderNo.trimmed() == shown) return k;
    }
    if (!store.errorString().isEmpty()) {
        tellUnreadable(store.errorString());
        return std::nullopt;
    }
    refill();
    tell(outOfStep(shown, doing));
    return std::nullopt;
}

QString RecipeEditor::outOfStep(const QString& shown, const Wording& doing) const {
    return c_
        .say({u"配方清單已過時：%1 已不在配方檔中的那個位置。清單已重新顯示配方檔；請重新選擇要%2"
              u"的配方。",
              u"The recipe list was out of date: %1 is no longer at that place in the recipe "
              u"file. The list now shows the file again; choose the recipe again to %2."})
        .arg(shown, c_.say(doing));
}

void RecipeEditor::refill() {
    if (const QString error = fillRecipeList(c_); !error.isEmpty()) tellUnreadable(error);
}

void RecipeEditor::tell(const QString& text) {
    c_.dialogs.message(text, c_.state.form3.Caption, [] {});
}

void RecipeEditor::tellUnreadable(const QString& error) {
    tell(c_.say({u"配方檔無法讀取：%1", u"The recipe file cannot be read: %1"}).arg(error));
}

}  // namespace dye
