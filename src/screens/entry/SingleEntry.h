#pragma once

#include <QDateTime>
#include <QDir>

#include <functional>

namespace dye {

class Dialogs;
struct StationState;

// The single dispensing entry (Form7): one product with one weight into the
// job queue, for a quick manual dispense.
class SingleEntry {
  public:
    // The order number every single-entry job carries.
    static constexpr char kOrderNo[] = "<<<single>>>";

    SingleEntry(StationState& state, Dialogs& dialogs, QDir workdir, std::function<QDateTime()> now)
        : s_(state), dialogs_(dialogs), workdir_(std::move(workdir)), now_(std::move(now)) {}

    // Brings the screen up: its lists from the settings as they are now (the
    // valve table and the places may have changed since it was last shown),
    // then an empty code and weight unless it was open already.
    void open();

    // Fills the lists: the valve codes, the code-and-name lines, the twenty-four
    // preset weights 500 .. 12000 and the place names of teach slots 2..64.
    void fillLists();
    // Empties the code and the weight and puts the focus on the code; the
    // bucket keeps its choice.
    void clearEntry();
    void codeKey(int key);    // Enter: on to the weight
    void weightKey(int key);  // Enter: on to the queue button
    // The clicked line's code (the text before its five blanks) into the code box.
    void lineClicked();
    // Keypad: 0..9 appends the digit to the weight, 10 drops its last character.
    void keypad(int index);
    // Queues the entry and hides the screen; true when it was queued. An entry
    // the machine cannot dispense is refused with a message and stays on the
    // screen as typed.
    bool queueEntry();

  private:
    StationState& s_;
    Dialogs& dialogs_;
    QDir workdir_;
    std::function<QDateTime()> now_;
};

}  // namespace dye
