#pragma once

#include <QString>

#include <functional>

#include "plant/Step44Intake.h"

namespace dye {

class Dialogs;
class PlantService;
class RecipePicker;
struct StationState;

// The identifier entry screen (Form6): Enter in its box dispatches on the
// site profile. ORIGINAL queues the saved recipe of a scanned order and the
// variant the operator names; KESTRALIA lists the saved recipes whose order
// starts with the text in the picker; ZOLPOWDERS takes the identifier's
// record from the month's drop file; QUORBAN asks for the auxiliary
// category and then takes the order's rows from the plant database.
class IdentifierEntry {
  public:
    struct Hooks {
        std::function<QString(int)> text;     // language text k of the current language
        std::function<void()> refillRecipes;  // the main screen's recipe list
    };
    IdentifierEntry(StationState& state, PlantService& plant, Dialogs& dialogs,
                    RecipePicker& picker, Hooks hooks);

    void identifierKey(int keyAscii);
    void clearIdentifier();  // empties the box
    // The step-44 intake once the category picker (Form15) holds a category.
    void categoryIntake();

  private:
    void scanIntake(const QString& identifier);
    void pickerFill(const QString& identifier);
    void dropIntake(const QString& identifier);
    void noId();

    StationState& s_;
    PlantService& plant_;
    Dialogs& dialogs_;
    RecipePicker& picker_;
    Hooks hooks_;
    Step44Intake step44_;
    QString pending_;          // the identifier Enter was pressed on (step-44 intake)
    QString lastDropProblem_;  // the drop intake's last problem, logged once
};

}  // namespace dye
