#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace dye {

class MainScreen;
class StationWindows;
struct StationState;

// Saves pictures of the main screen and the order list window once the
// station meters a job (main-screen.png and order-list.png in the folder),
// then of every screen of screenshotScreens() in each of the three
// languages (NAME-lang0.png .. NAME-lang2.png); the language in use is put
// back after. The application then exits with 0, or with 1 when nothing was
// metered in time or a picture could not be written.
class Screenshots : public QObject {
  public:
    Screenshots(StationState& state, MainScreen& screen, StationWindows& windows, QDir folder,
                int timeoutMs = 5 * 60 * 1000);
    void start();

  private:
    void poll();
    bool rowYellow() const;
    void take();
    bool takeScreens();

    StationState& state_;
    MainScreen& screen_;
    StationWindows& windows_;
    QDir folder_;
    int timeoutMs_;
    QTimer poll_;
    QElapsedTimer elapsed_;
    qint64 meteringSince_ = -1;  // when station 1 was first seen metering
    qint64 yellowSince_ = -1;    // when a grid row was first seen yellow
};

}  // namespace dye
