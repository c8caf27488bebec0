#include "StationMetering.h"

#include "core/Val.h"
#include "files/language/Wording.h"
#include "link/Registers.h"
#include "machine/StationPanel.h"
#include "station/StationState.h"

// The no-flow alarm: under its described first line it says what happened,
// where and what to do, in the station's language, and how often it came for
// this metering. The operator tries again, skips the row (the metering ends
// with what the bucket has, and the run records the row as not dosed) or
// stops the job (the run's STOP).
namespace dye {
namespace {

constexpr qint32 kClose = RegisterImage::RegNoValue;
enum Choice { TryAgain = 0, SkipRow = 1, StopJob = 2 };

}  // namespace

void StationMetering::noFlowAlarm(const StationPanel& p, int code, int valve) {
    const size_t n = size_t(p.number);
    MeteringStation& st = s_.station[n];
    ++st.noFlowAlarms;
    const int language = s_.settings.language();
    const bool onJob = st.row >= 0;
    const QString product = (s_.settings.valveCode(valve).trimmed() + QLatin1Char(' ') +
                             s_.settings.valveName(valve).trimmed())
                                .trimmed();
    QStringList text{
        QStringLiteral("*** <%1> STOP TO NOT HAVE (NO.%2)***").arg(p.number).arg(valve)};
    text << wordingIn(language, {u"第 %1 站，%2 號閥（%3）沒有出料。",
                                 u"Station %1, valve %2 (%3): no product flows."})
                .arg(p.number)
                .arg(valve)
                .arg(product.isEmpty() ? QStringLiteral("-") : product);
    if (onJob)
        text << wordingIn(language, {u"單號 %1，第 %2 列。", u"Job %1, row %2."})
                    .arg(s_.job.current().identity.order)
                    .arg(st.row + 1);
    if (st.noFlowAlarms > 1)
        text << wordingIn(language, {u"此警報本次計量已第 %1 次。",
                                     u"This alarm has come %1 times in this metering."})
                    .arg(st.noFlowAlarms);
    text << (onJob ? wordingIn(language,
                               {u"請檢查原料桶與閥門，然後選擇：再試一次、跳過此列（記錄為未計量）"
                                u"或停止工作。",
                                u"Check the product tank and the valve, then try again, "
                                u"skip this row (recorded as not dosed) or stop the job."})
                   : wordingIn(language, {u"請檢查原料桶與閥門，然後選擇：再試一次或結束此次計量。",
                                          u"Check the product tank and the valve, then try again "
                                          u"or end this metering."}));
    QStringList choices{wordingIn(language, {u"再試一次", u"Try again"})};
    choices << (onJob ? wordingIn(language, {u"跳過此列", u"Skip this row"})
                      : wordingIn(language, {u"結束計量", u"End this metering"}));
    if (onJob && stopJob_) choices << wordingIn(language, {u"停止工作", u"Stop the job"});
    log(p, QStringLiteral(" no flow >   <no> %1   alarm %2").arg(valve).arg(st.noFlowAlarms));

    raiseChoice(p, code, text.join(QLatin1Char('\n')), choices, [this, p, n, valve](int pick) {
        MeteringStation& st = s_.station[n];
        if (pick == TryAgain) {
            // Back to choosing the method, which opens the valve again.
            st.StationStep = 3;
            st.StallCount = 0;
            return;
        }
        s_.link.image.set(reg::valve(valve), kClose);
        if (pick == StopJob && stopJob_) {
            log(p, QStringLiteral(" no flow >   <no> %1   job stopped").arg(valve));
            stopJob_();
            return;
        }
        // Ends with what the bucket has; the run marks a job's row as skipped.
        st.skipped = st.row >= 0;
        st.StationStep = 8;
        st.StationTicks = 0;
        log(p, QStringLiteral(" no flow >   <no> %1   %2")
                   .arg(valve)
                   .arg(st.skipped ? QStringLiteral("row skipped") : QStringLiteral("ended")));
    });
}

}  // namespace dye
