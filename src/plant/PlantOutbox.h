#pragma once

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "plant/PlantStatement.h"

namespace dye {

// The completion write-backs that have not reached the plant database yet,
// in the order they were made: "PLANT_OUTBOX.txt" in the working directory,
// one statement per line as its kind and its values, never its text: the
// station rebuilds the text from its own statements. Every change replaces
// the file atomically, so a kill leaves either the old or the new list.
// A line that is not such a statement is kept byte for byte until
// `setAside` moves it to "PLANT_OUTBOX_REJECTED.txt".
class PlantOutbox {
  public:
    static constexpr const char* kFileName = "PLANT_OUTBOX.txt";
    static constexpr const char* kRejectedFileName = "PLANT_OUTBOX_REJECTED.txt";

    explicit PlantOutbox(const QDir& workdir)
        : path_(workdir.filePath(QLatin1String(kFileName))),
          rejectedPath_(workdir.filePath(QLatin1String(kRejectedFileName))) {}

    // The statements, in order; lines that are not statements are skipped.
    QList<PlantStatement> read(QString* error = nullptr) const;
    // Adds write-back statements at the end; any other statement is refused.
    bool append(const QList<PlantStatement>& statements, QString* error);
    // Drops the first `count` statements (those that were applied).
    bool removeFirst(int count, QString* error);
    // Moves every line that is not a statement, byte for byte, to the end
    // of the rejected file (synced before the outbox is rewritten without
    // it), with one line in `reports` each saying which and why.
    bool setAside(QStringList* reports, QString* error);
    int count() const { return int(read().size()); }
    // The file holds anything at all (an empty or absent file holds nothing).
    bool hasStatements() const { return QFileInfo(path_).size() > 0; }
    const QString& path() const { return path_; }
    const QString& rejectedPath() const { return rejectedPath_; }

  private:
    struct Line {
        QByteArray raw;  // as it stands in the file, with its line end
        int number = 0;  // its line in the file (0: not in the file yet)
        std::optional<PlantStatement> statement;
        QString problem;  // why it is not a statement
    };
    bool load(QList<Line>& lines, QString* error) const;
    bool write(const QList<Line>& lines, QString* error);

    QString path_;
    QString rejectedPath_;
};

}  // namespace dye
