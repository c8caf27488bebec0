#pragma once

#include <QDir>
#include <QString>

#include <array>
#include <optional>

#include "files/jobs/JobIdentity.h"
#include "files/jobs/JobRecord.h"

namespace dye {

// One lane of the two-balance run: the row it works on (a metering running
// on it or not), the balance reading that metering started from, what the
// row already has from earlier buckets, and what the lane's bucket held at
// its balance's last tare.
struct LaneJournal {
    int row = -1;           // the row in progress; -1 none
    bool metering = false;  // its metering runs
    double zero = 0;        // the balance reading the metering started from
    double base = 0;        // what the row already has (earlier buckets, a stopped metering)
    double tared = 0;       // the lane bucket's content tared away since it was put in
    double seen = 0;        // what the running metering had put in when last written down
    bool operator==(const LaneJournal&) const = default;
};

// The job on the machine, as far as it has gone: which rows are in the
// bucket with their weights, the row being metered with the balance reading
// it started from, the water, and whether its record has been written.
struct JournalState {
    JobIdentity job;
    bool waterKnown = false;                      // the base water was measured
    QString actualWater;                          // the job's actual water as shown
    qint64 waterBase = 0;                         // balance reading before the base water
    qint64 waterGiven = 0;                        // base water measured
    std::array<std::optional<QString>, 10> kept;  // actual weights of the rows in the bucket
    int meteringRow = -1;                         // the row whose metering runs; -1 none
    double meteringZero = 0;                      // the balance reading it started from
    double meteringSeen = 0;  // what that row had in the bucket when last written down
    bool closed = false;      // every row, the wash and the top-up water are done
    bool recorded = false;    // its record is written and synced
    // The two-balance run keeps its lanes here (lane 1 at [0]); a one-balance
    // journal has none.
    bool twoLanes = false;
    std::array<LaneJournal, 2> lanes;

    bool anyKept() const;
    // Something of the job is in its bucket: a row kept or being metered, a
    // lane's row under way, or the closing.
    bool started() const;
};

// The job journal beside the queue (JOB_JOURNAL.txt): replaced atomically
// and synced at every change, so that at any instant of a kill or power cut
// it tells what the machine had done with the job on it.
class JobJournal {
  public:
    explicit JobJournal(QDir workdir) : workdir_(std::move(workdir)) {}

    QString path() const;
    // Where a journal that cannot be read is kept (JOB_JOURNAL_REJECTED.txt).
    QString rejectedPath() const;
    // The journal, nothing when there is none; an unreadable one is an error.
    std::optional<JournalState> read(QString* error = nullptr) const;
    // Appends the journal's bytes as they are to the rejected file (synced)
    // and only then removes the journal; true when there is none.
    bool setAside(QString* error = nullptr) const;
    bool write(const JournalState& state, QString* error = nullptr) const;
    bool clear(QString* error = nullptr) const;

  private:
    QDir workdir_;
};

}  // namespace dye
