#pragma once

#include <QDir>
#include <QString>

#include <functional>
#include <map>
#include <optional>

namespace dye {

// What the station has learned of one water pipe (D851 or D985): its rate
// while open (balance units per second) and its run-on, what a timed opening
// of n hundredths gives beyond rate x n / 100 (the water still in the pipe
// when the valve closes, and the valve's own delays).
struct PipeLearning {
    std::optional<double> rate;
    std::optional<double> runOn;
    double rateSpread = 0;   // mean deviation of the rate samples kept
    double runOnSpread = 0;  // mean deviation of the run-on samples kept
    int rateSamples = 0;
    int runOnSamples = 0;
    int rateRejected = 0;  // rate samples refused in a row as outliers
    int runOnRejected = 0;
};

// The learned water figures of both pipes, kept in WATER_LEARNED.txt of the
// working directory (replaced atomically and synced). A file that is not
// whole is set aside byte for byte as WATER_LEARNED_REJECTED.txt with an
// event-log line, and nothing learned is used until new figures are learned.
//
// Learning is robust: a sample far outside what the pipe has shown (beyond
// four mean deviations) is refused, unless three come in a row, which is a
// pipe that has changed; accepted samples move the figure by their mean at
// first and by a fixed share once the pipe has a history, so a drift is
// followed.
class WaterLearning {
  public:
    using Log = std::function<void(const QString&)>;
    WaterLearning(QDir workdir, Log log) : workdir_(std::move(workdir)), log_(std::move(log)) {}

    static QString path(const QDir& workdir);
    static QString rejectedPath(const QDir& workdir);

    // The pipe's figures as the file holds them now (nothing when unknown).
    PipeLearning pipe(int reg);
    // Adds one sample of the pipe's rate / run-on and keeps the file; a
    // refused sample is said in the event log.
    void learnRate(int reg, double rate);
    void learnRunOn(int reg, double runOn);

  private:
    bool load();
    void save();

    QDir workdir_;
    Log log_;
    std::map<int, PipeLearning> pipes_;
};

}  // namespace dye
