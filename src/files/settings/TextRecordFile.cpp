#include "TextRecordFile.h"

#include <QFile>

#include "core/AnsiText.h"
#include "core/RecordFile.h"

namespace dye {

QString trimSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' ')) ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' ')) --end;
    return text.sliced(begin, end - begin);
}

bool writeRecordRun(const QString& path, int recordLength, int first, const QByteArray& block,
                    QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (first < 1)
        return fail(QStringLiteral("record %1 of %2 does not exist").arg(first).arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return fail(QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    if (!file.seek(qint64(first - 1) * recordLength) || file.write(block) != block.size() ||
        !file.flush())
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

bool TextRecordFile::load(int count, QStringList& texts) {
    error_.clear();
    texts.clear();
    RecordFile file(path_, width_);
    for (const QByteArray& record : file.readRange(1, count))
        texts.append(getField(record, 0, width_));
    // readRange gives nothing for count 0; keep the list as long as asked.
    while (texts.size() < count) texts.append(QString());
    error_ = file.errorString();
    return error_.isEmpty();
}

bool TextRecordFile::save(int n, const QString& text) {
    return saveRun(n, QStringList{text});
}

bool TextRecordFile::saveRun(int first, const QStringList& texts) {
    error_.clear();
    QByteArray block;
    block.reserve(qsizetype(texts.size()) * width_);
    for (const QString& text : texts) block.append(toFixedField(trimSpaces(text), width_));
    return writeRecordRun(path_, width_, first, block, &error_);
}

}  // namespace dye
