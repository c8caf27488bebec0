#pragma once

#include <QLockFile>
#include <QString>

namespace dye {

inline constexpr char kStationLockFileName[] = "dyestation.lock";

// One station per working directory: the lock file `dyestation.lock` holds
// the running station's process id, program and host. A lock whose process
// is gone (a killed station) is taken over; a lock is never taken over for
// its age alone, so a station that runs for days keeps its folder.
class StationLock {
  public:
    explicit StationLock(const QString& workdir);

    // True when this program now holds the folder, or when the lock file
    // cannot be made at all (a folder the station cannot write to: that is
    // reported where the station writes its files). False when another
    // station holds it; refusal() then names that station.
    bool take();
    // Why the folder was not taken, naming the running station; "" if it was.
    const QString& refusal() const { return refusal_; }
    // Why the folder could not be locked although no station holds it (""
    // when it was locked or refused).
    const QString& warning() const { return warning_; }

  private:
    QString path_;
    QLockFile lock_;
    QString refusal_;
    QString warning_;
};

}  // namespace dye
