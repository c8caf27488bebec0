#pragma once

#include <QDateTime>
#include <QDir>
#include <QString>

#include <functional>

#include "files/settings/SiteProfile.h"
#include "plant/PlantOutbox.h"
#include "run/PlantWriteBack.h"

namespace dye {

class Dialogs;
class MachineSettings;
class PlantDatabase;
struct PlantSource;
struct StationState;

// The station's side of the plant database: the completion write-back goes
// into the outbox first and leaves it, in order, once the database has
// taken it (a TALBERT row then enters the write log); the outbox is tried
// again on every status tick while anything waits, and a line of it that
// is not a statement is set aside with a message first. Reads the profile
// and the data source at the moment of use.
class PlantService : public PlantWriteBack {
  public:
    PlantService(StationState& state, PlantDatabase& db, QDir workdir,
                 std::function<QDateTime()> now, std::function<void(const QString&)> log);

    void jobFinished(const CompletedJob& job, const QString& finishText) override;
    void twoBalanceJobFinished(const CompletedJob& job, const QString& finishText) override;

    // The main screen's test insert (Command13): after the operator confirms
    // the data source, one SPTR_ZJD row of fixed sample values; the job on
    // the machine and its record are left alone.
    void insertTestRow(Dialogs& dialogs);

    // Sends what waits in the outbox, unless a send is under way.
    void flushOutbox();
    // Something waits in the outbox (a look at its size, nothing read).
    bool outboxWaiting() const { return outbox_.hasStatements(); }

    // The profile (settings field 16, trimmed, compared exactly).
    QString profile() const;
    SiteProfile siteProfile() const;
    PlantSource source() const;
    const MachineSettings& settings() const;
    PlantDatabase& database() { return db_; }
    QString nowText() const;
    QDateTime now() const { return now_(); }
    // The queue file changed (an intake queued a job): the lists follow.
    void setQueueChanged(std::function<void()> fn) { queueChanged_ = std::move(fn); }
    void queueChanged() const {
        if (queueChanged_) queueChanged_();
    }
    QString workdirPath(const QString& name) const { return workdir_.filePath(name); }
    const QDir& workdir() const { return workdir_; }
    void log(const QString& line) const { log_(line); }

  private:
    void writeBack(const CompletedJob& job, const QString& finishText);
    void flagBucket(const CompletedJob& job);
    void writeTalbertLog(const QList<PlantStatement>& taken);
    void showWaiting(int n);  // n statements wait in the outbox

    StationState& s_;
    PlantDatabase& db_;
    QDir workdir_;
    PlantOutbox outbox_;
    std::function<QDateTime()> now_;
    std::function<void(const QString&)> log_;
    std::function<void()> queueChanged_;
    bool sending_ = false;
    QString lastFailure_;  // a retry failing the same way is not logged again
    QString setAsideFailure_;
};

}  // namespace dye
