#include "screens/entry/RecipePicker.h"

#include "core/Dialogs.h"
#include "core/OleDate.h"
#include "files/jobs/JobFile.h"
#include "files/language/Wording.h"
#include "screens/entry/EditorFields.h"
#include "station/StationState.h"

namespace dye {
namespace {

const QString kSeparator = QStringLiteral("---");
const QString kTitle = QStringLiteral("Form12");

// The recipe's own fields in a blank record: tags or times a record of the
// store may carry from an earlier job never reach the queue.
JobRecord copyOfRecipe(const JobRecord& stored) {
    JobRecord job;
    job.OrderNo = stored.OrderNo.trimmed();
    job.BucketNo = stored.BucketNo.trimmed();
    job.WaterAmount = stored.WaterAmount.trimmed();
    job.Code = stored.Code;
    job.Weight = stored.Weight;
    return job;
}

}  // namespace

QString RecipePicker::notQueued() const {
    return s_.say({u"配方 %1 沒有排入計量：%2", u"The recipe %1 was not queued: %2"});
}

void RecipePicker::fill(const QList<StoredRecipe>& recipes) {
    Form12& f = s_.form12;
    f.List1.clear();
    orders_.clear();
    for (const StoredRecipe& r : recipes) {
        const QString order = r.job.OrderNo.trimmed();
        f.List1.items << QString::number(r.record) + kSeparator + order;
        if (!orders_.contains(order)) orders_ << order;
    }
    f.Visible = true;
}

void RecipePicker::refresh() {
    JobFile store = recipeStoreFile(workdir_);
    const QList<JobRecord> records = store.records();
    QList<StoredRecipe> found;
    for (int i = 0; i < records.size(); ++i)
        if (orders_.contains(records[i].OrderNo.trimmed())) found.append({i + 1, records[i]});
    const QStringList orders = orders_;
    fill(found);
    orders_ = orders;  // the same recipes stay wanted, even when none is left now
}

bool RecipePicker::refuse(const QString& why) {
    dialogs_.message(why, kTitle, [] {});
    return false;
}

bool RecipePicker::queueClicked() {
    Form12& f = s_.form12;
    if (f.List1.ListIndex < 0 || f.List1.ListIndex >= f.List1.items.size()) return false;
    const QString line = f.List1.items[f.List1.ListIndex];
    const qsizetype at = line.indexOf(kSeparator);
    bool ok = false;
    const int record = at < 0 ? 0 : line.left(at).trimmed().toInt(&ok);
    const QString shown = at < 0 ? QString() : line.mid(at + kSeparator.size());

    JobFile store = recipeStoreFile(workdir_);
    const std::optional<JobRecord> stored = ok ? store.read(record) : std::nullopt;
    if (!stored || stored->OrderNo.trimmed() != shown) {
        refresh();
        if (!stored && !store.errorString().isEmpty())
            return refuse(notQueued().arg(shown, store.errorString()));
        return refuse(s_.say({u"存檔的配方已變動：第 %1 筆已不是配方 %2。清單已顯示現在的配方；請"
                              u"重新選擇配方。",
                              u"The saved recipes changed: record %1 is no longer the recipe %2. "
                              u"The list shows them as they are now; pick the recipe again."})
                          .arg(record)
                          .arg(shown));
    }

    JobRecord job = copyOfRecipe(*stored);
    if (const QString why = editorProblem(job, s_.settings); !why.isEmpty())
        return refuse(s_.say({u"配方 %1 沒有排入計量。%2", u"The recipe %1 was not queued. %2"})
                          .arg(shown, why));
    job.QueuedAt = toOleDate(now_());
    JobFile queue = jobQueueFile(workdir_);
    if (!queue.append(job)) return refuse(notQueued().arg(shown, queue.errorString()));
    f.Visible = false;
    return true;
}

}  // namespace dye
