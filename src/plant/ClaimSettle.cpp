#include "plant/ClaimSettle.h"

#include <QFile>

#include <memory>

#include "core/AnsiText.h"
#include "files/jobs/JobFile.h"
#include "files/records/DailyRecordFile.h"
#include "plant/ClaimQueue.h"
#include "plant/PlantClaims.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantService.h"
#include "plant/PlantSession.h"
#include "plant/PlantSource.h"

namespace dye {

namespace {

enum class Mark { Unknown, Stands, Gone };

const QString kVatState =
    QStringLiteral("select VZT from \"SPTR_ZJCL\" where BATCH=? and VAT=? and INTR=?");
const QString kStep44State = QStringLiteral(
    "select count(*) from chainlih where step_no = 45 and ID_NO = ? and PROD_TYPE = 2 and "
    "note2 = ?");

bool sameJob(const QString& order, const QString& bucket, double queuedAt, const JobRecord& job) {
    return order == job.OrderNo && bucket == job.BucketNo && sameQueuedAt(queuedAt, job.QueuedAt);
}

// The claim's jobs that are neither in the queue nor recorded (this month or
// the last).
QList<JobRecord> missingJobs(PlantService& plant, const PlantClaim& claim) {
    const QDir& workdir = plant.workdir();
    const QList<JobRecord> queue = jobQueueFile(workdir).records();
    QList<DailyRecord> records;
    const QDate today = plant.now().date();
    for (const QDate month : {today.addMonths(-1), today}) {
        QList<DailyRecord> more;
        if (readDailyRecords(dailyRecordPath(workdir, month), more)) records << more;
    }
    QList<JobRecord> missing;
    for (const JobRecord& job : claim.jobs) {
        const bool queued = std::any_of(queue.begin(), queue.end(), [&](const JobRecord& q) {
            return sameJob(q.OrderNo, q.BucketNo, q.QueuedAt, job);
        });
        const bool recorded =
            std::any_of(records.begin(), records.end(), [&](const DailyRecord& r) {
                return sameJob(r.OrderNo.trimmed(), r.BucketNo.trimmed(), r.QueuedAt, job);
            });
        if (!queued && !recorded) missing << job;
    }
    return missing;
}

// Whether the drop record of `claim` is still marked taken.
Mark dropMark(const PlantClaim& claim) {
    QFile f(claim.keys.value(0));
    const qint64 at = claim.keys.value(1).toLongLong() * 932;
    if (!f.open(QIODevice::ReadOnly) || !f.seek(at)) return Mark::Unknown;
    const QByteArray record = f.read(932);
    if (record.size() != 932) return Mark::Gone;
    return getField(record, 0, 30) == claim.keys.value(2) &&
                   getField(record, 36, 6) == QStringLiteral("A_OK")
               ? Mark::Stands
               : Mark::Gone;
}

Mark databaseMark(PlantSession& session, const PlantClaim& claim) {
    if (claim.kind == PlantClaim::Kind::Vat) {
        const PlantResult r = session.exec(PlantStatement{
            kVatState, {claim.keys.value(1), claim.keys.value(0), claim.keys.value(2)}});
        if (!r.ok) return Mark::Unknown;
        for (const QVariantList& row : r.rows)
            if (row.value(0).toInt() == 2) return Mark::Stands;
        return Mark::Gone;
    }
    const PlantResult r =
        session.exec(PlantStatement{kStep44State, {claim.keys.value(0), claim.keys.value(1)}});
    if (!r.ok || r.rows.isEmpty()) return Mark::Unknown;
    return r.rows[0].value(0).toInt() > 0 ? Mark::Stands : Mark::Gone;
}

void settle(PlantService& plant, const PlantClaim& claim, Mark mark) {
    const QList<JobRecord> missing = missingJobs(plant, claim);
    if (missing.size() < claim.jobs.size()) mark = Mark::Stands;  // some of it is queued
    if (missing.isEmpty()) {
        dropClaim(plant, claim);
        return;
    }
    switch (mark) {
        case Mark::Stands:
            plant.log(QStringLiteral("<intake> %1 was marked taken when the station stopped and "
                                     "%2 of its %3 job(s) were not queued: they are queued now")
                          .arg(claim.shown())
                          .arg(missing.size())
                          .arg(claim.jobs.size()));
            queueClaim(plant, claim, missing);
            return;
        case Mark::Gone: {
            plant.log(QStringLiteral("<intake> %1 was not marked taken when the station stopped: "
                                     "nothing is queued for it")
                          .arg(claim.shown()));
            dropClaim(plant, claim);
            return;
        }
        case Mark::Unknown:
            plant.log(QStringLiteral("<intake> %1 cannot be looked up now: it is settled before "
                                     "the next poll or at the next start")
                          .arg(claim.shown()));
            return;
    }
}

}  // namespace

void settleClaims(PlantService& plant, std::function<void()> done) {
    QString error;
    const QList<PlantClaim> left = PlantClaims(plant.workdir()).read(&error);
    if (!error.isEmpty()) {
        plant.log(QStringLiteral("<intake> %1: the claims in it are not settled").arg(error));
        if (done) done();
        return;
    }
    QList<PlantClaim> asked;  // looked up in the database
    for (const PlantClaim& claim : left) {
        if (claim.kind == PlantClaim::Kind::Drop)
            settle(plant, claim, dropMark(claim));
        else if (missingJobs(plant, claim).size() < claim.jobs.size())
            settle(plant, claim, Mark::Stands);
        else
            asked << claim;
    }
    if (asked.isEmpty()) {
        if (done) done();
        return;
    }
    auto marks = std::make_shared<QList<Mark>>();
    plant.database().submit(
        plant.source(),
        [asked, marks](PlantSession& session) {
            for (const PlantClaim& claim : asked)
                *marks << (session.opened() ? databaseMark(session, claim) : Mark::Unknown);
        },
        [&plant, asked, marks, done](const PlantSession&) {
            for (qsizetype k = 0; k < asked.size(); ++k) settle(plant, asked[k], marks->value(k));
            if (done) done();
        });
}

}  // namespace dye
