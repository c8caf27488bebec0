#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace dye {

class StationWindows;
struct StationState;

// Saves pictures of the main screen and the order list window once the
// station meters a job: main-screen.png and order-list.png in the folder.
// The application then exits with 0, or with 1 when nothing was metered in
// time or a picture could not be written.
class Screenshots : public QObject {
  public:
    Screenshots(const StationState& state, StationWindows& windows, QDir folder,
                int timeoutMs = 5 * 60 * 1000);
    void start();

  private:
    void poll();
    bool rowYellow() const;
    void take();

    const StationState& state_;
    StationWindows& windows_;
    QDir folder_;
    int timeoutMs_;
    QTimer poll_;
    QElapsedTimer elapsed_;
    qint64 meteringSince_ = -1;  // when station 1 was first seen metering
    qint64 yellowSince_ = -1;    // when a grid row was first seen yellow
};

}  // namespace dye
