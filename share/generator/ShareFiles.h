#pragma once

#include <QList>
#include <QString>

namespace dye::share {

// Writers of the files a new station ships with. Each one replaces the file
// in `dir` and returns false with a message in `error` when it cannot.
bool writeLanguageFile(const QString& dir, QString* error);
bool writeMachineSettings(const QString& dir, QString* error);
bool writeValveTable(const QString& dir, QString* error);
bool writeSampleRecipes(const QString& dir, QString* error);
bool writeSampleQueue(const QString& dir, QString* error);
bool writeTeachSlots(const QString& dir, QString* error);

// Writes `texts` as records 1..n of `path`, each a fixed-width text field
// filling the record. A text the code page cannot hold is refused rather than
// shipped with question marks.
bool writeTextFile(const QString& path, int recordLength, const QList<QString>& texts,
                   QString* error);

// Starts `path` afresh (an older copy is removed) so that it ends up holding
// exactly the records written next.
bool startFile(const QString& path, QString* error);

}  // namespace dye::share
