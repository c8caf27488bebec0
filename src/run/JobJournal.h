#pragma once

#include <QDir>
#include <QString>

#include <array>
#include <optional>

namespace dye {

// What tells one queued job from every other: its order and bucket numbers
// and the moment it was queued (an OLE date; 0 when the queue did not say).
struct JobIdentity {
    QString order;
    QString bucket;
    double queuedAt = 0.0;
    bool operator==(const JobIdentity&) const = default;
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
    bool closed = false;    // every row, the wash and the top-up water are done
    bool recorded = false;  // its record is written and synced

    bool anyKept() const;
};

// The job journal beside the queue (JOB_JOURNAL.txt): replaced atomically
// and synced at every change, so that at any instant of a kill or power cut
// it tells what the machine had done with the job on it.
class JobJournal {
  public:
    explicit JobJournal(QDir workdir) : workdir_(std::move(workdir)) {}

    QString path() const;
    // The journal, nothing when there is none; an unreadable one is an error.
    std::optional<JournalState> read(QString* error = nullptr) const;
    bool write(const JournalState& state, QString* error = nullptr) const;
    bool clear(QString* error = nullptr) const;

  private:
    QDir workdir_;
};

}  // namespace dye
