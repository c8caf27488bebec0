#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <tuple>
#include <utility>

#include "core/AnsiText.h"
#include "run/JobCompletion.h"

namespace dye::test {

// The vat list's rows for a vat of machine M1 waiting to be taken: `vat` is
// an SQL literal ("'3'", "NULL").
inline QString vat(const QString& vid, const QString& vat, const QString& batch) {
    return QStringLiteral(
               "INSERT INTO \"SPTR_ZJCL\" VALUES ('%1', %2, '%3', '01', 1);\n"
               "INSERT INTO \"SPTR_HeadToVat\" VALUES (%1, %2, 'M1', '%3', '');\n")
        .arg(vid, vat, batch);
}

// Line `id` of a batch; code and weight are SQL literals.
inline QString line(int id, const QString& batch, const QString& code, const QString& weight,
                    const QString& unit = QStringLiteral("cc")) {
    return QStringLiteral(
               "INSERT INTO \"SPTR_DetailToVat\" VALUES (%1, '%2', '01', '%5', %1, '', %3, '', "
               "%4, '');\n")
        .arg(QString::number(id), batch, code, weight, unit);
}

// One record of the drop file: identifier, status and (code, amount, weight) items.
inline QByteArray dropRecord(const QString& id, const QString& status,
                             const QList<std::tuple<QString, QString, QString>>& items) {
    QByteArray r(932, ' ');
    putField(r, 0, 30, id);
    putField(r, 36, 6, status);
    for (int k = 0; k < items.size(); ++k) {
        putField(r, 124 + 20 * k, 20, std::get<0>(items[k]));
        putField(r, 424 + 8 * k, 8, std::get<1>(items[k]));
        putField(r, 544 + 9 * k, 9, std::get<2>(items[k]));
    }
    return r;
}

// A finished job as the run hands it to the write-back: its rows of code and
// actual weight, each of recipe weight `recipe`.
inline CompletedJob completed(const QString& order, const QList<std::pair<QString, QString>>& rows,
                              const QString& bucket = {}, const std::array<QString, 4>& tags = {},
                              const QString& recipe = QStringLiteral("30")) {
    CompletedJob job;
    job.identity.order = order;
    job.identity.bucket = bucket;
    job.extras = tags;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        job.codes[size_t(r)] = rows[r].first;
        job.recipeWeights[size_t(r)] = recipe;
        job.actualWeights[size_t(r)] = rows[r].second;
    }
    return job;
}

}  // namespace dye::test
