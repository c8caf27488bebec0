#pragma once

#include <QtGlobal>

namespace dye {

// One gantry axis. A command block is direction (1 positive, 2 negative),
// speed (units per second), distance and mode. Mode 1000 moves by the
// distance; mode 0 runs in the direction until the end switch (home at 0 for
// direction 2, the limit at the travel for direction 1). A move is always
// stopped at the end switches, so a relative move is busy for
// distance / speed seconds unless a switch ends it sooner.
class SimAxis {
  public:
    static constexpr int kRelative = 1000;
    static constexpr int kRun = 0;

    explicit SimAxis(int travel = 32000) : travel_(travel) {}

    // Starts the command at `ms`; a direction other than 1 or 2, or a speed of
    // 0 or less, is no command. A command while moving starts from where the
    // axis is.
    void command(int direction, int speed, int distance, int mode, qint64 ms);

    double position(qint64 ms) const;
    bool busy(qint64 ms) const { return ms < endMs_; }
    bool atHome(qint64 ms) const { return !busy(ms) && position(ms) <= 0.0; }
    bool atLimit(qint64 ms) const { return !busy(ms) && position(ms) >= travel_; }
    // When the current move ends (in the past when idle).
    qint64 endMs() const { return endMs_; }
    int travel() const { return travel_; }
    void setTravel(int travel) { travel_ = travel; }
    // Puts the axis at `position`, at rest (tests and start-up).
    void place(double position, qint64 ms);

  private:
    int travel_;
    double from_ = 0.0;
    double to_ = 0.0;
    qint64 startMs_ = 0;
    qint64 endMs_ = 0;
};

}  // namespace dye
