#pragma once

#include <QDir>
#include <QString>

#include <functional>

namespace dye {

class BucketTransport;
class Dialogs;
struct StationState;

// The settings form's own fields: the 38 machine settings, the valve table
// and the teach slots, the balance readings that zero a balance, the slot
// numbers that move the gantry and the access code that makes the fields
// editable. What the operator types stays in the view until Enter hands it
// here; only a saved value reaches the settings the station reads (a teach
// field stays on the screen until "座標存檔" saves the slots).
class SettingsEditor {
  public:
    SettingsEditor(StationState& state, Dialogs& dialogs, BucketTransport& transport, QDir workdir);

    // Called after a saved change of the language (settings field 9), so
    // that every screen shows it at once.
    void setLanguageChanged(std::function<void()> fn) { languageChanged_ = std::move(fn); }
    // What forgets a valve's learned allowance (and keeps that).
    using LearnedReset = std::function<bool(int valve, QString* error)>;
    void setLearnedReset(LearnedReset fn) { learnedReset_ = std::move(fn); }

    // Asks for the access code and, when it is given, makes the fields editable.
    bool unlock();

    // Enter in settings field i or valve table field k: saves that one field
    // into its record and then into the settings. False, with a message, when
    // the form is read-only, the value is out of its range (the message names
    // the field and its range) or the file cannot be written; the settings
    // then keep their value and the view keeps the text typed.
    bool saveField(int i, const QString& text);
    bool saveValveTableField(int k, const QString& text);
    // Brings the shown teach fields the operator has not changed up to date
    // with the saved teach table (before every showing).
    void showSaved();
    // Enter in teach field k (X 0..24, Z 25..49, name 50..74): the field
    // shows the text, marked as changed; only "座標存檔" saves it.
    bool editTeachField(int k, const QString& text);

    // "座標平均" spreads the 25 shown slots on the screen; "座標存檔" saves
    // the shown slots (XZ_Name.txt 1..25) and only then the run and the
    // moves read them. A failed save says why and keeps the edits shown.
    void spreadSlots();
    bool saveSlots();

    // Click on Label2(0) / Label2(2): zeroes balance 1 / 2 (D989 / D993 = 10),
    // unless that station meters or a job is on the machine.
    void zeroBalance(int index);
    // Click on slot number k (0..24) with "MOVE" checked: selects it and sends
    // the gantry to the slot's saved X, Y and Z when nothing else moves the
    // machine and the slot has no unsaved changes.
    void slotClicked(int k);
    // The reset button of valve row k (1..24): forgets what the station has
    // learned of that valve, which is metered by the table until it is
    // learned again. Only with the password given, and told either way.
    bool resetLearned(int valve);
    // The form was closed: it is read-only again until the code is given.
    void lock();

  private:
    bool editable();
    void say(const QString& text);

    StationState& s_;
    Dialogs& dialogs_;
    BucketTransport& transport_;
    QDir workdir_;
    std::function<void()> languageChanged_;
    LearnedReset learnedReset_;
};

}  // namespace dye
