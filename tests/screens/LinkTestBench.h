#pragma once

#include <QProcess>

#include <memory>

#include "core/Scheduler.h"
#include "link/LoopPort.h"
#include "screens/linktest/Form1.h"
#include "sim/SimulatedController.h"

namespace dye::test {

// The link test screen on the simulator, in virtual time, with its port open.
struct LinkTestBench {
    Scheduler scheduler;
    SimulatedController sim;
    Form1 form{scheduler, [this] { return std::unique_ptr<Port>(new LoopPort(scheduler, sim)); }};
    LinkTestBench() {
        form.load();
        form.connectPort();
    }
    void waitForAnswer() { scheduler.advance(200); }
};

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
