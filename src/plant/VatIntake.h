#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include "files/jobs/JobRecord.h"
#include "plant/PlantClaims.h"

namespace dye {

class MachineSettings;
class PlantService;
class PlantSession;

// Refused vats, by vat, batch and introduction, with the message that said
// why: a vat is logged again only when its message changes.
using RefusedVats = QHash<QString, QString>;

// What the vat list gave: the vat claimed (VZT 1 -> 2) and its jobs, or
// nothing; and the refusals that stand after this poll.
struct VatClaim {
    QString vat, batch, intr, vzt;
    QList<JobRecord> jobs;  // ten lines each; a continuation shares order, bucket and tags
    bool claimed = false;
    PlantClaim entry;  // its entry in the claims file
    RefusedVats refused;
};

// The MARIGOLD vat-list intake, every 11 s on the main screen's intake
// timer. On the worker: the first waiting vat whose values fit the job's
// fields and whose lines (unit "cc", exactly its batch, introduction and
// vat, each once) the machine can dose, and the claim of its row (an update
// that must change one row) before anything is queued, so two stations
// never take the same vat; the claim's entry is written to the claims file
// before the update, so a close or a kill before the jobs are queued loses
// nothing. A vat refused is left waiting, said once, and
// the vats behind it are looked at. A vat without lines is closed (VZT 3).
// Back on the station's thread the jobs are queued; a vat whose jobs cannot
// be queued is given back (VZT 2 -> 1).
class VatIntake {
  public:
    explicit VatIntake(PlantService& plant) : plant_(plant) {}

    void run();
    bool busy() const { return busy_; }
    // Polls since the last vat was handled that found none waiting.
    int emptyPolls() const { return emptyPolls_; }

    // The marker in Tag4 of a job whose vat has more lines in the next job:
    // the vat is closed after its last job only.
    static QString continued() { return QStringLiteral("+"); }
    // The database work, on the worker (public for the tests of the claim).
    // `settings` are the machine's (valve codes); `before` the refusals said;
    // `claims` the claims file (none: no entry is written).
    static void claim(PlantSession& session, VatClaim& out, double queuedAt,
                      const MachineSettings& settings, const RefusedVats& before = {},
                      const PlantClaims* claims = nullptr);

  private:
    void queue(const VatClaim& claim);

    PlantService& plant_;
    bool busy_ = false;
    int emptyPolls_ = 0;
    RefusedVats refused_;
};

// Whether `text` is kept as it is in a fixed field of `width` bytes.
bool fitsField(const QString& text, int width);

}  // namespace dye
