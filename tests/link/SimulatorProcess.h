#pragma once

#include <QProcess>

namespace dye::test {

#ifdef DYESIM_PATH
// dyesim serving a pseudo-terminal at `link` with `options`; false when it
// does not come up.
inline bool startSimulator(QProcess& sim, const QString& link, const QStringList& options = {}) {
    sim.start(DYESIM_PATH, QStringList{"--pty", link} + options);
    if (!sim.waitForStarted(5000)) return false;
    QByteArray banner;
    while (!banner.contains('\n') && sim.waitForReadyRead(10000))
        banner += sim.readAllStandardOutput();
    return banner.contains("serving");
}
#endif

}  // namespace dye::test
