#include "screens/plant/IdentifierEntry.h"

#include "core/Dialogs.h"
#include "core/OleDate.h"
#include "core/Scheduler.h"
#include "files/jobs/JobFile.h"
#include "files/language/LanguageTexts.h"
#include "plant/DropIntake.h"
#include "plant/PlantService.h"
#include "screens/entry/RecipePicker.h"
#include "station/StationState.h"

namespace dye {

IdentifierEntry::IdentifierEntry(StationState& state, PlantService& plant, Dialogs& dialogs,
                                 RecipePicker& picker, Hooks hooks)
    : s_(state),
      plant_(plant),
      dialogs_(dialogs),
      picker_(picker),
      hooks_(std::move(hooks)),
      step44_(plant) {}

void IdentifierEntry::identifierKey(int keyAscii) {
    if (keyAscii != 13) return;
    const SiteProfile profile = plant_.siteProfile();
    const QString identifier = s_.form6.Text1.trimmed();
    if (profile == SiteProfile::Kestralia) {
        pickerFill(identifier);
    } else if (profile == SiteProfile::Original) {
        scanIntake(identifier);
    } else if (profile == SiteProfile::Quorban) {
        // The picker's buttons set the category; its timer waits for one.
        s_.form15.AuxCategory = 0;
        pending_ = identifier;
        if (s_.timers.categoryWait) s_.timers.categoryWait->setEnabled(true);
        s_.form15.Visible = true;
    } else if (profile == SiteProfile::Zolpowders) {
        dropIntake(identifier);
    }
    if (hooks_.refillRecipes) hooks_.refillRecipes();
}

void IdentifierEntry::clearIdentifier() {
    s_.form6.Text1.clear();
    if (s_.timers.identifierClear) s_.timers.identifierClear->setEnabled(false);
}

void IdentifierEntry::categoryIntake() {
    const int category = s_.form15.AuxCategory;
    if (category <= 0) return;
    if (s_.timers.categoryWait) s_.timers.categoryWait->setEnabled(false);
    step44_.run(pending_, category, [this](bool found) {
        if (!found)
            noId();
        else if (s_.timers.identifierClear)
            s_.timers.identifierClear->setEnabled(true);
    });
}

void IdentifierEntry::noId() {
    s_.form6.Text1 = QStringLiteral("===NO ID===");
    if (s_.timers.identifierClear) s_.timers.identifierClear->setEnabled(true);
}

// The first 14 characters of a saved order are the order, the 15th its
// variant. No file stays open across the prompt: the store is read again
// after the answer and the recipe appended in one step.
void IdentifierEntry::scanIntake(const QString& identifier) {
    const QDir workdir(plant_.workdirPath(QStringLiteral(".")));
    Timer* status = s_.timers.status;
    const QList<JobRecord> saved = recipeStoreFile(workdir).records();
    bool matched = false;
    for (const JobRecord& r : saved)
        if (r.OrderNo.left(14).trimmed() == identifier) matched = true;
    if (matched) {
        if (status) status->setEnabled(false);
        const std::optional<QString> answer = dialogs_.inputBox(
            hooks_.text ? hooks_.text(LanguageText::RecipeVariantPrompt) : QString(),
            QStringLiteral("INPUT"), QString());
        if (status) status->setEnabled(true);
        const QString variant = answer.value_or(QString());
        if (variant.size() == 1) {
            const QList<JobRecord> again = recipeStoreFile(workdir).records();
            for (const JobRecord& r : again) {
                if (r.OrderNo.left(15) != identifier + variant) continue;
                // Stamped with the time of queueing, as the picker does: the
                // same recipe queued twice makes two jobs that are told apart.
                JobRecord job = r;
                job.QueuedAt = toOleDate(plant_.now());
                JobFile queue = jobQueueFile(workdir);
                if (!queue.append(job))
                    plant_.log(QStringLiteral("<intake> %1 not queued: %2")
                                   .arg(r.OrderNo, queue.errorString()));
                else
                    plant_.queueChanged();
                break;
            }
        }
    }
    s_.form6.Text1.clear();
    if (status) status->setEnabled(true);
}

void IdentifierEntry::dropIntake(const QString& identifier) {
    const QDir workdir(plant_.workdirPath(QStringLiteral(".")));
    const QString path =
        dropFilePath(s_.settings.Text1(SettingsField::DropFolder), workdir, plant_.now().date());
    const DropIntakeResult taken =
        takeDropRecord(path, identifier, workdir, s_.settings, toOleDate(plant_.now()));
    // A folder or file that stays out of reach is said once, not at every scan.
    if (!taken.problem.isEmpty() && taken.problem != lastDropProblem_)
        plant_.log(QStringLiteral("<intake> ") + taken.problem);
    lastDropProblem_ = taken.problem;
    if (!taken.jobs.isEmpty()) plant_.queueChanged();
    if (!taken.found) noId();
}

void IdentifierEntry::pickerFill(const QString& identifier) {
    const QList<JobRecord> saved =
        recipeStoreFile(QDir(plant_.workdirPath(QStringLiteral(".")))).records();
    QList<StoredRecipe> matching;
    for (int r = 0; r < saved.size(); ++r)
        if (saved[r].OrderNo.startsWith(identifier)) matching << StoredRecipe{r + 1, saved[r]};
    picker_.fill(matching);
    s_.form6.Text1.clear();
}

}  // namespace dye
