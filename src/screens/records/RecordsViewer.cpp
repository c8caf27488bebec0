#include "RecordsViewer.h"

#include <QFileInfo>

#include "core/Dialogs.h"
#include "core/Val.h"
#include "files/language/Wording.h"
#include "files/records/DailyRecordFile.h"
#include "files/records/RecordCsv.h"
#include "files/records/RecordFolder.h"
#include "files/records/RecordLine.h"
#include "files/records/RecordSearch.h"
#include "files/settings/MachineSettings.h"
#include "model/Form4.h"

namespace dye {
namespace {

constexpr int kEnter = 13;

QStringList displayLines(const RecordMonth& month, const RecordRows& rows) {
    QStringList lines;
    lines.reserve(rows.size());
    for (qsizetype row : rows) lines << recordLine(month, row);
    return lines;
}

}  // namespace

RecordsViewer::RecordsViewer(Form4& form, const MachineSettings& settings, QDir workdir,
                             Dialogs& dialogs)
    : form_(form), settings_(settings), workdir_(std::move(workdir)), dialogs_(dialogs) {}

void RecordsViewer::tell(const QString& text) {
    dialogs_.message(text, form_.Caption, {});
}

int RecordsViewer::language() const {
    return settings_.language();
}

void RecordsViewer::showRecords(const RecordRows& rows) {
    form_.List1.clear();
    form_.List1.items = displayLines(month_, rows);
    form_.Label2.Caption = recordHeader(language());
}

void RecordsViewer::clearLoaded() {
    chosen_.clear();
    month_ = RecordMonth{};
    filtered_.clear();
    showingFiltered_ = false;
    usage_ = {};
    form_.List1.clear();
    form_.Text1.clear();
    form_.Label2.Caption = recordHeader(language());
    form_.Label3.Caption.clear();
}

void RecordsViewer::open() {
    clearLoaded();
    form_.List2.clear();
    QString error;
    if (!ensureRecordFolder(workdir_, QLatin1String(kDailyRecordFolder), &error)) {
        tell(error);
        return;
    }
    form_.List2.items = recordFileNames(QDir(workdir_.filePath(QLatin1String(kDailyRecordFolder))));
}

void RecordsViewer::loadChosenFile() {
    const int index = form_.List2.ListIndex;
    const QStringList& names = form_.List2.items;
    clearLoaded();
    if (index < 0 || index >= names.size()) return;
    const QString name = names[index];
    const QString path =
        workdir_.filePath(QLatin1String(kDailyRecordFolder) + QLatin1Char('/') + name);
    QString error;
    if (!month_.load(path, &error)) {
        tell(error);
        return;
    }
    chosen_ = name;
    showRecords(month_.allRows());
    form_.Label3.Caption = wordingIn(language(), {u"%1：%2 筆紀錄", u"%1: %2 records"})
                               .arg(name, QString::number(month_.size()));
    if (month_.tailBytes() > 0)
        tell(wordingIn(language(), {u"%1 結尾有一筆不完整的紀錄（%2 位元組）；只顯示 %3 筆完整紀錄",
                                    u"%1 ends in a partial record of %2 bytes; the %3 whole "
                                    u"records are shown"})
                 .arg(name)
                 .arg(month_.tailBytes())
                 .arg(month_.size()));
}

void RecordsViewer::searchKey(int keyAscii) {
    if (keyAscii != kEnter) return;
    const QString search = form_.Text1.trimmed();
    // An empty search shows the whole file again.
    showingFiltered_ = !search.isEmpty();
    filtered_ = showingFiltered_ ? searchMonth(month_, search) : RecordRows{};
    showRecords(shown());
    const int l = language();
    if (!showingFiltered_)
        form_.Label3.Caption =
            wordingIn(l, {u"全部 %1 筆紀錄", u"All %1 records"}).arg(month_.size());
    else if (filtered_.isEmpty())
        form_.Label3.Caption =
            wordingIn(l, {u"沒有紀錄符合「%1」", u"No record matches \"%1\""}).arg(search);
    else
        form_.Label3.Caption = wordingIn(l, {u"%1 筆紀錄符合「%2」", u"%1 records match \"%2\""})
                                   .arg(QString::number(filtered_.size()), search);
}

void RecordsViewer::showTotals() {
    // The records the list shows: after a search its matches, none when it
    // matched nothing.
    usage_ = valveUsage(month_, shown(), settings_);
    form_.List1.clear();
    form_.List1.items = totalsLines(usage_, settings_);
    form_.Label2.Caption = totalsHeader(language());
    form_.Label3.Caption =
        showingFiltered_ && filtered_.isEmpty()
            ? wordingIn(language(), {u"搜尋沒有符合的紀錄：用量為 0",
                                     u"The search matched no record: "
                                     u"the totals are 0"})
            : wordingIn(language(), {u"%1 筆紀錄的用量", u"Totals of %1 records"})
                  .arg(shown().size());
}

RecordRows RecordsViewer::shown() const {
    return showingFiltered_ ? filtered_ : month_.allRows();
}

QString RecordsViewer::csvSuggestion() const {
    const QString base =
        chosen_.isEmpty() ? QStringLiteral("records") : QFileInfo(chosen_).completeBaseName();
    return workdir_.filePath(base + QStringLiteral(".csv"));
}

void RecordsViewer::exportCsv(const QString& path) {
    if (chosen_.isEmpty()) {
        tell(wordingIn(language(), {u"請先選擇紀錄檔。", u"Choose a record file first."}));
        return;
    }
    const QList<DailyRecord> records = month_.records(shown());
    int rows = 0;
    QString error;
    if (!writeRecordsCsv(path, records, &rows, &error)) {
        tell(error);
        return;
    }
    tell(wordingIn(language(),
                   {u"已將 %2 筆紀錄的 %1 行寫入 %3", u"%1 lines of %2 records written to %3"})
             .arg(rows)
             .arg(records.size())
             .arg(path));
}

}  // namespace dye
