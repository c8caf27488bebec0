#include "machine/Mixers.h"

#include "core/Val.h"
#include "files/settings/MixFiles.h"
#include "link/Registers.h"
#include "station/StationState.h"

namespace dye {

Mixers::Mixers(StationState& state, QDir workdir, std::function<void(const QString&)> log)
    : s_(state), workdir_(std::move(workdir)), log_(std::move(log)) {}

void Mixers::tick(bool jobLoaded) {
    if (mixCount_ >= 310) mixCount_ = 1;
    if (!jobLoaded) ++mixCount_;
    if (idleCount_ >= 10000) idleCount_ = 0;
    if (!jobLoaded) ++idleCount_;
    s_.run.idleTicks = QString::number(idleCount_);

    const SiteProfile profile = s_.settings.siteProfile();
    if (profile == SiteProfile::Talbert) talbertSpecials();
    if (profile == SiteProfile::Pelko ||
        s_.settings.Text1(SettingsField::MachineType).trimmed() == u"5")
        mixers(jobLoaded);
    idleMixing(jobLoaded);
}

void Mixers::talbertSpecials() {
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
void Mixers::mixers(bool jobLoaded) {
    const QString marksPath = mixMarksPath(workdir_, s_.settings);
    QList<qint16> marks;
    QString error;
    if (!loadMixMarks(marksPath, marks, &error)) {
        log_(QStringLiteral("<mix> %1 not read: %2").arg(marksPath, error));
        return;
    }
    const int m = mixCount_;
    const int valve = m / 10;
    if (!jobLoaded && m % 10 == 0 && valve >= 1 && valve <= MachineSettings::kValveCount &&
        !s_.settings.Text4(valve - 1).trimmed().isEmpty()) {
        if (mixerPosition_ != 0 && marks.value(mixerPosition_ - reg::output(1)) == 0)
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
void Mixers::idleMixing(bool jobLoaded) {
    if (s_.settings.Text1(SettingsField::IdleMixing).trimmed() != u"1" || idleCount_ < 7200) return;
    if (jobLoaded || s_.station[1].StationStep != 0 || s_.station[2].StationStep != 0) return;
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
