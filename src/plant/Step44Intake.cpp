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
            job.QueuedAt = queuedAt;
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
        [this, taken, done, identifier](const PlantSession&) {
            busy_ = false;
            JobFile queue = jobQueueFile(QDir(plant_.workdirPath(QStringLiteral("."))));
            for (const JobRecord& job : taken->jobs)
                if (!queue.append(job))
                    plant_.log(QStringLiteral("<intake> order %1 marked taken but not queued: %2")
                                   .arg(identifier, queue.errorString()));
            if (!taken->jobs.isEmpty()) plant_.queueChanged();
            if (done) done(taken->found);
        });
}

}  // namespace dye
