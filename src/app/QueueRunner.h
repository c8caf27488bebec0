#pragma once

#include <QList>
#include <QTextStream>

#include "run/TransferSequence.h"

namespace dye {

class Station;

// Works the queue of a simulated station to its end on virtual time and
// reports every finished job. A queue the job start cannot take from ends
// the run at once; a job that cannot go on (the run says why on the main
// screen, or nothing has finished for hours of machine time) ends it with the
// reason. Records moved out of the queue are not waited for.
class QueueRunner {
  public:
    // Exit codes of run().
    static constexpr int kIdle = 0;      // every queued job finished
    static constexpr int kStuck = 3;     // a job could not finish
    static constexpr int kTimedOut = 4;  // no job finished in the allowed machine time

    QueueRunner(Station& station, QTextStream& out, QTextStream& err)
        : station_(station), out_(out), err_(err) {}
    ~QueueRunner();
    QueueRunner(const QueueRunner&) = delete;
    QueueRunner& operator=(const QueueRunner&) = delete;

    // Runs until the queue is empty and the machine is free again.
    int run(qint64 maxMsWithoutProgress = 4 * 3600 * 1000);

    // The jobs finished so far, in order.
    const QList<FinishedJob>& finishedJobs() const { return finished_; }

    // One line per finished job: order, bucket, lines, recipe and actual
    // weights, water and machine time (and, on two-balance machines, the
    // time each balance metered).
    static QString describe(const FinishedJob& job);

  private:
    bool idle() const;
    void reportMessages();

    Station& station_;
    QTextStream& out_;
    QTextStream& err_;
    QList<FinishedJob> finished_;
    int messagesShown_ = 0;
    int observer_ = 0;  // the station's report of finished jobs to this runner
};

}  // namespace dye
