#pragma once

#include <QDateTime>
#include <QDir>
#include <QString>

#include <functional>

#include "files/language/Wording.h"

namespace dye {

class BucketTransport;
class Dialogs;
class LangText;
class PlantWriteBack;
struct StationState;

// What the run's sequences and handlers work with: the shared state, the
// dialogs, the working directory, the clock, the event log, the language
// table and the plant database's write-back.
struct RunContext {
    StationState& state;
    Dialogs& dialogs;
    QDir workdir;
    std::function<QDateTime()> now;
    std::function<void(const QString&)> log;  // one event-log line
    LangText& lang;
    PlantWriteBack& plant;
    std::function<void()> clearWashClock;  // the wash timer back to 0
    std::function<void()> resetWash;       // the washing sequence back to idle
    BucketTransport& transport;            // gantry and conveyor moves

    // Language text k of the current language (settings field 9).
    QString text(int k) const;
    // The station's own wording in the current language.
    QString say(const Wording& w) const;
};

}  // namespace dye
