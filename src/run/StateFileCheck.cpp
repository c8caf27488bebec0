#include "run/StateFileCheck.h"

#include <QFile>
#include <QFileInfo>

#include "core/AnsiText.h"
#include "core/FileSync.h"
#include "files/jobs/JobFile.h"
#include "files/settings/MachineSettings.h"
#include "files/settings/SettingsFiles.h"

namespace dye {
namespace {

constexpr char kWashRejectedName[] = "WASHsetting_REJECTED.txt";
constexpr int kWashRecordLength = 200;
// The text fields of a job record: order, bucket, water, codes and weights
// (bytes 0..339), then the four tags (348..387). The queueing time between
// them is a binary number and the rest is never read.
constexpr int kTextEnd = 340;
constexpr int kTagsAt = 348;
constexpr int kTagsEnd = 388;

bool readableJobRecord(const QByteArray& r) {
    return isStoredText(QByteArrayView(r).first(kTextEnd)) &&
           isStoredText(QByteArrayView(r).sliced(kTagsAt, kTagsEnd - kTagsAt));
}

bool appendSynced(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(bytes) == bytes.size() &&
        syncToDisk(file))
        return true;
    *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

}  // namespace

Notice setAsideUnreadableRecipes(const QDir& workdir, int language) {
    JobFile store = recipeStoreFile(workdir);
    const int count = store.count();
    if (count <= 0) return {};
    QFile file(store.path());
    if (!file.open(QIODevice::ReadOnly)) return {};  // the recipe list reports it
    const QByteArray all = file.read(qint64(count) * JobRecord::kLength);
    const QByteArray tail = file.readAll();  // a partial record: the queue guard moves it
    file.close();
    QByteArray kept;
    QByteArray rejected;
    QStringList numbers;
    for (int n = 0; n < count; ++n) {
        const QByteArray r = all.mid(qsizetype(n) * JobRecord::kLength, JobRecord::kLength);
        if (readableJobRecord(r)) {
            kept += r;
            continue;
        }
        rejected += r;
        if (numbers.size() < 5) numbers << QString::number(n + 1);
    }
    if (rejected.isEmpty()) return {};
    const int bad = int(rejected.size() / JobRecord::kLength);
    if (bad > numbers.size()) numbers << QStringLiteral("...");
    // In the rejected file first, then out of the store: a kill in between
    // leaves a record in both, never in neither.
    QString error;
    const bool setAside =
        appendSynced(store.rejectedPath(), rejected, &error) &&
        writeFileAtomically(store.path(), kept + tail, &error,
                            workdir.filePath(QLatin1String(kRecipeStoreScratchName)));
    const auto told = [&](int in) {
        const auto say = [in](const Wording& w) { return wordingIn(in, w); };
        const QString which = say({u"%2 筆中的 %1 筆（第 %3 筆）", u"%1 of its %2 records (%3)"})
                                  .arg(bad)
                                  .arg(count)
                                  .arg(numbers.join(QStringLiteral(", ")));
        if (!setAside)
            return say({u"%1：%2無法讀取，也無法移到一旁：%3",
                        u"%1: %2 cannot be read and cannot be set aside: %3"})
                .arg(fileName(store.path()), which, error);
        return say({u"%1：%2無法讀取（含有非文字的位元組）：已移到 %3",
                    u"%1: %2 cannot be read (bytes that are not text): moved to %3"})
            .arg(fileName(store.path()), which, fileName(store.rejectedPath()));
    };
    return {told(kEnglish), told(language)};
}

QString setAsideUnreadableWashTable(const QDir& workdir) {
    const QString path = workdir.filePath(QLatin1String(kWashTableFileName));
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    file.close();
    constexpr qint64 whole = qint64(MachineSettings::kWashFieldCount) * kWashRecordLength;
    QString why;
    if (bytes.size() % kWashRecordLength != 0 || bytes.size() > whole)
        why = QStringLiteral("it is %1 bytes, not a whole number of its %2 records of %3 bytes")
                  .arg(bytes.size())
                  .arg(MachineSettings::kWashFieldCount)
                  .arg(kWashRecordLength);
    for (qsizetype at = 0; why.isEmpty() && at < bytes.size(); at += kWashRecordLength)
        if (!isStoredText(QByteArrayView(bytes).sliced(at, kWashRecordLength)))
            why = QStringLiteral("record %1 holds bytes that are not text")
                      .arg(at / kWashRecordLength + 1);
    if (why.isEmpty()) return {};
    const QString rejected = workdir.filePath(QLatin1String(kWashRejectedName));
    QString error;
    if (!appendSynced(rejected, bytes, &error))
        return QStringLiteral("%1 cannot be read (%2) and cannot be set aside: %3")
            .arg(fileName(path), why, error);
    if (!file.remove())
        return QStringLiteral(
                   "%1 cannot be read (%2); it is copied to %3 but cannot be removed: "
                   "%4")
            .arg(fileName(path), why, kWashRejectedName, file.errorString());
    syncDirectory(path);
    return QStringLiteral(
               "%1 cannot be read (%2): moved to %3; the wash table is empty, washes "
               "use the wash count and water of the settings")
        .arg(fileName(path), why, kWashRejectedName);
}

}  // namespace dye
