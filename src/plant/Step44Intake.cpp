#include "plant/Step44Intake.h"

#include <memory>

#include "core/OleDate.h"
#include "jobs/JobFile.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantService.h"
#include "plant/PlantSession.h"
#include "plant/PlantSource.h"

namespace dye {

namespace {

const QString kRows = QStringLiteral(
    "select * from chainlih where step_no = 44 and ID_NO = ? and PROD_TYPE = 2 and note2 = ?");
const QString kMark = QStringLiteral(
    "UPDATE chainlih SET STEP_NO = 45 where step_no = 44 and ID_NO = ? and PROD_TYPE = 2 and "
    "note2 = ?");
// A line marked taken whose job could not be queued waits again.
const QString kMarkBack = QStringLiteral(
    "UPDATE chainlih SET STEP_NO = 44 where step_no = 45 and ID_NO = ? and PROD_TYPE = 2 and "
    "note2 = ? and PROD_CODE = ?");

// The category as the runtime writes a number: a leading blank for a positive one.
QString categoryText(int category) {
    return u' ' + QString::number(category);
}

}  // namespace

void Step44Intake::take(PlantSession& session, const QString& identifier, int category,
                        double queuedAt, Taken& out) {
    const QVariantList where{identifier, QString::number(category)};
    const PlantResult rows = session.exec(PlantStatement{kRows, where});
    if (!rows.ok || rows.rows.isEmpty()) return;
    const PlantResult marked = session.exec(PlantStatement{kMark, where});
    if (!marked.ok || marked.rowsAffected != rows.rows.size()) {
        session.lines << QStringLiteral(
                             "<intake> order %1: %2 rows read, %3 marked; another "
                             "station took them: nothing queued")
                             .arg(identifier)
                             .arg(rows.rows.size())
                             .arg(marked.rowsAffected);
        return;
    }
    out.found = true;
    for (int r = 0; r < rows.rows.size(); ++r) {
        const int slot = r % JobRecord::kLines;
        if (slot == 0) {
            JobRecord job;
            job.OrderNo = rows.value(r, QStringLiteral("ID_NO")).toString().trimmed();
            job.BucketNo = rows.value(r, QStringLiteral("MACHINE_NO")).toString().trimmed();
            // The jobs of one order a second apart: each is told from the others.
            job.QueuedAt = queuedAt + double(r / JobRecord::kLines) / 86400.0;
            job.Tag1 = categoryText(category);
            out.jobs << job;
        }
        JobRecord& job = out.jobs.last();
        job.Code[size_t(slot)] = rows.value(r, QStringLiteral("PROD_CODE")).toString().trimmed();
        job.Weight[size_t(slot)] =
            u' ' + QString::number(rows.value(r, QStringLiteral("WT")).toDouble());
    }
}

void Step44Intake::run(const QString& identifier, int category,
                       std::function<void(bool found)> done) {
    if (busy_) return;
    busy_ = true;
    auto taken = std::make_shared<Taken>();
    const double queuedAt = toOleDate(plant_.now());
    plant_.database().submit(
        plant_.source(),
        [=](PlantSession& session) { take(session, identifier, category, queuedAt, *taken); },
        [this, taken, done, identifier, category](const PlantSession&) {
            busy_ = false;
            if (!queue(taken->jobs)) markBack(identifier, category, taken->jobs);
            if (!taken->jobs.isEmpty()) plant_.queueChanged();
            if (done) done(taken->found);
        });
}

// The order's jobs go into the queue together or not at all: when one cannot
// be appended, those appended before it are taken out again.
bool Step44Intake::queue(const QList<JobRecord>& jobs) {
    JobFile file = jobQueueFile(QDir(plant_.workdirPath(QStringLiteral("."))));
    const int before = jobs.isEmpty() ? 0 : file.count();
    int appended = 0;
    for (const JobRecord& job : jobs) {
        if (!file.append(job)) break;
        ++appended;
    }
    if (appended == jobs.size()) return true;
    const QString order = jobs.first().OrderNo;
    const QString why = file.errorString();
    for (int n = before + appended; n > before; --n) {
        if (file.remove(n)) continue;
        plant_.log(QStringLiteral("<intake> order %1 only partly queued (%2) and its jobs could "
                                  "not be taken out again (%3): its lines stay marked taken")
                       .arg(order, why, file.errorString()));
        return true;
    }
    plant_.log(QStringLiteral("<intake> order %1 marked taken but not queued (%2): its lines are "
                              "marked back to step 44")
                   .arg(order, why));
    return false;
}

void Step44Intake::markBack(const QString& identifier, int category, const QList<JobRecord>& jobs) {
    QList<PlantStatement> back;
    QStringList codes;
    for (const JobRecord& job : jobs)
        for (const QString& code : job.Code)
            if (!code.isEmpty() && !codes.contains(code)) codes << code;
    for (const QString& code : codes)
        back << PlantStatement{kMarkBack, {identifier, QString::number(category), code}};
    plant_.database().submit(
        plant_.source(),
        [back](PlantSession& session) {
            for (const PlantStatement& s : back) session.exec(s);
        },
        nullptr);
}

}  // namespace dye
