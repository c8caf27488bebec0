#include "RecordCsv.h"

#include <QFileInfo>
#include <QSaveFile>

namespace dye {
namespace {

QByteArray field(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') &&
        !bytes.contains('\r'))
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

void addRow(QByteArray& out, std::initializer_list<QString> fields) {
    bool first = true;
    for (const QString& f : fields) {
        if (!first) out += ',';
        out += field(f);
        first = false;
    }
    out += "\r\n";
}

bool blankRow(const DailyRecord& r, size_t row) {
    return r.Code[row].trimmed().isEmpty() && r.RecipeWeight[row].trimmed().isEmpty() &&
           r.ActualWeight[row].trimmed().isEmpty();
}

int csvRows(const QList<DailyRecord>& records, QByteArray* out) {
    int rows = 0;
    for (const DailyRecord& r : records)
        for (size_t row = 0; row < size_t(DailyRecord::kRows); ++row) {
            if (blankRow(r, row)) continue;
            ++rows;
            if (out)
                addRow(*out, {r.FinishText, r.OrderNo, r.BucketNo, r.Code[row], r.RecipeWeight[row],
                              r.ActualWeight[row]});
        }
    return rows;
}

}  // namespace

QByteArray recordsCsv(const QList<DailyRecord>& records) {
    QByteArray out("\xEF\xBB\xBF");
    addRow(out, {QStringLiteral("time"), QStringLiteral("order"), QStringLiteral("bucket"),
                 QStringLiteral("code"), QStringLiteral("recipe weight"),
                 QStringLiteral("actual weight")});
    csvRows(records, &out);
    return out;
}

bool writeRecordsCsv(const QString& path, const QList<DailyRecord>& records, int* rows,
                     QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("%1 is a folder, not a file").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    file.write(recordsCsv(records));
    if (!file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    if (rows) *rows = csvRows(records, nullptr);
    return true;
}

}  // namespace dye
