#include "plant/WriteBackStatements.h"

#include "files/settings/SiteProfile.h"

#include <QDateTime>

#include <algorithm>

#include "run/JobCompletion.h"

namespace dye {

namespace {

const QString kDraymor = QStringLiteral(
    "UPDATE Dispensezj SET STEP_NO = 61, ACT = ?, NOTE1 = ? WHERE STEP_NO = 45 AND ID_NO = ? "
    "AND PROD_CODE = ?");
const QString kTalbert = QStringLiteral(
    "UPDATE dispense SET STEP_NO = 61, ACT = ?, NOTE1 = ? WHERE ID_NO = ? AND PROD_CODE = ?");
const QString kQuorban = QStringLiteral(
    "UPDATE chainlih SET STEP_NO = 61, ACT = ?, NOTE1 = ? WHERE STEP_NO = 45 AND ID_NO = ? AND "
    "PROD_CODE = ? and note2 = ?");
const QString kMarigoldInsert = QStringLiteral(
    "insert into \"SPTR_ZJD\" (VAT,BATCH,INTR,SJ,VBH,NXYSL,NSJSL) values (?,?,?,?,?,?,?)");
const QString kMarigoldInserted = QStringLiteral(
    "select count(*) from \"SPTR_ZJD\" where VAT=? and BATCH=? and INTR=? and SJ=? and VBH=? "
    "and NXYSL=? and NSJSL=?");
const QString kMarigoldClose =
    QStringLiteral("update \"SPTR_ZJCL\" set VZT=3 where BATCH=? and VAT=? and VZT=2 and INTR=?");

// What each kind takes, in order: n a number, s a text.
QString signatureOf(StatementKind kind) {
    switch (kind) {
        case StatementKind::DraymorRow:
        case StatementKind::TalbertRow:
            return QStringLiteral("nsss");
        case StatementKind::QuorbanRow:
            return QStringLiteral("nssss");
        case StatementKind::MarigoldInsert:
            return QStringLiteral("sssssss");
        case StatementKind::MarigoldClose:
            return QStringLiteral("sss");
        case StatementKind::Other:
            break;
    }
    return {};
}

// The three row updates: one per row with a code (and, for QUORBAN, an
// actual weight), the actual weight as a number.
void rowUpdates(SiteProfile profile, const CompletedJob& job, const QString& finishText,
                QList<PlantStatement>& out, QStringList* skipped) {
    const bool quorban = profile == SiteProfile::Quorban;
    const StatementKind kind = profile == SiteProfile::Draymor ? StatementKind::DraymorRow
                               : quorban                       ? StatementKind::QuorbanRow
                                                               : StatementKind::TalbertRow;
    for (size_t r = 0; r < job.codes.size(); ++r) {
        const QString code = job.codes[r].trimmed();
        const QString actual = job.actualWeights[r].trimmed();
        if (code.isEmpty() || (quorban && actual.isEmpty())) continue;
        double act = 0;
        if (!plantNumber(actual, &act)) {
            if (skipped)
                *skipped << QStringLiteral(
                                "<plant> %1 row %2 (%3) not written back: the actual "
                                "weight \"%4\" is not a number")
                                .arg(job.identity.order)
                                .arg(r + 1)
                                .arg(code, actual);
            continue;
        }
        PlantStatement s{completionText(kind),
                         {act, finishText.trimmed(), job.identity.order.trimmed(), code},
                         0,
                         kind};
        if (quorban) s.values << job.extras[0].trimmed();
        out << s;
    }
}

}  // namespace

QString completionText(StatementKind kind) {
    switch (kind) {
        case StatementKind::DraymorRow:
            return kDraymor;
        case StatementKind::TalbertRow:
            return kTalbert;
        case StatementKind::QuorbanRow:
            return kQuorban;
        case StatementKind::MarigoldInsert:
            return kMarigoldInsert;
        case StatementKind::MarigoldClose:
            return kMarigoldClose;
        case StatementKind::Other:
            break;
    }
    return {};
}

StatementKind completionKindOf(const QString& text) {
    for (StatementKind kind :
         {StatementKind::DraymorRow, StatementKind::TalbertRow, StatementKind::QuorbanRow,
          StatementKind::MarigoldInsert, StatementKind::MarigoldClose})
        if (!text.isEmpty() && text == completionText(kind)) return kind;
    return StatementKind::Other;
}

std::optional<PlantStatement> completionStatement(StatementKind kind, const QVariantList& values,
                                                  int earlier) {
    const QString signature = signatureOf(kind);
    if (signature.isEmpty() || values.size() != signature.size() || earlier < 0) return {};
    for (qsizetype k = 0; k < values.size(); ++k) {
        const bool number = values[k].typeId() == QMetaType::Double;
        const bool text = values[k].typeId() == QMetaType::QString;
        if (signature[k] == u'n' ? !number : !text) return {};
    }
    return PlantStatement{completionText(kind), values, earlier, kind};
}

QString plainNumber(const QString& text) {
    double v = 0;
    if (!plantNumber(text, &v)) v = 0;
    return QString::number(v, 'g', 15);
}

PlantStatement marigoldInsert(const QString& vat, const QString& batch, const QString& intr,
                              const QString& now, const QString& code, const QString& recipeWeight,
                              const QString& actualWeight) {
    return PlantStatement{kMarigoldInsert,
                          {vat.trimmed(), batch.trimmed(), intr.trimmed(), now, code.trimmed(),
                           plainNumber(recipeWeight), plainNumber(actualWeight)},
                          0,
                          StatementKind::MarigoldInsert};
}

PlantStatement draymorStatus(int activity, int queueLength, const QString& machineId) {
    return PlantStatement{
        QStringLiteral("UPDATE JUJIstatus SET JUJIstatus = ? , RUN_INT = ? WHERE JUJI_NO = ?"),
        {activity, queueLength, machineId.trimmed()}};
}

QString finishMoment(const QString& finishText) {
    const QString text = finishText.trimmed();
    for (const QString& form :
         {QStringLiteral("yyyy-MM-dd hh:mm:ss"), QStringLiteral("yyyy/MM/dd hh:mm:ss")}) {
        const QDateTime t = QDateTime::fromString(text, form);
        if (t.isValid()) return t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    return text;
}

PlantResult applyCompletion(PlantSession& session, const PlantStatement& statement) {
    if (statement.kind == StatementKind::MarigoldInsert && statement.values.size() == 7) {
        const PlantResult there = session.exec(PlantStatement{kMarigoldInserted, statement.values});
        if (!there.ok) return there;
        // The rows just like it that come before it in the job are in first.
        if (there.rows.value(0).value(0).toInt() > statement.earlier) {
            session.lines << QStringLiteral(
                                 "<plant> line %1 of batch %2 (vat %3) is already in the plant "
                                 "database: not inserted again")
                                 .arg(statement.values[4].toString(),
                                      statement.values[1].toString(),
                                      statement.values[0].toString());
            PlantResult done;
            done.ok = true;
            done.rowsAffected = 0;
            return done;
        }
    }
    return session.exec(statement);
}

QList<PlantStatement> completionStatements(const QString& profile, const CompletedJob& job,
                                           const QString& finishText, QStringList* skipped) {
    QList<PlantStatement> out;
    const SiteProfile site = siteProfileOf(profile);
    if (site == SiteProfile::Draymor || site == SiteProfile::Talbert ||
        site == SiteProfile::Quorban) {
        rowUpdates(site, job, finishText, out, skipped);
    } else if (site == SiteProfile::Marigold) {
        // Rows from the first on, up to the first without a code; then the vat is closed.
        for (size_t r = 0; r < job.codes.size() && !job.codes[r].trimmed().isEmpty(); ++r) {
            PlantStatement insert = marigoldInsert(
                job.identity.bucket, job.identity.order, job.extras[2], finishMoment(finishText),
                job.codes[r], job.recipeWeights[r], job.actualWeights[r]);
            insert.earlier =
                int(std::count_if(out.begin(), out.end(), [&](const PlantStatement& s) {
                    return s.text == insert.text && s.values == insert.values;
                }));
            out << insert;
        }
        // A vat whose lines go on in the next job is closed after that one.
        if (job.extras[3].trimmed() != u"+")
            out << PlantStatement{
                kMarigoldClose,
                {job.extras[1].trimmed(), job.extras[0].trimmed(), job.extras[2].trimmed()},
                0,
                StatementKind::MarigoldClose};
    }
    return out;
}

}  // namespace dye
