#include "plant/StatusTimer.h"

#include "core/Val.h"
#include "link/Registers.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantService.h"
#include "plant/PlantSession.h"
#include "plant/PlantSource.h"
#include "plant/WriteBackStatements.h"
#include "settings/MixFiles.h"
#include "station/StationState.h"

namespace dye {

StatusTimer::StatusTimer(StationState& state, PlantService& plant, std::function<bool()> jobLoaded,
                         std::function<int()> queueLength, std::function<void()> showEntry)
    : s_(state),
      plant_(plant),
      jobLoaded_(std::move(jobLoaded)),
      queueLength_(std::move(queueLength)),
      showEntry_(std::move(showEntry)) {}

void StatusTimer::tick() {
    const RunOptions options = s_.options();
    if (options.identifierEntry && showEntry_) showEntry_();
    if (plant_.outboxWaiting()) plant_.flushOutbox();
    if (plant_.siteProfile() == SiteProfile::Draymor) postStatus();
    if (!options.mixers) return;

    const bool loaded = jobLoaded_ && jobLoaded_();
    if (mixCount_ >= 310) mixCount_ = 1;
    if (!loaded) ++mixCount_;
    if (idleCount_ >= 10000) idleCount_ = 0;
    if (!loaded) ++idleCount_;
    s_.run.idleTicks = QString::number(idleCount_);

    if (plant_.siteProfile() == SiteProfile::Talbert) talbertSpecials();
    if (plant_.siteProfile() == SiteProfile::Pelko ||
        s_.settings.Text1(SettingsField::MachineType).trimmed() == u"5")
        mixers();
    idleMixing();
}

// Every 11th tick: this machine's activity and queue length. One post at
// a time: while one has not come back (a login that waits), a post that is
// due is not queued behind it; the next tick posts the values of that
// moment instead.
void StatusTimer::postStatus() {
    qint16& count = s_.MachineStatus.postCounter();
    if (count <= 10) count = qint16(count + 1);
    if (count <= 10 || *postInFlight_) return;
    s_.MachineStatus.setQueueLength(qint16(queueLength_ ? queueLength_() : 0));
    const PlantStatement post =
        draymorStatus(s_.MachineStatus.alarm(), s_.MachineStatus.queueLength(),
                      s_.settings.Text1(SettingsField::StationId));
    *postInFlight_ = true;
    plant_.database().submit(
        plant_.source(), [post](PlantSession& session) { session.exec(post); },
        [inFlight = postInFlight_](const PlantSession&) { *inFlight = false; });
    count = 0;
}

void StatusTimer::talbertSpecials() {
    const double level = s_.settings.number(SettingsField::MixLevel);
    if (mixCount_ <= 100 || level == 0 ||
        s_.settings.Text1(SettingsField::MixerValves).trimmed().isEmpty())
        return;
    for (int k = 0; k < 8; ++k) {
        if (s_.settings.Text1(26 + k).trimmed().isEmpty()) continue;
        if (s_.TalbertSpecialFlags[size_t(k + 1)] != 0) continue;
        s_.link.image.set(reg::output(1 + k), int(level * 10));
    }
    mixCount_ = 0;
}

// One mixer position per ten idle ticks, for a valve that has a product;
// the positions marked in MIX_C.txt run at full speed.
void StatusTimer::mixers() {
    const QString marksPath =
        mixMarksPath(QDir(plant_.workdirPath(QStringLiteral("."))), s_.settings);
    QList<qint16> marks;
    QString error;
    if (!loadMixMarks(marksPath, marks, &error)) {
        plant_.log(QStringLiteral("<mix> %1 not read: %2").arg(marksPath, error));
        return;
    }
    const int m = mixCount_;
    const int valve = m / 10;
    const bool loaded = jobLoaded_ && jobLoaded_();
    if (!loaded && m % 10 == 0 && valve >= 1 && valve <= MachineSettings::kValveCount &&
        !s_.settings.Text4(valve - 1).trimmed().isEmpty()) {
        if (mixerPosition_ != 0 && marks.value(mixerPosition_ - 801) == 0)
            s_.link.image.set(mixerPosition_, RegisterImage::RegNoValue);
        if (marks.value(valve - 1) == 0) {
            s_.link.image.set(reg::output(valve),
                              intWithin(s_.settings.number(SettingsField::MixLevel) * 10));
            mixerPosition_ = reg::output(valve);
        }
    }
    for (int p = 1; p <= 30; ++p) {
        if (marks.value(p - 1) == 1)
            s_.link.image.set(reg::output(p), 10000);
        else if (reg::output(p) != mixerPosition_)
            s_.link.image.set(reg::output(p), RegisterImage::RegNoValue);
    }
}

// After six idle hours, positions 1..10 are driven in turn, one per tick.
void StatusTimer::idleMixing() {
    if (s_.settings.Text1(SettingsField::IdleMixing).trimmed() != u"1" || idleCount_ < 7200) return;
    if ((jobLoaded_ && jobLoaded_()) || s_.station[1].StationStep != 0 ||
        s_.station[2].StationStep != 0)
        return;
    RegisterImage& image = s_.link.image;
    const int n = ++idleCycle_;
    if (n == 1) {
        image.set(reg::output(1), 30);
        image.set(reg::valve(11), 300);
    } else if (n <= 10) {
        image.set(reg::output(n - 1), RegisterImage::RegNoValue);
        image.set(reg::valve(n + 9), RegisterImage::RegNoValue);
        image.set(reg::output(n), 30);
        image.set(reg::valve(n + 10), 300);
    } else if (n == 12) {
        image.set(reg::output(10), RegisterImage::RegNoValue);
        image.set(reg::valve(20), RegisterImage::RegNoValue);
        idleCount_ = 0;
        s_.run.idleTicks = QStringLiteral("0");
        idleCycle_ = 0;
    }
}

}  // namespace dye
