#pragma once

namespace dye {

struct CurrentJob;
struct Form3;
struct StationState;

// Projects the job on the machine onto the main screen: the job fields, the
// grid's rows and their shades. The one place the job's captions are
// written; nothing reads them back.
void fillJobDisplay(const CurrentJob& job, Form3& f);
// Projects what the run shows beside the job: the run indicator and its
// blinking, why the run waits, the technician view's counters, the run's face
// (options, lanes, background) and the buttons a job on the machine locks.
void fillRunDisplay(const StationState& s, Form3& f);

}  // namespace dye
