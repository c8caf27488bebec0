#pragma once

#include <QString>

#include "run/RunContext.h"

namespace dye {

class JobStart;
struct JobRecord;

// The main screen's queue side: queueing the recipe on the editor, deleting
// a waiting job from the queue list (List2, oldest first), and the list
// click that holds the list still for that deletion (QueueListHold).
// Deleting a job, and queueing an order the queue already holds, ask Yes/No
// first; No changes nothing.
class QueueEditor {
  public:
    QueueEditor(RunContext ctx, JobStart& jobStart) : c_(std::move(ctx)), jobStart_(jobStart) {}

    void queueRecipe();     // queue the recipe on the editor
    void deleteSelected();  // delete the selected queue entry
    void queueClicked();    // flips QueueListHold

  private:
    // Why the job of queue record 1, `job`, must stay ("" when it may go):
    // it is on the machine, or it was stopped with rows in its bucket.
    QString whyItStays(const JobRecord& job) const;
    // Why list entry `index`, shown as `shown` with queueing time `shownAt`,
    // may not be deleted ("" when it may): the record at its place is another
    // job now, or the job must stay.
    QString whyNotDeleted(int index, const QString& shown, double shownAt) const;
    void remove(int index, const QString& shown, double shownAt);
    void append(JobRecord job);  // with the time of queueing: now
    void refill();
    void tell(const QString& text);
    // The queue file cannot be read: why (the file's own words).
    QString unreadable(const QString& error) const;

    RunContext c_;
    JobStart& jobStart_;
};

}  // namespace dye
