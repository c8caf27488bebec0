#pragma once

#include <array>

#include "core/FileStamp.h"
#include "run/JobJournal.h"
#include "run/QueueGuard.h"
#include "run/RunContext.h"
#include "station/CurrentJob.h"

namespace dye {

struct JobRecord;

// The job start (JobStartTimer, Form3.Timer1, 1000 ms): keeps the queue
// lists current and, when the machine is free, takes the first job of the
// queue onto the main screen: job fields, the packed grid rows, each row's
// tube, name and balance, the profile's special registers and mix marks,
// and the "<start>" line of the event log. The job stays in the queue file
// until its run ends. What cannot be taken (a queue that is not a file, a
// partial or undispensable record) is kept out by the queue guard.
class JobStart {
  public:
    explicit JobStart(RunContext ctx) : c_(ctx), guard_(std::move(ctx)) {}

    void tick();
    // Why no job can be taken from the queue ("" when one can).
    QString queueBlocked() const { return guard_.blockedReason(); }

    // Puts `record` on the machine: the job fields, the "<start>" log line
    // and the rows packed with their tubes; public for the packing and
    // assignment tests.
    void load(const JobRecord& record);

    int QueueListHold = 0;  // 1: the queue lists are not refreshed (a click holds them)
    int JobLoaded = 0;      // 1 once a job was taken

  private:
    bool machineFree() const;
    void assignTube(JobRow& row);
    void markSpecialCodes(const QString& code);
    void markDyeMix(const QString& code);

    RunContext c_;
    QueueGuard guard_;
    QString lastListError_;
    FileStamp listedQueue_;  // the queue file as the lists last showed it
};

}  // namespace dye
