#include "plant/PlantSession.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace dye {

QVariant PlantResult::value(int row, const QString& column) const {
    qsizetype c = -1;
    for (qsizetype k = 0; k < columns.size() && c < 0; ++k)
        if (columns[k].compare(column, Qt::CaseInsensitive) == 0) c = k;
    if (row < 0 || row >= rows.size() || c < 0 || c >= rows[row].size()) return {};
    return rows[row][c];
}

namespace {

QString messageOf(const QSqlError& e) {
    QString text = e.databaseText().trimmed();
    if (text.isEmpty()) text = e.text().trimmed();
    if (!e.driverText().isEmpty() && !text.contains(e.driverText()))
        text = e.driverText() + QStringLiteral(": ") + text;
    return text.simplified();
}

}  // namespace

PlantResult PlantSession::exec(const PlantStatement& statement) {
    PlantResult r;
    lines << QStringLiteral("   <SEND SQL>   <") + statement.shown() + u'>';
    if (!opened()) {
        r.error = openError_;
        return r;
    }
    QSqlQuery q(*db_);
    q.setForwardOnly(true);
    if (!q.prepare(statement.text)) {
        r.error = messageOf(q.lastError());
        lines << QStringLiteral("<plant> statement refused: ") + r.error;
        return r;
    }
    for (const QVariant& v : statement.values) q.addBindValue(v);
    if (!q.exec()) {
        r.error = messageOf(q.lastError());
        lines << QStringLiteral("<plant> statement failed: ") + r.error;
        return r;
    }
    r.ok = true;
    if (q.isSelect()) {
        const QSqlRecord rec = q.record();
        for (int c = 0; c < rec.count(); ++c) r.columns << rec.fieldName(c);
        while (q.next()) {
            QVariantList row;
            for (int c = 0; c < rec.count(); ++c) row << q.value(c);
            r.rows << row;
        }
    } else {
        r.rowsAffected = q.numRowsAffected();
        if (r.rowsAffected == 0) lines << QStringLiteral("<plant> the statement changed no row");
    }
    return r;
}

}  // namespace dye
