#include "plant/VatIntake.h"

#include <memory>

#include "core/AnsiText.h"
#include "core/OleDate.h"
#include "jobs/JobFile.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantService.h"
#include "plant/PlantSession.h"
#include "plant/PlantSource.h"

namespace dye {

namespace {

const QString kWaiting = QStringLiteral(
    "select VAT,BATCH,INTR,VZT from \"SPTR_ZJCL\" Where \"VZT\"=1 order by CAST(VID as integer)");
const QString kLines = QStringLiteral(
    "select b.*,a.* from \"SPTR_HeadToVat\" a join \"SPTR_DetailToVat\" b on "
    "b.\"Batch\"=a.\"Batch\" Where a.\"Batch\" containing ? and b.\"Introduction\" containing ? "
    "and b.\"Unit\" = ?");
const QString kMark =
    QStringLiteral("update \"SPTR_ZJCL\" set VZT=%1 where BATCH=? and VAT=? and VZT=%2 and INTR=?");

PlantStatement mark(const VatClaim& c, int from, int to) {
    return PlantStatement{kMark.arg(to).arg(from), {c.batch, c.vat, c.intr}};
}

QString cell(const QVariantList& row, int column) {
    return column < row.size() ? row[column].toString().trimmed() : QString();
}

}  // namespace

bool fitsField(const QString& text, int width) {
    const QByteArray bytes = AnsiCodePage::encode(text);
    return bytes.size() <= width && AnsiCodePage::decode(bytes) == text;
}

void VatIntake::claim(PlantSession& session, VatClaim& out, double queuedAt) {
    const PlantResult waiting = session.exec(PlantStatement{kWaiting, {}});
    if (!waiting.ok || waiting.rows.isEmpty()) return;
    // The first waiting vat whose values the job's tag fields hold as they are.
    bool found = false;
    for (const QVariantList& row : waiting.rows) {
        VatClaim c;
        c.vat = cell(row, 0), c.batch = cell(row, 1), c.intr = cell(row, 2), c.vzt = cell(row, 3);
        const int w = JobRecord::kWeightWidth;  // the tags are 10 bytes wide, as the weights
        if (c.vat.isEmpty() || c.batch.isEmpty() || c.intr.isEmpty() || !fitsField(c.vat, w) ||
            !fitsField(c.batch, w) || !fitsField(c.intr, w) || !fitsField(c.vzt, w)) {
            session.lines << QStringLiteral(
                                 "<intake> vat \"%1\" batch \"%2\" introduction "
                                 "\"%3\" refused: empty, too long or not in the "
                                 "code page")
                                 .arg(c.vat, c.batch, c.intr);
            continue;
        }
        out = c;
        found = true;
        break;
    }
    if (!found) return;
    session.lines << QStringLiteral("%1===%2===%3===%4").arg(out.vat, out.batch, out.intr, out.vzt);

    const PlantResult lines =
        session.exec(PlantStatement{kLines, {out.batch, out.intr, QStringLiteral("cc")}});
    if (!lines.ok) return;
    // `containing` also finds other batches ("B1" in "B12") and ignores case:
    // only the lines of exactly this batch and introduction are taken.
    const int batchColumn = int(lines.columns.indexOf(QStringLiteral("Batch")));
    const int intrColumn = int(lines.columns.indexOf(QStringLiteral("Introduction")));
    QList<QVariantList> taken;
    for (const QVariantList& row : lines.rows) {
        if (cell(row, batchColumn) == out.batch && cell(row, intrColumn) == out.intr)
            taken << row;
        else
            session.lines << QStringLiteral(
                                 "<intake> line of batch \"%1\" introduction \"%2\" "
                                 "left out: not vat %3's")
                                 .arg(cell(row, batchColumn), cell(row, intrColumn), out.vat);
    }
    if (taken.isEmpty()) {
        session.lines << QStringLiteral("<<select cc or gr>>123");
        session.exec(mark(out, 1, 3));
        return;
    }
    // The claim first: only the station whose update changed the row queues it.
    const PlantResult claimed = session.exec(mark(out, 1, 2));
    if (!claimed.ok || claimed.rowsAffected < 1) {
        session.lines << QStringLiteral(
                             "<intake> vat %1 was not claimed: another station took "
                             "it or the database refused")
                             .arg(out.vat);
        return;
    }
    out.claimed = true;
    for (qsizetype first = 0; first < taken.size(); first += JobRecord::kLines) {
        JobRecord job;
        job.OrderNo = cell(taken[first], 13);
        job.BucketNo = out.vat;
        // The jobs of one vat are queued a second apart, so that each is told
        // from the others (its record, its journal after a kill).
        job.QueuedAt = queuedAt + double(first / JobRecord::kLines) / 86400.0;
        job.Tag1 = out.vat, job.Tag2 = out.batch, job.Tag3 = out.intr;
        const bool more = first + JobRecord::kLines < taken.size();
        job.Tag4 = more ? continued() : out.vzt;
        for (int n = 0; n < JobRecord::kLines && first + n < taken.size(); ++n) {
            job.Code[size_t(n)] = cell(taken[first + n], 6);
            job.Weight[size_t(n)] = cell(taken[first + n], 8);
        }
        out.jobs << job;
    }
}

void VatIntake::run() {
    if (busy_) return;  // at most one intake in flight
    busy_ = true;
    plant_.log(QStringLiteral("<start>>>>>"));
    auto result = std::make_shared<VatClaim>();
    const double queuedAt = toOleDate(plant_.now());
    plant_.database().submit(
        plant_.source(),
        [result, queuedAt](PlantSession& session) { claim(session, *result, queuedAt); },
        [this, result](const PlantSession&) {
            busy_ = false;
            emptyPolls_ = result->vat.isEmpty() ? emptyPolls_ + 1 : 0;
            if (result->claimed) queue(*result);
        });
}

void VatIntake::queue(const VatClaim& claim) {
    JobFile queueFile = jobQueueFile(QDir(plant_.workdirPath(QStringLiteral("."))));
    int queued = 0;
    for (const JobRecord& job : claim.jobs) {
        if (!queueFile.append(job)) {
            plant_.log(QStringLiteral("<intake> job %1 of vat %2 not queued: %3")
                           .arg(job.OrderNo, claim.vat, queueFile.errorString()));
            break;
        }
        ++queued;
        plant_.log(QStringLiteral("  save  ") + job.OrderNo);
    }
    if (queued == 0) {
        // Nothing of it is queued: the vat goes back to waiting.
        const PlantStatement back = mark(claim, 2, 1);
        plant_.database().submit(
            plant_.source(), [back](PlantSession& session) { session.exec(back); }, nullptr);
    }
    plant_.log(QStringLiteral("<end>>>>>"));
    plant_.queueChanged();
}

}  // namespace dye
