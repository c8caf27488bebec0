#pragma once

#include <QDir>
#include <QString>

#include "files/records/MonthFiles.h"
#include "files/records/ValveUsage.h"

namespace dye {

class Dialogs;
class MachineSettings;
struct Form4;

// The records viewer's handlers (Form4): the files of data/, the records of
// the chosen month, the search by order number or day, the totals per valve
// and the CSV export. It only reads record files. Problems (a file that is
// not there or cannot be read, a partial record at the end) are told in a
// message.
class RecordsViewer {
  public:
    RecordsViewer(Form4& form, const MachineSettings& settings, QDir workdir, Dialogs& dialogs);

    // Opening the viewer: creates data/ when missing, lists its files and
    // starts with nothing loaded.
    void open();
    // Loads the file chosen in List2 (List2.ListIndex) and lists its records.
    void loadChosenFile();
    // Enter (13) searches the loaded file for Text1 and says how many records
    // matched (an empty search shows the whole file); other keys do nothing.
    void searchKey(int keyAscii);
    // Lists the totals per valve of the records the list shows: the last
    // search's matches (none when it matched nothing), or the whole file.
    void showTotals();
    // Writes the records the list last showed (or totalled) to `path` as CSV
    // and says how many lines went where.
    void exportCsv(const QString& path);
    // A file name for the export beside the working directory's files.
    QString csvSuggestion() const;

    // The chosen month, the matches of the last search and the records the
    // list shows (or totalled last).
    const RecordMonth& month() const { return month_; }
    const RecordRows& filtered() const { return filtered_; }
    RecordRows shown() const;
    const ValveUsageTable& usage() const { return usage_; }

  private:
    void tell(const QString& text);
    void clearLoaded();
    void showRecords(const RecordRows& rows);
    int language() const;

    Form4& form_;
    const MachineSettings& settings_;
    QDir workdir_;
    Dialogs& dialogs_;
    QString chosen_;  // name of the loaded file; "" none
    RecordMonth month_;
    RecordRows filtered_;
    bool showingFiltered_ = false;
    ValveUsageTable usage_{};
};

}  // namespace dye
