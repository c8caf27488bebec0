#pragma once

#include <QDir>

namespace dye {

class Dialogs;
class MachineSettings;
struct Form14;

// The dye-mix table's handlers (Form14). It edits DYE_MIX.txt where the run
// reads it: in the folder of settings field 37, put in front of the file
// name as the run does.
class DyeMixTable {
  public:
    DyeMixTable(Form14& form, const MachineSettings& settings, Dialogs& dialogs, QDir workdir);

    // Opening: numbers 1..30, the path shown, every box emptied and filled
    // with the trimmed entries of the file. A file that cannot be read is said.
    void load();
    // Enter in box i (0..29): all 30 boxes, trimmed, into records 1..30, and
    // the focus on to the next box when there is one.
    void saveField(int i);

  private:
    QString path() const;

    Form14& f_;
    const MachineSettings& settings_;
    Dialogs& dialogs_;
    QDir workdir_;
};

}  // namespace dye
