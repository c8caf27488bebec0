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
        tell(QStringLiteral("The recipe file cannot be read: %1").arg(error));
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
        tell(QStringLiteral("The recipe %1 was not saved: %2")
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
        tell(
            QStringLiteral("No recipe is chosen in the recipe list: choose the recipe to change, "
                           "or save the editor's recipe as a new one."));
        return;
    }
    const JobRecord job = editorRecord(f);
    if (refused(job)) return;
    JobFile store = recipeStoreFile(c_.workdir);
    const std::optional<int> k = recordShown(store, QStringLiteral("change it"));
    if (!k) return;
    if (!store.replace(*k, job)) {
        tell(QStringLiteral("The recipe %1 was not changed: %2")
                 .arg(job.OrderNo, store.errorString()));
        return;
    }
    refill();
    clearEditor(f);
}

void RecipeEditor::deleteSelected() {
    if (c_.state.form3.List1.ListIndex < 0) {
        tell(
            QStringLiteral("No recipe is chosen in the recipe list: choose the recipe to delete."));
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
    const std::optional<int> k = recordShown(store, QStringLiteral("load it"));
    if (!k) return;
    if (const std::optional<JobRecord> job = store.read(*k))
        showInEditor(f, *job);
    else
        tell(QStringLiteral("The recipe cannot be read: %1").arg(store.errorString()));
}

void RecipeEditor::removeShown() {
    JobFile store = recipeStoreFile(c_.workdir);
    const std::optional<int> k = recordShown(store, QStringLiteral("delete it"));
    if (!k) return;
    const std::optional<JobRecord> job = store.read(*k);
    if (!job) {
        tell(QStringLiteral("The recipe cannot be read: %1").arg(store.errorString()));
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
        tell(QStringLiteral("The recipe file cannot be read: %1").arg(store.errorString()));
        return;
    }
    if (!now || !(*now == job)) {
        refill();
        tell(outOfStep(order, QStringLiteral("delete it")));
        return;
    }
    if (!store.remove(k)) {
        tell(QStringLiteral("The recipe %1 was not deleted: %2").arg(order, store.errorString()));
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

std::optional<int> RecipeEditor::recordShown(JobFile& store, const QString& doing) {
    const ListBox& list = c_.state.form3.List1;
    const QString shown = list.items.value(list.ListIndex).trimmed();
    const int count = store.count();
    const int k = recipeListRecord(list.ListIndex, count);
    if (k >= 1 && k <= count) {
        const std::optional<JobRecord> job = store.read(k);
        if (job && job->OrderNo.trimmed() == shown) return k;
    }
    if (!store.errorString().isEmpty()) {
        tell(QStringLiteral("The recipe file cannot be read: %1").arg(store.errorString()));
        return std::nullopt;
    }
    refill();
    tell(outOfStep(shown, doing));
    return std::nullopt;
}

QString RecipeEditor::outOfStep(const QString& shown, const QString& doing) {
    return QStringLiteral(
               "The recipe list was out of date: %1 is no longer at that place in the "
               "recipe file. The list now shows the file again; choose the recipe "
               "again to %2.")
        .arg(shown, doing);
}

void RecipeEditor::refill() {
    if (const QString error = fillRecipeList(c_); !error.isEmpty())
        tell(QStringLiteral("The recipe file cannot be read: %1").arg(error));
}

void RecipeEditor::tell(const QString& text) {
    c_.dialogs.message(text, c_.state.form3.Caption, [] {});
}

}  // namespace dye
