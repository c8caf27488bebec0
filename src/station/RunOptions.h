#pragma once

namespace dye {

// The operator's options as the machine's sequences read them, taken from
// the main screen's and the settings form's check boxes at the moment of use.
struct RunOptions {
    bool waterThroughD851 = false;  // "D985": the water goes through D851, not D985
    bool identifierEntry = false;   // "AUTO IN": the identifier entry comes up
    bool mixers = false;            // "MIX ON": the status timer drives the mixers
    bool preWash = false;           // "WASH1": a wash before every job's rows
    bool removeFinished = false;    // "Finish_DEL": a finished job's recipe is removed
};

}  // namespace dye
