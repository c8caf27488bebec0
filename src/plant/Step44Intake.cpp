#include "plant/Step44Intake.h"

#include <memory>

#include "core/OleDate.h"
#include "files/settings/MachineSettings.h"
#include "plant/ClaimQueue.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantLineCheck.h"
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
// The rows of an order marked while the plant changed them wait again.
const QString kMarkAllBack = QStringLiteral(
    "UPDATE chainlih SET STEP_NO = 44 where step_no = 45 and ID_NO = ? and PROD_TYPE = 2 and "
    "note2 = ?");

// The category as the runtime writes a number: a leading blank for a positive one.
QString categoryText(int category) {
    return u' ' + QString::number(category);
}

// The weight as the runtime writes a number (a leading blank for a positive
// one); a NULL stays blank and a text stays as it is, for the line check.
QString weightText(const QVariant& wt) {
    if (wt.isNull()) return {};
    if (wt.typeId() == QMetaType::QString) return wt.toString().trimmed();
    const double v = wt.toDouble();
    const QString text = QString::number(v, 'g', 15);
    return v > 0 ? u' ' + text : text;
}

}  // namespace

void Step44Intake::take(PlantSession& session, const QString& identifier, int category,
                        double queuedAt, const MachineSettings& settings, Taken& out,
                        const std::function<void()>& afterRead, const PlantClaims* claims) {
    const QVariantList where{identifier, QString::number(category)};
    const PlantResult rows = session.exec(PlantStatement{kRows, where});
    if (!rows.ok || rows.rows.isEmpty()) return;
    out.found = true;
    QList<JobRecord> jobs;
    for (int r = 0; r < rows.rows.size(); ++r) {
        const QString code = rows.value(r, QStringLiteral("PROD_CODE")).toString().trimmed();
        const QString weight = weightText(rows.value(r, QStringLiteral("WT")));
        if (const QString why = plantLineProblem(r + 1, code, weight, settings); !why.isEmpty()) {
            session.lines << QStringLiteral(
                                 "<intake> order %1 category %2 not taken: %3; its rows stay "
                                 "at step 44")
                                 .arg(identifier, QString::number(category), why);
            return;
        }
        const int slot = r % JobRecord::kLines;
        if (slot == 0) {
            JobRecord job;
            job.OrderNo = rows.value(r, QStringLiteral("ID_NO")).toString().trimmed();
            job.BucketNo = rows.value(r, QStringLiteral("MACHINE_NO")).toString().trimmed();
            // The jobs of one order a second apart: each is told from the others.
            job.QueuedAt = queuedAt + double(r / JobRecord::kLines) / 86400.0;
            job.Tag1 = categoryText(category);
            jobs << job;
        }
        jobs.last().Code[size_t(slot)] = code;
        jobs.last().Weight[size_t(slot)] = weight;
    }
    if (afterRead) afterRead();
    const PlantClaim entry{PlantClaim::newId(),
                           PlantClaim::Kind::Step44,
                           {identifier, QString::number(category)},
                           jobs};
    QString error;
    if (claims && !claims->add(entry, &error)) {
        session.lines << QStringLiteral(
                             "<intake> order %1 not taken: its claim cannot be kept (%2)")
                             .arg(identifier, error);
        return;
    }
    const PlantResult marked = session.exec(PlantStatement{kMark, where});
    if (!marked.ok) {
        session.lines
            << QStringLiteral("<intake> order %1 not marked taken: nothing queued").arg(identifier);
        if (claims) claims->drop(entry.id);
        return;
    }
    if (marked.rowsAffected != rows.rows.size()) {
        // The plant added or changed rows between the read and the mark.
        const PlantResult back = session.exec(PlantStatement{kMarkAllBack, where});
        session.lines << QStringLiteral(
                             "<intake> order %1: %2 rows read, %3 marked; the rows changed "
                             "meanwhile: nothing queued, %4; enter the order again")
                             .arg(identifier, QString::number(rows.rows.size()),
                                  QString::number(marked.rowsAffected),
                                  back.ok ? QStringLiteral("the rows are marked back to step 44")
                                          : QStringLiteral("the rows could NOT be marked back "
                                                           "to step 44: set them back by hand"));
        if (claims && !claims->drop(entry.id, &error))
            session.lines << QStringLiteral("<intake> %1 stays in %2: %3")
                                 .arg(entry.shown(), QLatin1String(PlantClaims::kFileName), error);
        return;
    }
    out.jobs = jobs;
    out.entry = entry;
}

void Step44Intake::run(const QString& identifier, int category,
                       std::function<void(bool found)> done) {
    if (busy_) return;
    busy_ = true;
    auto taken = std::make_shared<Taken>();
    const double queuedAt = toOleDate(plant_.now());
    auto settings = std::make_shared<const MachineSettings>(plant_.settings());
    const PlantClaims claims(plant_.workdir());
    plant_.database().submit(
        plant_.source(),
        [=](PlantSession& session) {
            take(session, identifier, category, queuedAt, *settings, *taken, {}, &claims);
        },
        [this, taken, done](const PlantSession&) {
            busy_ = false;
            // The order's jobs go into the queue together or not at all.
            if (!taken->jobs.isEmpty()) queueClaim(plant_, taken->entry, taken->jobs);
            if (done) done(taken->found);
        });
}

}  // namespace dye
