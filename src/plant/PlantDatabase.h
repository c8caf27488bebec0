#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "plant/PlantSource.h"

namespace dye {

class PlantSession;

// The plant database, off the machine's thread. Every piece of work opens
// its own connection, runs its statements and closes it again, one piece
// after another in the order given, on one worker thread; its `done` runs
// afterwards on the station's thread, from `deliver()`. A login that waits
// or a dead server therefore never delays a tick.
//
// Synchronous mode runs the work at once on the calling thread and keeps
// `done` for the next `deliver()`: the tests on virtual time use it.
//
// Its owner calls `close()` while the objects the `done`s reach are still
// there: whatever the database has done is then handed on, never dropped.
class PlantDatabase {
  public:
    enum class Mode { Worker, Synchronous };
    using Work = std::function<void(PlantSession&)>;
    using Done = std::function<void(const PlantSession&)>;
    using Log = std::function<void(const QString&)>;

    explicit PlantDatabase(Mode mode);
    ~PlantDatabase();
    PlantDatabase(const PlantDatabase&) = delete;
    PlantDatabase& operator=(const PlantDatabase&) = delete;

    Mode mode() const { return mode_; }
    // Where the log lines of the work go (event log and the log box).
    void setLog(Log log) { log_ = std::move(log); }

    // Queues `work` against `source`; `done` follows on the station's thread.
    void submit(const PlantSource& source, Work work, Done done);
    // Runs the `done` of every finished piece of work, in order, after
    // logging what it did. Call it on the station's thread.
    void deliver();
    // Pieces submitted whose `done` has not run yet.
    int pending() const { return pending_; }
    // Ends the work: pieces not yet started are dropped (they changed
    // nothing), the piece under way is waited for, and every finished piece
    // is delivered. Pieces submitted afterwards, by those `done`s too, are
    // dropped. Call it on the station's thread.
    void close();
    bool closed() const { return closed_; }

  private:
    struct Task {
        PlantSource source;
        Work work;
        Done done;
        std::shared_ptr<PlantSession> session;
    };
    void run(Task& task);
    void stopWorker();
    void workerLoop();

    Mode mode_;
    QString connectionName_;
    Log log_;
    int pending_ = 0;
    bool closed_ = false;
    std::unique_ptr<QObject> receiver_;  // lives on the station's thread

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> todo_;
    std::deque<Task> ready_;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace dye
