#include "plant/VatIntake.h"

#include <memory>

#include "core/AnsiText.h"
#include "core/OleDate.h"
#include "files/settings/MachineSettings.h"
#include "plant/ClaimQueue.h"
#include "plant/ClaimSettle.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantLineCheck.h"
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
    return column >= 0 && column < row.size() ? row[column].toString().trimmed() : QString();
}

}  // namespace

bool fitsField(const QString& text, int width) {
    const QByteArray bytes = AnsiCodePage::encode(text);
    return bytes.size() <= width && AnsiCodePage::decode(bytes) == text;
}

namespace {

// The columns of the detail query: the b.* columns of the line (code 6,
// weight 8), then the a.* columns of its batch head from kHeadFirst on (the
// head's batch at 13).
constexpr int kCodeColumn = 6;
constexpr int kWeightColumn = 8;
constexpr int kHeadFirst = 10;
constexpr int kHeadBatchColumn = 13;

QString vatKey(const VatClaim& c) {
    return c.vat + u'\x1f' + c.batch + u'\x1f' + c.intr;
}

// Why the vat's values cannot be the job's tags ("" when they can).
QString tagProblem(const VatClaim& c) {
    const int w = JobRecord::kWeightWidth;  // the tags are 10 bytes wide, as the weights
    if (c.vat.isEmpty() || c.batch.isEmpty() || c.intr.isEmpty() || !fitsField(c.vat, w) ||
        !fitsField(c.batch, w) || !fitsField(c.intr, w) || !fitsField(c.vzt, w))
        return QStringLiteral(
                   "<intake> vat \"%1\" batch \"%2\" introduction \"%3\" refused: empty, too "
                   "long or not in the code page")
            .arg(c.vat, c.batch, c.intr);
    return {};
}

// The vat's own lines, each once. `containing` also finds other batches
// ("B1" in "B12") and ignores case, and the join repeats a line for every
// head of its batch (a batch listed for two vats): only the lines of exactly
// this batch and introduction under the first head of this vat are taken.
QList<QVariantList> vatLines(const VatClaim& c, const PlantResult& lines, PlantSession& session) {
    const int batchColumn = int(lines.columns.indexOf(QStringLiteral("Batch")));
    const int intrColumn = int(lines.columns.indexOf(QStringLiteral("Introduction")));
    const int vatColumn = int(lines.columns.lastIndexOf(QStringLiteral("Vat")));
    const bool headHasVat = vatColumn >= kHeadFirst;
    QList<QVariantList> taken;
    QVariantList head;
    bool otherHead = false;
    for (const QVariantList& row : lines.rows) {
        if (cell(row, batchColumn) != c.batch || cell(row, intrColumn) != c.intr ||
            cell(row, kHeadBatchColumn) != c.batch) {
            session.lines << QStringLiteral(
                                 "<intake> line of batch \"%1\" introduction \"%2\" "
                                 "left out: not vat %3's")
                                 .arg(cell(row, batchColumn), cell(row, intrColumn), c.vat);
            continue;
        }
        if (headHasVat && cell(row, vatColumn) != c.vat) continue;  // another vat's head
        const QVariantList rowHead = row.mid(kHeadFirst);
        if (head.isEmpty()) head = rowHead;
        if (rowHead == head)
            taken << row;
        else
            otherHead = true;
    }
    if (otherHead)
        session.lines << QStringLiteral(
                             "<intake> batch %1 has more than one head for vat %2: its lines are "
                             "taken once, under the first")
                             .arg(c.batch, c.vat);
    return taken;
}

// Why one of the lines cannot be dosed ("" when all can).
QString linesProblem(const QList<QVariantList>& lines, const MachineSettings& settings) {
    for (int n = 0; n < lines.size(); ++n)
        if (QString why = plantLineProblem(n + 1, cell(lines[n], kCodeColumn),
                                           cell(lines[n], kWeightColumn), settings);
            !why.isEmpty())
            return why;
    return {};
}

}  // namespace

