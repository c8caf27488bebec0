#pragma once

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace dye {

class MainScreen;
class StationWindows;
struct StationState;

// One screen `scripts/screenshots` takes a picture of in every language:
// the file name's stem, how to bring it up (it returns the window, or
// nullptr when this station has none) and how to put it away again.
struct ScreenshotScreen {
    QString name;
    std::function<QWidget*()> open;
    std::function<void()> close;
};

// The screens pictured in every language. A new screen is one more entry.
std::vector<ScreenshotScreen> screenshotScreens(StationState& state, MainScreen& screen,
                                                StationWindows& windows);

}  // namespace dye
