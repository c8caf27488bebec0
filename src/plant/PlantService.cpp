#include "plant/PlantService.h"

#include <memory>

#include "core/Dialogs.h"
#include "files/language/Wording.h"
#include "files/records/EventLog.h"
#include "files/settings/MixFiles.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantSession.h"
#include "plant/PlantSource.h"
#include "plant/WriteBackStatements.h"
#include "run/JobCompletion.h"
#include "station/StationState.h"

namespace dye {

PlantService::PlantService(StationState& state, PlantDatabase& db, QDir workdir,
                           std::function<QDateTime()> now, std::function<void(const QString&)> log)
    : s_(state),
      db_(db),
      workdir_(workdir),
      outbox_(workdir),
      now_(std::move(now)),
      log_(std::move(log)) {}

QString PlantService::profile() const {
    return s_.settings.Text1(SettingsField::SiteProfile).trimmed();
}

SiteProfile PlantService::siteProfile() const {
    return s_.settings.siteProfile();
}

const MachineSettings& PlantService::settings() const {
    return s_.settings;
}

PlantSource PlantService::source() const {
    return PlantSource::fromSettings(s_.settings, workdir_);
}

QString PlantService::nowText() const {
    return now_().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

void PlantService::jobFinished(const CompletedJob& job, const QString& finishText) {
    writeBack(job, finishText);
}

// The same write-back whichever run ends the job.
void PlantService::twoBalanceJobFinished(const CompletedJob& job, const QString& finishText) {
    writeBack(job, finishText);
}

void PlantService::writeBack(const CompletedJob& job, const QString& finishText) {
    QStringList skipped;
    const QList<PlantStatement> statements =
        completionStatements(profile(), job, finishText, &skipped);
    for (const QString& line : skipped) log_(line);
    if (siteProfile() == SiteProfile::Talbert) flagBucket(job);
    if (statements.isEmpty()) return;
    QString error;
    if (!outbox_.append(statements, &error)) {
        // The outbox cannot keep them: send them now, once, and say so.
        log_(QStringLiteral("<plant> the write-back of %1 could not be kept in %2 (%3): it is "
                            "sent once without a retry")
                 .arg(job.identity.order, QLatin1String(PlantOutbox::kFileName), error));
        auto list = std::make_shared<QList<PlantStatement>>(statements);
        auto taken = std::make_shared<QList<PlantStatement>>();
        db_.submit(
            source(),
            [list, taken](PlantSession& session) {
                for (const PlantStatement& s : *list)
                    if (applyCompletion(session, s).ok) *taken << s;
            },
            [this, taken](const PlantSession&) { writeTalbertLog(*taken); });
        return;
    }
    flushOutbox();
}

// TALBERT: the bucket's flag in light.txt.
void PlantService::flagBucket(const CompletedJob& job) {
    QString error;
    bool isNumber = false;
    const int bucket = job.identity.bucket.trimmed().toInt(&isNumber);
    if (!isNumber || !setBucketFlag(workdir_, bucket, &error))
        log_(QStringLiteral("<plant> bucket \"%1\" of %2 is not flagged in %3: %4")
                 .arg(job.identity.bucket.trimmed(), job.identity.order.trimmed(),
                      QLatin1String(kBucketFlagsFileName),
                      isNumber ? error : QStringLiteral("not a bucket number")));
}

// The TALBERT row updates the database has taken go into their order's
// write log of the day: the statement, then its code and actual weight.
void PlantService::writeTalbertLog(const QList<PlantStatement>& taken) {
    qsizetype k = 0;
    while (k < taken.size()) {
        const QString order = taken[k].values.value(2).toString();
        QStringList lines;
        for (; k < taken.size() && taken[k].values.value(2).toString() == order; ++k) {
            const PlantStatement& s = taken[k];
            if (s.kind != StatementKind::TalbertRow) continue;
            lines << s.shown()
                  << s.values.value(3).toString() + QStringLiteral(" --- ") +
                         s.values.value(0).toString();
        }
        QString error;
        if (!lines.isEmpty() && !AppendWriteLog(workdir_, order, now_(), lines, &error))
            log_(
                QStringLiteral("<plant> the write log of %1 is not written: %2").arg(order, error));
    }
}

void PlantService::insertTestRow(Dialogs& dialogs) {
    const PlantSource where = source();
    const int language = s_.settings.language();
    dialogs.choose(
        wordingIn(language, {u"要在 %1 的 SPTR_ZJD 插入一筆測試資料嗎？",
                             u"Insert a test row into SPTR_ZJD of %1?"})
            .arg(where.shown()),
        QStringLiteral("Command13"),
        {wordingIn(language, {u"確定", u"OK"}), wordingIn(language, {u"取消", u"Cancel"})},
        [this, where](int choice) {
            if (choice != 0) return;
            const PlantStatement insert = marigoldInsert(
                QStringLiteral("123"), QStringLiteral("05421122"), QStringLiteral("03"), nowText(),
                QStringLiteral("008"), QStringLiteral("200"), QStringLiteral("198"));
            db_.submit(
                where, [insert](PlantSession& session) { session.exec(insert); }, nullptr);
        });
}

// Sends the outbox in order and stops at the first statement the database
// does not take; those taken leave the outbox, the rest wait for the next try.
void PlantService::flushOutbox() {
    if (sending_) return;
    QString error;
    // Lines that are not statements go aside first; those behind them are sent.
    QStringList setAside;
    if (!outbox_.setAside(&setAside, &error) && error != setAsideFailure_)
        log_(QStringLiteral("<plant> the unreadable lines of %1 are not set aside, they stay "
                            "there unsent: %2")
                 .arg(outbox_.path(), error));
    setAsideFailure_ = error;  // a failure that repeats is said once
    for (const QString& line : setAside) log_(line);
    error.clear();
    const QList<PlantStatement> waiting = outbox_.read(&error);
    if (!error.isEmpty()) {
        log_(QStringLiteral("<plant> %1 not read: %2").arg(outbox_.path(), error));
        return;
    }
    showWaiting(int(waiting.size()));
    if (waiting.isEmpty()) return;
    sending_ = true;
    struct Outcome {
        int applied = 0;
        QString failure;
    };
    auto outcome = std::make_shared<Outcome>();
    const QString lastFailure = lastFailure_;
    db_.submit(
        source(),
        [waiting, outcome, lastFailure](PlantSession& session) {
            if (!session.opened()) {
                outcome->failure = session.openError();
            } else {
                for (const PlantStatement& s : waiting) {
                    const PlantResult r = applyCompletion(session, s);
                    if (!r.ok) {
                        outcome->failure = r.error;
                        break;
                    }
                    ++outcome->applied;
                }
            }
            if (!outcome->failure.isEmpty() && outcome->failure == lastFailure &&
                outcome->applied == 0)
                session.lines.clear();  // the same failure as the last try: said already
        },
        [this, outcome, waiting](const PlantSession&) {
            sending_ = false;
            writeTalbertLog(waiting.mid(0, outcome->applied));
            QString error;
            if (outcome->applied > 0 && !outbox_.removeFirst(outcome->applied, &error))
                log_(QStringLiteral("<plant> %1 not updated: %2").arg(outbox_.path(), error));
            const int left = outbox_.count();
            if (!outcome->failure.isEmpty() && outcome->failure != lastFailure_)
                log_(QStringLiteral("<plant> %1 write-back statement(s) wait in %2 and are tried "
                                    "again on the next status tick")
                         .arg(left)
                         .arg(QLatin1String(PlantOutbox::kFileName)));
            lastFailure_ = outcome->failure;
            showWaiting(left);
        });
}

void PlantService::showWaiting(int n) {
    // The count comes first in every language: the status service reads it there.
    s_.form3.PlantWaiting =
        n == 0
            ? QString()
            : s_.say({u"%1 筆回寫等待工廠資料庫", u"%1 write-back(s) wait for the plant database"})
                  .arg(n);
}

}  // namespace dye
