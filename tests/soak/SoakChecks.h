#pragma once

#include <QDir>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

#include "soak/SoakMachine.h"
#include "soak/SoakQueue.h"

namespace dye {
class Station;
}

namespace dye::soak {

// Bounds of the checks, named so that the accuracy work can tighten them.
// The water may miss its amount by this share plus this many grams.
inline constexpr double kWaterBoundShare = 0.10;
inline constexpr double kWaterBoundGrams = 1000;
// Product in a bucket of the type-2 machine may pass its limit by what one
// second of the fastest valve brings, before the bucket watch has stopped it.
inline constexpr double kBucketLimitSlackSeconds = 1.5;
// An output on with nothing driving it for this long is a failure.
inline constexpr qint64 kUndrivenGraceMs = 3000;
// The water outputs (D985, D842) are never on longer than this at a stretch:
// the largest top-up (30000 at the simulator's 500 per second) takes a minute.
inline constexpr qint64 kWaterOnLimitMs = 10 * 60'000;
// A bucket holding less than this counts as empty (a drained or new bucket).
inline constexpr double kEmptyBucketCounts = 20;
// A reason to wait counts for this long after it was shown.
inline constexpr qint64 kReasonFreshMs = 120'000;
// The queue may wait untaken this long without a word.
inline constexpr qint64 kQueueIdleMs = 10 * 60'000;

struct SoakFailure {
    QString cause;   // short, the same for every seed with this fault
    QString detail;  // what was seen
};

// What the valves of the shift's simulators have let through, in counts,
// across restarts; and whether the balances carry a fault's overload.
struct Poured {
    std::array<double, 24> byValve{};  // valve v at [v - 1]
    bool overloaded = false;
};

// The invariants of the soak, looked at all the time (step) and at the end
// of every job and of the shift, from the station's files and state and the
// simulator's machine.
class SoakChecks {
  public:
    SoakChecks(QDir workdir, const SoakMachine& machine, bool verbose);

    // A job was written into the queue.
    void queued(const SoakJob& job);
    // The operator deleted a queued job: it is handled, unless its bucket
    // held product of it.
    void deleted(const QString& order);
    // A new station was built (a restart): its dialogs start afresh.
    void newStation();
    // The buckets were changed by the operator: what the job on the machine
    // poured so far is no longer in its bucket.
    void bucketsChanged(const Poured& poured);

    // Every step of the shift. `held` is the time the station may have been
    // held by outside causes (the operator's stop, the machine switched off).
    void step(qint64 shiftMs, Station& station, const Poured& poured, bool operatorStopped);
    // True once the shift cannot go on (a silent stall, or a job waiting
    // far beyond its bound with a reason shown).
    bool over() const { return over_; }
    // Every planned job recorded or set aside, none on the machine.
    bool allHandled(Station& station);
    // The end of the shift: jobs lost or recorded twice, the event log's
    // time, the journal.
    void finish(Station& station, bool idle);

    const QList<SoakFailure>& failures() const { return failures_; }
    int jobsRecorded() const { return recordedJobs_; }
    int linesRecorded() const { return recordedLines_; }
    int jobsSetAside() const { return setAsideJobs_; }
    QString waiting() const { return waiting_; }

  private:
    struct Tracked {
        SoakJob job;
        qint64 onMachineMs = 0;  // machine time on the machine, operator stops left out
        qint64 seenAt = -1;      // shift time it was first on the machine
        // What the valves had let through when it came on the machine (or
        // into a new bucket).
        std::array<double, 24> pouredAtStart{};
        bool recordChecked = false;
        bool rejectChecked = false;
        bool stallReported = false;
        bool deleted = false;
        qint64 recordedAt = -1;
    };
    void fail(const QString& cause, const QString& detail);
    void checkOutputs(qint64 ms, Station& station);
    void checkBuckets(Station& station);
    void checkBucketOwners(Station& station);
    void checkWash(Station& station);
    void checkJobOnMachine(qint64 ms, Station& station, const Poured& poured, bool stopped);
    void checkFiles(qint64 ms, Station& station, const Poured& poured);
    void checkRecord(Tracked& t, const QList<struct DailyRecord>& records, const Poured& poured);
    bool reasonShown(qint64 ms, Station& station, QString* why);
    QString stateOf(Station& station);
    double tolerance() const { return machine_.tolerance; }
    QStringList logLines() const;
    // The event-log lines of a job: those while it was on the machine, and
    // any that name it.
    QStringList jobLogLines(const QString& order) const;
    QList<struct DailyRecord> records() const;

    QDir workdir_;
    SoakMachine machine_;
    bool verbose_;
    QList<SoakFailure> failures_;
    QMap<QString, Tracked> jobs_;  // by order number
    QStringList queueOrder_;
    QString onMachine_;
    QString lastOnMachine_;
    qint64 lastMs_ = 0;
    qint64 lastFileCheck_ = -1;
    qint64 lastReasonMs_ = -1;
    qsizetype messagesSeen_ = 0;
    qint64 queueIdleSince_ = -1;
    qint64 linkLostAt_ = -1;
    std::array<qint64, 25> undrivenSince_{};
    std::array<bool, 25> valveReported_{};
    std::array<qint64, 2> waterOnSince_{-1, -1};  // D985, D842
    bool waterReported_ = false;
    std::array<bool, 2> bucketReported_{};
    std::array<QString, 2> bucketOwner_;  // the job whose product is in the bucket on each balance
    bool ownerReported_ = false;
    bool washReported_ = false;
    bool over_ = false;
    QString waiting_;
    int recordedJobs_ = 0;
    int recordedLines_ = 0;
    int setAsideJobs_ = 0;
};

}  // namespace dye::soak
