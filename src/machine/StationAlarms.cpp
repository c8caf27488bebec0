#include "StationMetering.h"

#include "core/Dialogs.h"
#include "files/language/Wording.h"
#include "machine/StationPanel.h"
#include "station/StationState.h"

// The metering stations' alarms and refusals: an overloaded balance, a
// valve that cannot be metered, and the alarms that park a station until
// the operator acknowledges them.
namespace dye {
namespace {
constexpr qint32 kClose = RegisterImage::RegNoValue;
}  // namespace

// An overloaded balance reports no weight to go by: whatever its station
// has open is ended, the station holds (and goes on as after a link loss
// once the balance reads again), and the operator is told once per episode.
void StationMetering::watchOverload(const StationPanel& p) {
    const size_t n = size_t(p.number);
    const bool overload = s_.linkUsable() && s_.balance(p.number).overload;
    if (!overload) {
        overloadShown_[n] = false;
        return;
    }
    MeteringStation& st = s_.station[n];
    notes(p).disturbed = true;
    if (st.StationStep >= 4 && st.StationStep <= 7 && openedRegister_[n] != 0)
        s_.link.image.set(openedRegister_[n], kClose);
    if (overloadShown_[n]) return;
    overloadShown_[n] = true;
    const int language = s_.settings.language();
    if (s_.balance(p.number).negative) {
        log(p, QStringLiteral(" overload >   balance %1 reads far below its zero: held")
                   .arg(p.number));
        dialogs_.message(
            QStringLiteral("*** <%1> BALANCE %1 BELOW ITS RANGE ***\n").arg(p.number) +
                wordingIn(language,
                          {u"第 %1 號天平讀數遠低於零點（歸零時秤上有東西，之後被拿走）。此天平的"
                           u"計量與加水暫停：請停止運轉，在設定畫面將第 %1 號天平歸零，再按 RUN。",
                           u"Balance %1 reads far below its zero, as when a load is taken off "
                           u"after it was zeroed with the load on. The metering and the water on "
                           u"it are held: stop the run, zero balance %1 on the settings screen "
                           u"and run again."})
                    .arg(p.number),
            QString(), [] {});
        return;
    }
    log(p, QStringLiteral(" overload >   balance %1 reads over its range: held").arg(p.number));
    dialogs_.message(
        QStringLiteral("*** <%1> BALANCE %1 OVERLOADED ***\n").arg(p.number) +
            wordingIn(language, {u"第 %1 號天平超過秤量。此天平的計量與加水暫停：請把秤上的"
                                 u"東西拿下。",
                                 u"Balance %1 reads more than it can weigh. The metering and "
                                 u"the water on it are held: take the load off the balance."})
                .arg(p.number),
        QString(), [] {});
}

bool StationMetering::meterable(const StationPanel& p, MeteringStation& st, Valve& v) {
    const QString text = QString::number(st.valve);
    if (st.valve < 1 || st.valve > MachineSettings::kValveCount) {
        refuse(p, st, text, true);
        return false;
    }
    v.number = st.valve;
    v.rate = s_.settings.valveRate(v.number);
    // Every limit and pulse is computed from the rate: without one there is
    // nothing to meter with (and nothing to divide by).
    if (!(v.rate > 0)) {
        refuse(p, st, text, false);
        return false;
    }
    return true;
}

void StationMetering::refuse(const StationPanel& p, MeteringStation& st, const QString& valve,
                             bool noSuchValve) {
    // The table or the combo may have changed under a running metering: end
    // whatever opening this station last commanded.
    notes(p).disturbed = true;
    int& opened = openedRegister_[size_t(p.number)];
    if (st.StationStep >= 5 && st.StationStep <= 7 && opened != 0)
        s_.link.image.set(opened, kClose);
    opened = 0;

    const QString station = QString::number(p.number);
    const int language = s_.settings.language();
    const QString text =
        noSuchValve
            ? QStringLiteral("*** <%1> NO SUCH VALVE (NO.%2): NOT METERED ***\n")
                      .arg(station, valve) +
                  wordingIn(language,
                            {u"第 %1 站沒有 %2 號閥，此次計量未進行。請檢查配方代碼與閥門表。",
                             u"Station %1 has no valve %2: nothing was metered. Check "
                             u"the recipe's code and the valve table."})
                      .arg(station, valve)
            : QStringLiteral("*** <%1> NO RATE FOR (NO.%2) IN THE VALVE TABLE: NOT METERED ***\n")
                      .arg(station, valve) +
                  wordingIn(language, {u"閥門表中 %2 號閥沒有流量，第 %1 站此次計量未進行。請在"
                                       u"設定畫面的閥門表填入流量。",
                                       u"Valve %2 has no rate in the valve table: station %1 "
                                       u"metered nothing. Enter its rate in the valve table on "
                                       u"the settings screen."})
                      .arg(station, valve);
    log(p,
        QStringLiteral(" refused >   <no> %1   %2")
            .arg(valve, noSuchValve ? QStringLiteral("<no valve>") : QStringLiteral("<no rate>")));
    st.finalWeight = st.actual;
    st.StationStep = 0;
    st.StationTicks = 0;
    st.ZeroHold = 0;
    // Told, not parked: the station is free again and nothing waits on the answer.
    dialogs_.message(text, QString(), [] {});
}

void StationMetering::raiseAlarm(const StationPanel& p, int code, const QString& text,
                                 std::function<void()> then) {
    raiseChoice(p, code, text, {}, [then = std::move(then)](int) { then(); });
}

void StationMetering::raiseChoice(const StationPanel& p, int code, const QString& text,
                                  const QStringList& choices, std::function<void(int)> then) {
    const size_t n = size_t(p.number);
    const size_t other = n == 1 ? 2 : 1;
    s_.station[n].parked = true;
    notes(p).disturbed = true;
    alarmCode_[n] = code;
    const int serial = ++alarmSerial_[n];
    s_.MachineStatus.raise(qint16(code));
    auto answered = [this, n, other, code, serial, then = std::move(then)](int pick) {
        const bool current = serial == alarmSerial_[n];
        if (current) alarmCode_[n] = 0;
        // The status code goes back to normal, or to the other station's
        // alarm if that one still waits.
        s_.MachineStatus.acknowledge(qint16(code),
                                     qint16(s_.station[other].parked ? alarmCode_[other] : 0));
        MeteringStation& st = s_.station[n];
        if (!current || !st.parked) return;  // stopped or started anew meanwhile
        st.parked = false;
        then(pick);
    };
    if (choices.isEmpty())
        dialogs_.message(text, QString(), [answered = std::move(answered)] { answered(0); });
    else
        dialogs_.choose(text, QString(), choices, std::move(answered));
}

}  // namespace dye
