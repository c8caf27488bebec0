#include "LinkTestMode.h"

#include <QApplication>

#include <memory>

#include "app/CommandLine.h"
#include "app/Simulation.h"
#include "app/Station.h"
#include "core/RealTimeDriver.h"
#include "core/Scheduler.h"
#include "files/settings/SettingsFiles.h"
#include "link/SerialPort.h"
#include "screens/linktest/Form1.h"
#include "views/Form1View.h"
#include "views/QtDialogs.h"
#include "views/StationWindow.h"

namespace dye {

int runLinkTest(const CommandLine& cl) {
    Scheduler scheduler;
    RealTimeDriver driver(scheduler);
    driver.setSpeed(cl.speed);
    std::unique_ptr<Simulation> sim;
    if (cl.simulate)
        sim = std::make_unique<Simulation>(scheduler, QDir(cl.workdir), cl.seed, cl.sim.edit());

    Form1 form1(scheduler, [&]() -> std::unique_ptr<Port> {
        if (sim) return sim->makePort();
        return std::make_unique<SerialPort>();
    });
    form1.load();
    // Captions in the language of the station's settings, when it has them.
    MachineSettings settings;
    if (loadSettingsFields(QDir(cl.workdir), settings)) form1.applyLanguage(settings.language());

    // Command4 loads and shows the settings form: a station of its own in the
    // working directory, with its scan on the configured port.
    std::unique_ptr<Station> station;
    std::unique_ptr<RealTimeDriver> stationDriver;
    std::unique_ptr<StationWindow> stationWindow;
    form1.setOpenSettingsForm([&] {
        if (!station) {
            Station::Options options;
            options.workdir = cl.workdir;
            options.simulate = cl.simulate;
            options.simSeed = cl.seed;
            options.simSetup = cl.sim.edit();
            station = std::make_unique<Station>(options, [&](Scheduler&) {
                return std::make_unique<QtDialogs>([&] { return stationWindow.get(); });
            });
            station->loadSettingsForm();
            stationDriver = std::make_unique<RealTimeDriver>(station->scheduler);
            stationDriver->setSpeed(cl.speed);
            stationDriver->start();
            stationWindow = std::make_unique<StationWindow>(station->state, station->state.form2,
                                                            &station->manual());
        }
        stationWindow->show();
        stationWindow->raise();
    });

    Form1View view(form1);
    view.show();
    driver.start();
    return QApplication::exec();
}

}  // namespace dye
