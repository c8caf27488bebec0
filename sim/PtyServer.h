#pragma once

#include <QString>

#include <atomic>
#include <functional>

namespace dye {

class SimulatedController;

// Serves a SimulatedController on a pseudo-terminal in raw mode, with its
// slave device linked at a path of the caller's choice, so that the station
// opens it like any serial port. The machine runs on the real clock.
class PtyServer {
  public:
    PtyServer(SimulatedController& controller, QString linkPath);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the pseudo-terminal and makes the link (replacing an old link,
    // never another kind of file). False with `error` set on failure.
    bool start(QString* error);
    QString slavePath() const { return slavePath_; }
    // Answers frames until `stop` becomes true, calling `between` (when
    // given) on every pass of its loop. Returns 0, or 1 on an I/O error.
    int run(const std::atomic<bool>& stop, const std::function<void()>& between = {});

  private:
    SimulatedController& controller_;
    QString linkPath_;
    QString slavePath_;
    int master_ = -1;
    int slave_ = -1;  // kept open so that the line stays up between station sessions
    bool linked_ = false;
};

}  // namespace dye
