#pragma once

#include <array>

#include "run/RunContext.h"

namespace dye {

struct JobRecord;

// The job start (JobStartTimer, Form3.Timer1, 1000 ms): keeps the queue
// lists current and, when the machine is free, takes the first job of the
// queue onto the main screen: job fields, the packed grid rows, each row's
// tube, name and balance, the profile's special registers and mix marks,
// and the "<start>" line of the event log. The job stays in the queue file
// until its run ends.
class JobStart {
  public:
    explicit JobStart(RunContext ctx) : c_(std::move(ctx)) {}

    void tick();

    // Fills the screen from `job`: the job fields, the "<start>" log line and
    // the grid rows packed with their tubes; public for the packing and
    // assignment tests.
    void load(const JobRecord& job);

    int QueueListHold = 0;  // 1: the queue lists are not refreshed (a click holds them)
    int JobLoaded = 0;      // 1 once a job was taken
    // Special codes of the TALBERT profile found in the job (1..8; 0 unused).
    std::array<int, 26> SpecialFlags{};

  private:
    bool machineFree() const;
    void assignTube(int row, const QString& code, const QString& weight);
    void markSpecialCodes(const QString& code);
    void markDyeMix(const QString& code);

    RunContext c_;
    QString lastListError_;
};

}  // namespace dye
