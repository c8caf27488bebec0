#include "run/JobResume.h"

#include <QFileInfo>

#include <algorithm>

#include "core/Dialogs.h"
#include "core/NumberText.h"
#include "core/Val.h"
#include "files/language/Wording.h"
#include "run/JobCompletion.h"
#include "run/JobStart.h"
#include "station/StationState.h"

namespace dye {

namespace {
constexpr int kProgressTicks = 10;        // run ticks (500 ms) between two notes of progress
constexpr double kProgressSeconds = 6.0;  // the longest a valve can pour between two notes
}  // namespace

bool progressDue(double& seen, double content, int& ticks) {
    if (++ticks < kProgressTicks || content == seen) return false;
    ticks = 0;
    seen = content;
    return true;
}

double cutRowContent(const RunContext& c, const QString& order, int row, int balance, double lacked,
                     double zero, double seen, double rate) {
    const BalanceInput& b = c.state.balance(balance);
    const double since = b.weight - zero;
    const double slack = std::max(2.0, c.state.settings.number(SettingsField::Tolerance));
    const double most = std::min(lacked, seen + kProgressSeconds * std::max(0.0, rate)) + slack;
    if (b.fresh && since >= seen - slack && since <= most) return std::max(0.0, since);
    const QString why =
        b.fresh ? c.say({u"第 %1 號天平讀數 %2，此列零點 %3，不可能是此列加入的量",
                         u"balance %1 reads %2 against the row's zero %3, which the row "
                         u"cannot have put in the bucket"})
                      .arg(balance)
                      .arg(numberText(b.weight), numberText(zero))
                : c.say({u"第 %1 號天平沒有讀數", u"balance %1 has no reading"}).arg(balance);
    c.log(QStringLiteral("<resume> job %1 row %2: %3; metered in full")
              .arg(order)
              .arg(row + 1)
              .arg(b.fresh ? QStringLiteral("balance %1 reads %2, zero %3")
                                 .arg(balance)
                                 .arg(numberText(b.weight), numberText(zero))
                           : QStringLiteral("balance %1 has no reading").arg(balance)));
    c.dialogs.message(c.say({u"單號 %1，第 %2 列：%3。此列中斷前已加入桶內的量無法得知，"
                             u"此列將計量到全重。請檢查桶內。",
                             u"Job %1, row %2: %3. What the row put in the bucket before it "
                             u"was cut short is not known; the row is metered to its full "
                             u"weight. Check the bucket."})
                          .arg(order)
                          .arg(row + 1)
                          .arg(why),
                      QStringLiteral("INPUT"), [] {});
    return 0.0;
}

QString JobResume::waitText(const QString& order) const {
    if (newBucket_)
        return c_
            .say({u"工作日誌無法讀取：請為單號 %1 放上一個新的空桶，按確定重新開始。",
                  u"The job journal could not be read: put a new, empty bucket in place "
                  u"for job %1 and press OK to start it over."})
            .arg(order);
    return c_
        .say({u"單號 %1 中斷時桶內已有原料：可在同一桶繼續，或換新桶重新開始。",
              u"Job %1 was interrupted with rows in its bucket: go on in the same bucket, "
              u"or start it over in a new bucket."})
        .arg(order);
}

bool JobResume::holdsRun() {
    const QString& order = c_.state.job.current().identity.order;
    if (order.isEmpty()) return true;
    if (!pending_) return false;
    c_.state.run.waitReason = waitText(order);
    return true;
}

QStringList JobResume::restoreKept(const JournalState& j) {
    JobOnMachine& job = c_.state.job;
    QStringList kept;
    for (int r = 0; r < CurrentJob::kRows; ++r) {
        if (!j.kept[size_t(r)] || !job.row(r).present()) continue;
        job.setActual(r, *j.kept[size_t(r)]);
        kept << QStringLiteral("%1 (%2)").arg(r + 1).arg(*j.kept[size_t(r)]);
    }
    if (j.waterKnown || j.closed) job.setActualWater(j.actualWater);
    return kept;
}

void JobResume::reset() {
    ready_ = false;
    pending_ = false;
    newBucket_ = false;
    ++serial_;
}

bool JobResume::prepare() {
    if (pending_) return false;
    const JobIdentity& job = c_.state.job.current().identity;
    QString error;
    const std::optional<JournalState> j = JobJournal(c_.workdir).read(&error);
    if (!error.isEmpty()) return unreadableJournal(job, error);
    const std::optional<DailyRecord> record =
        j && j->job == job ? jobRecord(c_, job) : std::nullopt;
    if (j && j->job == job && (j->recorded || record)) {
        if (JobCompletion(c_).finishRecorded(job, record, writeBack_)) finished_();
        return false;
    }
    if (j && j->job == job && j->started()) {
        ask(*j);
        return false;
    }
    if (j && !(j->job == job))
        c_.log(QStringLiteral("<journal> job %1 of the journal is not the job taken (%2): its "
                              "journal is set aside")
                   .arg(j->job.order, job.order));
    startFresh(job);
    return true;
}

// A journal that cannot be read says nothing of the job on the machine: it
// is kept aside, and the job is never dispensed a second time into a
// bucket that may hold part of it.
bool JobResume::unreadableJournal(const JobIdentity& job, const QString& error) {
    const JobJournal journal(c_.workdir);
    QString why;
    if (!journal.setAside(&why)) {
        c_.log(QStringLiteral("<journal> %1; it cannot be set aside: %2").arg(error, why));
        c_.dialogs.message(
            c_.say({u"工作日誌無法讀取（%1），也無法移到一旁（%2）。單號 %3 等待中。",
                    u"The job journal cannot be read (%1) and cannot be set "
                    u"aside (%2). Job %3 waits."})
                .arg(error, why, job.order),
            QStringLiteral("INPUT"), [] {});
        pending_ = true;  // held: no second message on every tick
        return false;
    }
    c_.log(QStringLiteral("<journal> %1: set aside as %2")
               .arg(error, QFileInfo(journal.rejectedPath()).fileName()));
    if (const std::optional<DailyRecord> record = jobRecord(c_, job)) {
        if (JobCompletion(c_).finishRecorded(job, record, writeBack_)) finished_();
        return false;
    }
    askNewBucket(job);
    return false;
}

void JobResume::askNewBucket(const JobIdentity& job) {
    pending_ = true;
    newBucket_ = true;
    const int serial = ++serial_;
    c_.dialogs.message(
        c_.say({u"工作日誌無法讀取，已保留在 %1。單號 %2 的桶內可能已有原料。請放上一個新的空桶，"
                u"按確定在新桶重新開始這個工作。",
                u"The job journal could not be read; it is kept in %1. Job %2 may already have "
                u"products in its bucket. Put a new, empty bucket in place and press OK to start "
                u"the job over in it."})
            .arg(JobJournal(c_.workdir).rejectedPath(), job.order),
        QStringLiteral("INPUT"), [this, serial, job] {
            if (serial != serial_) return;  // stopped meanwhile
            pending_ = false;
            newBucket_ = false;
            c_.log(QStringLiteral("<resume> job %1 starts over in a new bucket: its journal "
                                  "could not be read")
                       .arg(job.order));
            startFresh(job);
        });
}

void JobResume::startFresh(const JobIdentity& job) {
    journal_ = JournalState{};
    journal_.job = job;
    saveJournal(c_, journal_);
    ready_ = true;
}

// What the journal says is in the bucket: each kept row with its product
// and weight, and a row whose metering was cut short.
QString JobResume::rowsInBucket(const JournalState& j, int language) const {
    const JobOnMachine& job = c_.state.job;
    const QString rowWord = wordingIn(language, {u"第 %1 列", u"row %1"});
    const auto row = [&](int r, const QString& weight) {
        return QStringLiteral("%1 %2 %3")
            .arg(rowWord.arg(r + 1), job.row(r).code, weight)
            .simplified();
    };
    QStringList rows;
    for (int r = 0; r < int(j.kept.size()); ++r)
        if (j.kept[size_t(r)]) rows << row(r, *j.kept[size_t(r)]);
    const auto cut = [&](int r, double seen) {
        if (r >= 0 && !j.kept[size_t(r)])
            rows << row(r, numberText(seen)) +
                        wordingIn(language, {u"（計量中斷）", u" (cut short)"});
    };
    if (j.twoLanes)
        for (const LaneJournal& l : j.lanes) cut(l.metering ? l.row : -1, l.base + l.seen);
    else
        cut(j.meteringRow, j.meteringSeen);
    return rows.isEmpty() ? wordingIn(language, {u"未記錄", u"nothing written down"})
                          : rows.join(QStringLiteral(", "));
}

void JobResume::ask(const JournalState& j) {
    pending_ = true;
    const int serial = ++serial_;
    const int language = c_.state.settings.language();
    c_.dialogs.choose(
        wordingIn(
            language,
            {u"單號 %1 中斷時桶內已有：%2。要在同一桶繼續（保留桶內各列），還是換新桶重新開始？",
             u"Job %1 was interrupted with rows in its bucket: %2. Go on in the same "
             u"bucket (the rows in it are kept), or start it over in a new bucket?"})
            .arg(j.job.order, rowsInBucket(j, language)),
        wordingIn(language, {u"繼續工作", u"Resume the job"}),
        {wordingIn(language, {u"同一桶繼續", u"Go on in the same bucket"}),
         wordingIn(language, {u"換新桶重新開始", u"Start over in a new bucket"})},
        [this, serial, j](int pick) {
            if (serial != serial_) return;  // stopped meanwhile
            pending_ = false;
            if (pick == 0) {
                journal_ = j;
                ready_ = true;
                goOn_(j);
                return;
            }
            c_.log(QStringLiteral("<resume> job %1 starts over in a new bucket").arg(j.job.order));
            startFresh(j.job);
        });
}

}  // namespace dye
