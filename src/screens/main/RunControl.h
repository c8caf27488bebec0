#pragma once

#include <functional>

#include "run/RunContext.h"

namespace dye {

struct Form3;
struct MachineTimers;
class JobStart;
class KeyState;
class MainScreen;
class TransferSequence;
class TwoBalanceSequence;

// Run and stop from the main screen, the F1 hot key (Timer5) and the intake
// poll counter (Timer7).
class RunControl {
  public:
    RunControl(RunContext ctx, JobStart& jobStart, TransferSequence& transfer,
               TwoBalanceSequence& twoBalance, MainScreen& screen, KeyState& keys)
        : c_(std::move(ctx)),
          job_(jobStart),
          transfer_(transfer),
          twoBalance_(twoBalance),
          screen_(screen),
          keys_(keys) {}

    // Run and stop write "< RUN >" and "< STOP >" to the event log.
    void run();      // "執行": run
    void runAll();   // menu RUN: run with the full timer table
    void stopJob();  // "停止": stop and throw the job's progress away
    void stopAll();  // menu STOP: as Command8 plus the further resets
    // Every run sequence, station and wash back to idle with the outputs off
    // (the stop buttons, and the closing of the main screen).
    void stop();

    void pollF1();      // F1: the single-dispensing form, once per press
    void pollIntake();  // intake poll counter (MARIGOLD)
    // The plant-database intake Timer7 runs every 11 seconds.
    void setIntake(std::function<void()> fn) { intake_ = std::move(fn); }

  private:
    void armRunTimer(bool fullTable);
    void keepStoppedJob();
    // The event-log line of a stop button: "< STOP >", with the order and
    // bucket of the job on the screen.
    void logStop();

    RunContext c_;
    JobStart& job_;
    TransferSequence& transfer_;
    TwoBalanceSequence& twoBalance_;
    MainScreen& screen_;
    KeyState& keys_;
    int pollCount_ = 0;  // Label13 shows "1" from the load until the first tick
    std::function<void()> intake_;
};

// Arms the run timer of machine type `type` (the one-balance run for types
// 1, 3 and 4, the two-balance run for types 2 and 5) and disarms the other; false, with both left
// alone, for any other type.
bool armRunTimerOfType(MachineTimers& t, int type);

}  // namespace dye
