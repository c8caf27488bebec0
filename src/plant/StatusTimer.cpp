#include "plant/StatusTimer.h"

#include "core/Val.h"
#include "plant/PlantDatabase.h"
#include "plant/PlantService.h"
#include "plant/PlantSession.h"
#include "plant/PlantSource.h"
#include "plant/WriteBackStatements.h"
#include "station/StationState.h"

namespace dye {

StatusTimer::StatusTimer(StationState& state, PlantService& plant, std::function<bool()> jobLoaded,
                         std::function<int()> queueLength, std::function<void()> showEntry)
    : s_(state),
      plant_(plant),
      jobLoaded_(std::move(jobLoaded)),
      queueLength_(std::move(queueLength)),
      showEntry_(std::move(showEntry)),
      mixers_(state, QDir(plant.workdirPath(QStringLiteral("."))),
              [&plant](const QString& line) { plant.log(line); }) {}

void StatusTimer::tick() {
    const RunOptions options = s_.options();
    if (options.identifierEntry && showEntry_) showEntry_();
    if (plant_.outboxWaiting()) plant_.flushOutbox();
    if (plant_.siteProfile() == SiteProfile::Draymor) postStatus();
    if (!options.mixers) return;

    mixers_.tick(jobLoaded_ && jobLoaded_());
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

}  // namespace dye
