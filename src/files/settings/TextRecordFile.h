#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>

namespace dye {

// Trims spaces (and only spaces) from both ends: every settings text is
// trimmed this way before it is written.
QString trimSpaces(const QString& text);

// Writes `block`, a run of whole records, from record `first` on, in one
// opening of the file (creating it when absent). Used by every save that
// writes several records at once.
bool writeRecordRun(const QString& path, int recordLength, int first, const QByteArray& block,
                    QString* error);

// A settings file made of one fixed-width text field per record. Errors (an
// unwritable folder, a full disk) come back as false plus errorString().
class TextRecordFile {
  public:
    TextRecordFile(QString path, int width) : path_(std::move(path)), width_(width) {}

    const QString& path() const { return path_; }
    int width() const { return width_; }

    // Records 1..count, trimmed; records beyond the end read empty. `texts`
    // is filled in any case; false when the file could not be opened.
    bool load(int count, QStringList& texts);
    // Writes the trimmed text into record n at once.
    bool save(int n, const QString& text);
    // Writes the trimmed texts into records first, first + 1, ... in one pass.
    bool saveRun(int first, const QStringList& texts);

    const QString& errorString() const { return error_; }

  private:
    QString path_;
    int width_;
    QString error_;
};

}  // namespace dye
