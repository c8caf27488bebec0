#pragma once

#include <QString>

#include <optional>

#include "run/RunContext.h"

namespace dye {

class JobFile;
struct JobRecord;

// The recipe editor of the main screen and its recipe list (List1, newest
// first): save, modify, delete, clear, update and the list click that loads
// a recipe, or deletes it while "multi-DEL" (Check5) is ticked. Every writer
// checks the recipe first and writes nothing when it is refused; the editor
// then keeps what was typed. Whatever acts on a list entry reads the record
// at its place again and acts only when it is still the recipe shown.
// Deleting a recipe, and saving one under an order number the file already
// holds, ask Yes/No first; No writes nothing.
class RecipeEditor {
  public:
    explicit RecipeEditor(RunContext ctx) : c_(std::move(ctx)) {}

    void saveAsNew();           // save as a new recipe
    void overwriteSelected();   // write the editor over the selected recipe
    void deleteSelected();      // delete the selected recipe
    void refillAndClear();      // refill the list and clear the editor
    void refillKeepingEntry();  // refill the list; the editor keeps its contents
    void recipeClicked();       // load the clicked recipe, or delete it with Check5

  private:
    bool refused(const JobRecord& job);
    // The record behind the selected list entry when it is still that
    // recipe; otherwise the list is refilled and the operator told.
    // `doing` is what the operator chose the recipe for ("delete").
    std::optional<int> recordShown(JobFile& store, const Wording& doing);
    QString outOfStep(const QString& shown, const Wording& doing) const;
    void save(const JobRecord& job);
    // Asks, then removes the recipe shown by the selected entry.
    void removeShown();
    // Removes record k when the file still has `count` records and record k
    // is still `job`; otherwise refills the list and tells the operator.
    void remove(int k, int count, const JobRecord& job);
    void refill();
    void tell(const QString& text);
    // The recipe file cannot be read: why (the file's own words).
    void tellUnreadable(const QString& error);

    RunContext c_;
};

}  // namespace dye
