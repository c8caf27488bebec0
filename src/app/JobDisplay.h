#pragma once

namespace dye {

struct CurrentJob;
struct Form3;
struct RunDisplay;

// Projects the job on the machine onto the main screen: the job fields, the
// grid's rows and their shades. The one place the job's captions are
// written; nothing reads them back.
void fillJobDisplay(const CurrentJob& job, Form3& f);
// Projects what the run shows beside the job: the run indicator, why the run
// waits and the technician view's counters.
void fillRunDisplay(const RunDisplay& run, Form3& f);

}  // namespace dye
