#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

#include "plant/PlantStatement.h"

namespace dye {

// What one statement gave: its rows (a SELECT) or how many rows it changed.
struct PlantResult {
    bool ok = false;
    QString error;  // the database's own message when not ok
    QStringList columns;
    QList<QVariantList> rows;
    int rowsAffected = -1;

    QVariant value(int row, const QString& column) const;
};

// The plant database as one piece of work on the worker sees it: the
// connection is open (or failed to open) before the work starts and is
// closed after it. It notes every statement with its outcome, for the logs
// on the station's thread.
class PlantSession {
  public:
    PlantSession(QSqlDatabase* db, QString openError) : db_(db), openError_(std::move(openError)) {}

    bool opened() const { return openError_.isEmpty(); }
    const QString& openError() const { return openError_; }
    PlantResult exec(const PlantStatement& statement);

    // The log lines the work left, in order.
    QStringList lines;

  private:
    QSqlDatabase* db_;
    QString openError_;
};

}  // namespace dye
