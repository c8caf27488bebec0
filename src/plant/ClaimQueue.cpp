#include "plant/ClaimQueue.h"

#include <QFile>

#include "core/FileSync.h"
#include "files/jobs/JobFile.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantService.h"
#include "plant/PlantSession.h"
#include "plant/PlantSource.h"

namespace dye {

namespace {

constexpr int kDropRecordLength = 932;
constexpr int kDropStatusAt = 36;
constexpr int kDropStatusWidth = 6;

const QString kVatBack =
    QStringLiteral("update \"SPTR_ZJCL\" set VZT=1 where BATCH=? and VAT=? and VZT=2 and INTR=?");
const QString kStep44Back = QStringLiteral(
    "UPDATE chainlih SET STEP_NO = 44 where step_no = 45 and ID_NO = ? and PROD_TYPE = 2 and "
    "note2 = ? and PROD_CODE = ?");

QList<PlantStatement> markBackStatements(const PlantClaim& claim) {
    QList<PlantStatement> back;
    if (claim.kind == PlantClaim::Kind::Vat) {
        back << PlantStatement{kVatBack,
                               {claim.keys.value(1), claim.keys.value(0), claim.keys.value(2)}};
        return back;
    }
    QStringList codes;
    for (const JobRecord& job : claim.jobs)
        for (const QString& code : job.Code)
            if (!code.isEmpty() && !codes.contains(code)) codes << code;
    for (const QString& code : codes)
        back << PlantStatement{kStep44Back, {claim.keys.value(0), claim.keys.value(1), code}};
    return back;
}

// Takes the claim's mark back; its entry goes once that is done.
void markBack(PlantService& plant, const PlantClaim& claim) {
    if (claim.kind == PlantClaim::Kind::Drop) {
        QString error;
        if (writeDropStatus(claim.keys.value(0), claim.keys.value(1).toLongLong(),
                            claim.keys.value(3).toLatin1(), &error))
            dropClaim(plant, claim);
        else
            plant.log(QStringLiteral("<intake> %1 is not marked back (%2): the next start tries "
                                     "again")
                          .arg(claim.shown(), error));
        return;
    }
    const QList<PlantStatement> back = markBackStatements(claim);
    auto allDone = std::make_shared<bool>(false);
    plant.database().submit(
        plant.source(),
        [back, allDone](PlantSession& session) {
            bool ok = session.opened();
            for (const PlantStatement& s : back) ok = session.exec(s).ok && ok;
            *allDone = ok;
        },
        [&plant, claim, allDone](const PlantSession&) {
            if (*allDone)
                dropClaim(plant, claim);
            else
                plant.log(QStringLiteral("<intake> %1 is not marked back: the next start tries "
                                         "again")
                              .arg(claim.shown()));
        });
}

}  // namespace

void dropClaim(PlantService& plant, const PlantClaim& claim) {
    QString error;
    if (!PlantClaims(plant.workdir()).drop(claim.id, &error))
        plant.log(QStringLiteral("<intake> the claim of %1 stays in %2 (%3): the next start "
                                 "settles it")
                      .arg(claim.shown(), QLatin1String(PlantClaims::kFileName), error));
}

int appendAllOrNone(const QDir& workdir, const QList<JobRecord>& jobs, QString* error) {
    JobFile file = jobQueueFile(workdir);
    const int before = jobs.isEmpty() ? 0 : file.count();
    int appended = 0;
    for (const JobRecord& job : jobs) {
        if (!file.append(job)) break;
        ++appended;
    }
    if (appended == jobs.size()) return appended;
    if (error) *error = file.errorString();
    for (int n = before + appended; n > before; --n, --appended)
        if (!file.remove(n)) {
            if (error) *error += QStringLiteral("; not taken out again: ") + file.errorString();
            break;
        }
    return appended;
}

bool writeDropStatus(const QString& path, qint64 record, const QByteArray& status, QString* error) {
    QFile f(path);
    const bool ok = status.size() == kDropStatusWidth && f.open(QIODevice::ReadWrite) &&
                    record >= 0 && (record + 1) * kDropRecordLength <= f.size() &&
                    f.seek(record * kDropRecordLength + kDropStatusAt) &&
                    f.write(status) == kDropStatusWidth && syncToDisk(f);
    if (!ok && error)
        *error = f.errorString().isEmpty()
                     ? QStringLiteral("%1 has no record %2").arg(path).arg(record + 1)
                     : f.errorString();
    return ok;
}

bool queueClaim(PlantService& plant, const PlantClaim& claim, const QList<JobRecord>& jobs) {
    QString why;
    const int queued = appendAllOrNone(plant.workdir(), jobs, &why);
    if (queued > 0) plant.queueChanged();
    if (queued == jobs.size()) {
        dropClaim(plant, claim);
        return true;
    }
    if (queued > 0 || jobs.size() < claim.jobs.size()) {
        // Some of its jobs are queued: the claim stands, the rest follow.
        plant.log(QStringLiteral("<intake> %1 only partly queued (%2): the rest is queued at the "
                                 "next start")
                      .arg(claim.shown(), why));
        return false;
    }
    plant.log(QStringLiteral("<intake> %1 marked taken but not queued (%2): it is marked back")
                  .arg(claim.shown(), why));
    markBack(plant, claim);
    return false;
}

}  // namespace dye
