#pragma once

#include <QStringList>

#include <array>
#include <functional>
#include <random>
#include <vector>

namespace dye {
class Station;
}

namespace dye::soak {

struct SoakMachine;

// The operator of one seed: STOP then RUN with either resume choice, the
// wash button and queue edits at random instants of the shift, and the lane
// bucket-ready buttons pressed a while after a lane waits for them (when the
// machine's buttons are pressed by hand).
class SoakOperator {
  public:
    struct Hooks {
        std::function<void()> newBucket;  // "start over in a new bucket": the buckets are changed
        std::function<void()> queueJob;   // another job is queued
        std::function<void(const QString& order)> deleted;  // the operator deleted a queued job
    };
    // Only the lane buttons (when they are manual) when `on` is false.
    SoakOperator(std::mt19937& random, const SoakMachine& machine, qint64 shiftMs, bool on);

    // Answers the new station's resume question with the choice of the last
    // RUN (or of the restart), changing the buckets first for a new bucket.
    void attach(Station& station, const Hooks& hooks, QStringList& events);
    // The choice a restart's resume question gets.
    void chooseAfterRestart(int pick) { pick_ = pick; }
    void step(qint64 shiftMs, Station& station, const Hooks& hooks, QStringList& events);
    // Between a STOP and its RUN: the station waits for the operator.
    bool stopped() const { return stoppedUntil_ >= 0; }
    QString describe() const;

  private:
    enum class Kind { Stop, Wash, Queue, Delete };
    struct Action {
        qint64 at;
        Kind kind;
        bool fullStop = false;  // the menu's STOP (else the stop button)
        int pick = 0;           // 0 go on in the same bucket, 1 start over
        qint64 pauseMs = 0;
        double which = 0;  // the queue list line deleted, as a share of the list
    };
    void deleteQueued(const Action& a, Station& station, const Hooks& hooks, QStringList& events);
    void pressLanes(qint64 ms, Station& station, QStringList& events);

    std::vector<Action> actions_;
    size_t next_ = 0;
    qint64 stoppedUntil_ = -1;
    int pick_ = 0;
    bool manualLanes_ = false;
    std::mt19937 random_;
    std::array<qint64, 2> pressAt_{-1, -1};
};

}  // namespace dye::soak
