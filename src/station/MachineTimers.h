#pragma once

namespace dye {

class Timer;

// The station's timers, registered by the station on its scheduler (their
// scheduler names in brackets). Sequences and handlers arm and stop them
// here; the screen models hold none.
struct MachineTimers {
    Timer* scan = nullptr;             // [Form2.Timer1] one request and answer per pass
    Timer* metering = nullptr;         // [Form2.Timer2] both metering stations
    Timer* homing = nullptr;           // [Form2.Timer3] the axis-homing routine
    Timer* wash = nullptr;             // [Form2.Timer4] bucket wash
    Timer* programEnd = nullptr;       // [Form2.Timer5] the program's end
    Timer* jobStart = nullptr;         // [Form3.Timer1] takes the next job, 1000 ms
    Timer* oneBalanceRun = nullptr;    // [Form3.Timer2] one-balance sequence, 500 ms
    Timer* twoBalanceRun = nullptr;    // [Form3.Timer3] two-balance sequence, 500 ms
    Timer* status = nullptr;           // [Form3.Timer4] plant status and mixers, 3000 ms
    Timer* hotKeys = nullptr;          // [Form3.Timer5] F1 and the run's keys, 100 ms
    Timer* pictures = nullptr;         // [Form3.Timer6] machine pictures, 100 ms
    Timer* intake = nullptr;           // [Form3.Timer7] plant-database intake poll, 1000 ms
    Timer* identifierClear = nullptr;  // [Form6.Timer1] empties the identifier box once
    Timer* categoryWait = nullptr;     // [Form6.Timer2] waits for the category choice
};

}  // namespace dye
