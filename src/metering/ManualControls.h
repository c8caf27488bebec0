#pragma once

#include <QDir>
#include <QString>

#include <functional>

namespace dye {

struct StationState;

// Screens the settings form's buttons open; each is answered by the screen
// once it exists (unset: the request is ignored).
struct ScreenRequests {
    std::function<void()> showMainScreen;      // Command13 "配方輸入"
    std::function<void()> showLanguageEditor;  // Command15 "語言檔"
    std::function<void()> showProfilePicker;   // Command16 "LINK TYPE"
    std::function<void()> showDyeMixTable;     // Command22 "DYE_MIX"
};

// The service controls of the settings form: each handler writes fixed
// values or the values chosen in the combo boxes into the register image,
// starts a manual metering or a wash, or opens another screen.
class ManualControls {
public:
    ManualControls(StationState& state, QDir workdir, ScreenRequests screens = {});

private:
    StationState& s_;
    QDir workdir_;
    ScreenRequests screens_;
};

}  // namespace dye
