#pragma once

#include <QDir>

namespace dye {

class Dialogs;
class MachineSettings;
struct Form10;

// The wash table's handlers (Form10).
class WashTable {
  public:
    WashTable(Form10& form, MachineSettings& settings, Dialogs& dialogs, QDir workdir);

    // Opening: slot numbers 1..64, and every box shows its saved record.
    void load();
    // Enter in box i (0..127): its trimmed text goes into record i + 1 and
    // into the settings, and the focus moves on to box i + 1. A failed write
    // is said and the text stays in the box, unsaved.
    void saveField(int i);

  private:
    Form10& f_;
    MachineSettings& settings_;
    Dialogs& dialogs_;
    QDir workdir_;
};

}  // namespace dye
