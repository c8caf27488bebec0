#pragma once

#include <functional>

#include "run/JobCompletion.h"
#include "run/JobJournal.h"
#include "run/RunContext.h"

namespace dye {

// What a row cut short by a kill or a stop put in the bucket: the balance's
// reading since the row's zero, when the reading is fresh and a weight the
// row could have put there (from 0 to what it lacked, give or take the
// tolerance of settings field 7). Any other reading (the balance was zeroed
// again or lost its zero, as at a power cut of the machine) tells nothing of
// the bucket: 0 is counted, so the row is metered to its full target, and the
// operator and the event log are told to check the bucket.
// `seen` is what the row had put in when the journal last wrote it down, and
// `rate` its valve's rate: a reading further above it than the valve can
// pour between two such notes is no weight the row put there either.
double cutRowContent(const RunContext& c, const QString& order, int row, int balance, double lacked,
                     double zero, double seen, double rate);

// While a row is metered the journal writes down what it has put in so far,
// every few seconds when it has changed: true when `content` is due to be
// written down (and `seen` then holds it).
bool progressDue(double& seen, double content, int& ticks);

// The journal of the job a run sequence has on the machine, at its first
// tick: a journal of this job whose record is written finishes the job
// without dispensing it again; one with rows in the bucket asks the operator
// whether to go on in the same bucket or start over in a new one; any other
// journal is left over and goes. A journal that cannot be read is set aside
// byte for byte (JOB_JOURNAL_REJECTED.txt): the job taken is finished
// without dispensing when its record is found, and otherwise waits for the
// operator to put a new, empty bucket in place before it starts over, since
// nothing tells what its bucket already holds. Both run sequences share it.
class JobResume {
  public:
    // `goOn` takes the journal of a job that goes on in the same bucket;
    // `finished` clears the screen of a job that was already recorded, after
    // `writeBack` (the run's own end-of-job write-back) has had its record.
    JobResume(RunContext ctx, JournalState& journal, std::function<void(const JournalState&)> goOn,
              std::function<void()> finished, JobCompletion::WriteBack writeBack)
        : c_(std::move(ctx)),
          journal_(journal),
          goOn_(std::move(goOn)),
          finished_(std::move(finished)),
          writeBack_(std::move(writeBack)) {}

    // True once the journal is ready: a fresh one, or the one the job goes on
    // from. False while the operator is asked, or when nothing is to be done.
    bool prepare();
    bool ready() const { return ready_; }
    // The operator's choice is awaited.
    bool pending() const { return pending_; }
    // Why the run waits while the choice is awaited.
    QString waitText(const QString& order) const;
    // True while the run has nothing to do with the job yet: none is loaded
    // (the job start says why), or the operator's choice is awaited (the
    // main screen's status says so).
    bool holdsRun();
    // Forgets the job (the stop commands); a choice still on the screen
    // does nothing when answered.
    void reset();
    // Puts the rows the journal kept back on the job, with their weights,
    // and its actual water when it was known; "row (weight)" per kept row
    // for the event log.
    QStringList restoreKept(const JournalState& j);

  private:
    void ask(const JournalState& j);
    QString rowsInBucket(const JournalState& j, int language) const;
    bool unreadableJournal(const JobIdentity& job, const QString& error);
    void askNewBucket(const JobIdentity& job);
    void startFresh(const JobIdentity& job);

    RunContext c_;
    JournalState& journal_;
    std::function<void(const JournalState&)> goOn_;
    std::function<void()> finished_;
    JobCompletion::WriteBack writeBack_;
    bool ready_ = false;
    bool pending_ = false;
    bool newBucket_ = false;  // the choice awaited is the new bucket after an unreadable journal
    int serial_ = 0;
};

}  // namespace dye
