#pragma once

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QString>

#include "plant/PlantStatement.h"

namespace dye {

// The completion write-backs that have not reached the plant database yet,
// in the order they were made: "PLANT_OUTBOX.txt" in the working directory,
// one statement with its values per line. Every change replaces the file
// atomically, so a kill leaves either the old or the new list.
class PlantOutbox {
  public:
    static constexpr const char* kFileName = "PLANT_OUTBOX.txt";

    explicit PlantOutbox(const QDir& workdir) : path_(workdir.filePath(QLatin1String(kFileName))) {}

    QList<PlantStatement> read(QString* error = nullptr) const;
    // Adds statements at the end.
    bool append(const QList<PlantStatement>& statements, QString* error);
    // Drops the first `count` statements (those that were applied).
    bool removeFirst(int count, QString* error);
    int count() const { return int(read().size()); }
    // The file holds anything at all (an empty or absent file holds nothing).
    bool hasStatements() const { return QFileInfo(path_).size() > 0; }
    const QString& path() const { return path_; }

  private:
    bool write(const QList<PlantStatement>& statements, QString* error);
    QString path_;
};

}  // namespace dye