void VatIntake::claim(PlantSession& session, VatClaim& out, double queuedAt,
                      const MachineSettings& settings, const RefusedVats& before,
                      const PlantClaims* claims) {
    const PlantResult waiting = session.exec(PlantStatement{kWaiting, {}});
    if (!waiting.ok) {
        out.refused = before;  // nothing was looked at
        return;
    }
    // Refusals stand while their vat waits; a vat looked at again is judged anew.
    QList<VatClaim> vats;
    for (const QVariantList& row : waiting.rows) {
        VatClaim c;
        c.vat = cell(row, 0), c.batch = cell(row, 1), c.intr = cell(row, 2), c.vzt = cell(row, 3);
        vats << c;
        if (before.contains(vatKey(c))) out.refused.insert(vatKey(c), before.value(vatKey(c)));
    }
    QList<QVariantList> taken;
    for (const VatClaim& c : vats) {
        const QString key = vatKey(c);
        out.refused.remove(key);
        const qsizetype said = session.lines.size();
        QString why = tagProblem(c);
        if (why.isEmpty()) {
            const PlantResult lines =
                session.exec(PlantStatement{kLines, {c.batch, c.intr, QStringLiteral("cc")}});
            if (!lines.ok) {
                if (before.contains(key)) out.refused.insert(key, before.value(key));
                return;
            }
            taken = vatLines(c, lines, session);
            if (const QString line = linesProblem(taken, settings); !line.isEmpty())
                why = QStringLiteral(
                          "<intake> vat %1 (batch %2, introduction %3) not taken: %4; it waits "
                          "until the plant corrects it")
                          .arg(c.vat, c.batch, c.intr, line);
        }
        if (why.isEmpty()) {
            out.vat = c.vat, out.batch = c.batch, out.intr = c.intr, out.vzt = c.vzt;
            break;
        }
        out.refused.insert(key, why);
        if (before.value(key) == why)
            session.lines.resize(said);  // said already: not at every poll
        else
            session.lines << why;
    }
    if (out.vat.isEmpty()) return;
    session.lines << QStringLiteral("%1===%2===%3===%4").arg(out.vat, out.batch, out.intr, out.vzt);
    if (taken.isEmpty()) {
        session.lines << QStringLiteral("<<select cc or gr>>123");
        session.exec(mark(out, 1, 3));
        return;
    }
    QList<JobRecord> jobs;
    for (qsizetype first = 0; first < taken.size(); first += JobRecord::kLines) {
        JobRecord job;
        job.OrderNo = cell(taken[first], kHeadBatchColumn);
        job.BucketNo = out.vat;
        // The jobs of one vat are queued a second apart, so that each is told
        // from the others (its record, its journal after a kill).
        job.QueuedAt = queuedAt + double(first / JobRecord::kLines) / 86400.0;
        job.Tag1 = out.vat, job.Tag2 = out.batch, job.Tag3 = out.intr;
        const bool more = first + JobRecord::kLines < taken.size();
        job.Tag4 = more ? continued() : out.vzt;
        for (int n = 0; n < JobRecord::kLines && first + n < taken.size(); ++n) {
            job.Code[size_t(n)] = cell(taken[first + n], kCodeColumn);
            job.Weight[size_t(n)] = cell(taken[first + n], kWeightColumn);
        }
        jobs << job;
    }
    // The entry first, then the claim: only the station whose update changed
    // the row queues it.
    const PlantClaim entry{
        PlantClaim::newId(), PlantClaim::Kind::Vat, {out.vat, out.batch, out.intr}, jobs};
    QString error;
    if (claims && !claims->add(entry, &error)) {
        session.lines << QStringLiteral(
                             "<intake> vat %1 not claimed: its claim cannot be kept (%2)")
                             .arg(out.vat, error);
        return;
    }
    const PlantResult claimed = session.exec(mark(out, 1, 2));
    if (!claimed.ok || claimed.rowsAffected < 1) {
        session.lines << QStringLiteral(
                             "<intake> vat %1 was not claimed: another station took "
                             "it or the database refused")
                             .arg(out.vat);
        if (claims && !claims->drop(entry.id, &error))
            session.lines << QStringLiteral("<intake> %1 stays in %2: %3")
                                 .arg(entry.shown(), QLatin1String(PlantClaims::kFileName), error);
        return;
    }
    out.claimed = true;
    out.entry = entry;
    out.jobs = jobs;
}

void VatIntake::run() {
    if (busy_) return;  // at most one intake in flight
    busy_ = true;
    // Claims left over are settled before any vat is looked at.
    if (!PlantClaims(plant_.workdir()).read().isEmpty()) {
        settleClaims(plant_, [this] { busy_ = false; });
        return;
    }
    plant_.log(QStringLiteral("<start>>>>>"));
    auto result = std::make_shared<VatClaim>();
    const double queuedAt = toOleDate(plant_.now());
    // The worker judges the lines by a copy of the settings of this moment.
    auto settings = std::make_shared<const MachineSettings>(plant_.settings());
    const PlantClaims claims(plant_.workdir());
    plant_.database().submit(
        plant_.source(),
        [result, queuedAt, settings, before = refused_, claims](PlantSession& session) {
            claim(session, *result, queuedAt, *settings, before, &claims);
        },
        [this, result](const PlantSession&) {
            busy_ = false;
            refused_ = result->refused;
            emptyPolls_ = result->vat.isEmpty() ? emptyPolls_ + 1 : 0;
            if (result->claimed) queue(*result);
        });
}

// Nothing of a vat that cannot be queued whole is queued: it goes back to
// waiting (VZT 2 -> 1).
void VatIntake::queue(const VatClaim& claim) {
    if (queueClaim(plant_, claim.entry, claim.jobs))
        for (const JobRecord& job : claim.jobs)
            plant_.log(QStringLiteral("  save  ") + job.OrderNo);
    plant_.log(QStringLiteral("<end>>>>>"));
}

}  // namespace dye
