#pragma once

#include <QDateTime>
#include <QDir>
#include <QList>
#include <QStringList>

#include <functional>

#include "files/jobs/JobRecord.h"

namespace dye {

class Dialogs;
struct StationState;

// A saved recipe with its place in the recipe store "QUICK_A.txt".
struct StoredRecipe {
    int record = 0;  // record number, from 1
    JobRecord job;
};

// The recipe picker (Form12): lists saved recipes and queues the one the
// operator clicks.
class RecipePicker {
  public:
    RecipePicker(StationState& state, Dialogs& dialogs, QDir workdir,
                 std::function<QDateTime()> now)
        : s_(state), dialogs_(dialogs), workdir_(std::move(workdir)), now_(std::move(now)) {}

    // Shows the picker with one line per recipe, in the order given: the
    // record number, "---" and the trimmed order number.
    void fill(const QList<StoredRecipe>& recipes);

    // Queues a copy of the clicked recipe, stamped with the time of queueing,
    // and hides the picker; true when it was queued. The record at the
    // line's place is read again first: when it is no longer the recipe the
    // line shows, the list is refreshed and the operator told so, and
    // nothing is queued. A recipe the machine cannot dispense is refused with
    // a message.
    bool queueClicked();

    // Lists again, at their places now, the saved recipes whose order
    // numbers the picker was filled with.
    void refresh();

  private:
    bool refuse(const QString& why);
    QString notQueued() const;  // "the recipe %1 was not queued: %2"

    StationState& s_;
    Dialogs& dialogs_;
    QDir workdir_;
    std::function<QDateTime()> now_;
    QStringList orders_;  // the order numbers the picker was filled with
};

}  // namespace dye
