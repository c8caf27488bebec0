#include "RecordsViewer.h"

#include <QFileInfo>

#include "DailyRecordFile.h"
#include "MonthFiles.h"
#include "RecordCsv.h"
#include "RecordFolder.h"
#include "RecordLine.h"
#include "RecordSearch.h"
#include "core/Dialogs.h"
#include "model/Form4.h"

namespace dye {
namespace {

constexpr int kEnter = 13;

QStringList displayLines(const QList<DailyRecord>& records) {
    QStringList lines;
    lines.reserve(records.size());
    for (const DailyRecord& r : records) lines << recordLine(r);
    return lines;
}

}  // namespace

RecordsViewer::RecordsViewer(Form4& form, const MachineSettings& settings, QDir workdir,
                             Dialogs& dialogs)
    : form_(form), settings_(settings), workdir_(std::move(workdir)), dialogs_(dialogs) {}

void RecordsViewer::tell(const QString& text) {
    dialogs_.message(text, form_.Caption, {});
}

void RecordsViewer::clearLoaded() {
    chosen_.clear();
    loaded_.clear();
    filtered_.clear();
    showingFiltered_ = false;
    usage_ = {};
    form_.List1.clear();
    form_.Text1.clear();
}

void RecordsViewer::Form_Load() {
    clearLoaded();
    form_.List2.clear();
    QString error;
    if (!ensureRecordFolder(workdir_, QLatin1String(kDailyRecordFolder), &error)) {
        tell(error);
        return;
    }
    form_.List2.items = recordFileNames(QDir(workdir_.filePath(QLatin1String(kDailyRecordFolder))));
}

void RecordsViewer::List2_Click() {
    const int index = form_.List2.ListIndex;
    const QStringList& names = form_.List2.items;
    clearLoaded();
    if (index < 0 || index >= names.size()) return;
    const QString name = names[index];
    const QString path =
        workdir_.filePath(QLatin1String(kDailyRecordFolder) + QLatin1Char('/') + name);
    RecordMonth month;
    QString error;
    if (!loadRecordMonth(path, month, &error)) {
        tell(error);
        return;
    }
    chosen_ = name;
    loaded_ = std::move(month.records);
    form_.List1.items = displayLines(loaded_);
    if (month.tailBytes > 0)
        tell(QStringLiteral(
                 "%1 ends in a partial record of %2 bytes; the %3 whole records are shown")
                 .arg(name)
                 .arg(month.tailBytes)
                 .arg(loaded_.size()));
}

void RecordsViewer::Text1_KeyPress(int keyAscii) {
    if (keyAscii != kEnter) return;
    filtered_ = searchRecords(loaded_, form_.Text1);
    showingFiltered_ = true;
    form_.List1.clear();
    form_.List1.items = displayLines(filtered_);
}

void RecordsViewer::Command1_Click() {
    // A search that matched nothing leaves the whole file to total.
    showingFiltered_ = !filtered_.isEmpty();
    usage_ = valveUsage(shown(), settings_);
    form_.List1.clear();
    form_.List1.items = totalsLines(usage_, settings_);
}

const QList<DailyRecord>& RecordsViewer::shown() const {
    return showingFiltered_ ? filtered_ : loaded_;
}

QString RecordsViewer::csvSuggestion() const {
    const QString base =
        chosen_.isEmpty() ? QStringLiteral("records") : QFileInfo(chosen_).completeBaseName();
    return workdir_.filePath(base + QStringLiteral(".csv"));
}

void RecordsViewer::exportCsv(const QString& path) {
    if (chosen_.isEmpty()) {
        tell(QStringLiteral("Choose a record file first."));
        return;
    }
    int rows = 0;
    QString error;
    if (!writeRecordsCsv(path, shown(), &rows, &error)) {
        tell(error);
        return;
    }
    tell(QStringLiteral("%1 lines of %2 records written to %3")
             .arg(rows)
             .arg(shown().size())
             .arg(path));
}

}  // namespace dye
