#pragma once

#include <functional>

#include "run/RunContext.h"

namespace dye {

// Screens the main screen brings forward. The views decide how to show them;
// the headless station ignores them.
struct MainScreenRequests {
    std::function<void()> showSettingsForm;    // Command10 "設定", SETTING
    std::function<void()> showRecordsViewer;   // Command7 "計量資料", DATA
    std::function<void()> showSingleEntry;     // F1, Command11
    std::function<void()> showOrderList;       // Label8 double-click
    std::function<void()> showMainScreen;      // the order list window's Label1 double-click
    std::function<void()> showClosingNotice;   // unload
    std::function<void()> showPositionScreen;  // POS_SETTING, after the access code
    std::function<void()> showLanguageEditor;  // langage
    // The settings screen's doors: the "洗桶次數" double-click and "DYE_MIX".
    std::function<void()> showWashTable;
    std::function<void()> showDyeMixTable;
};

// The status timer's mixer counts, which the main screen's labels reset.
struct MainScreenMixers {
    std::function<void()> restartMixCount;  // Label13 double-click
    std::function<void()> startIdleMixing;  // Label20 double-click
};

// The access code of the quick metering (Command11).
inline constexpr char kQuickMeteringCode[] = "4271";

// The main screen's load and unload and its small handlers.
class MainScreen {
  public:
    explicit MainScreen(RunContext ctx) : c_(std::move(ctx)) {}
    void setRequests(MainScreenRequests r) { requests_ = std::move(r); }
    const MainScreenRequests& requests() const { return requests_; }
    void setMixers(MainScreenMixers m) { mixers_ = std::move(m); }

    // The program's start-up outside the serial link: the
    // settings form, the lists, the language, the bucket and mix files, the
    // timers and the controls of the machine type. `loadSettingsForm` loads
    // the settings form (files, timers, port).
    void load(const std::function<void()>& loadSettingsForm);
    // Unloading: switch every output off, show the closing notice and end
    // the program two seconds later through `requestProgramEnd`.
    void unload(const std::function<void()>& requestProgramEnd);
    // Closing the main screen: while a job runs (on the machine, the run's
    // timers armed) the operator is asked first (Yes runs `unload`, No keeps the station running);
    // with none `unload` runs at once. A close while the question is open adds nothing.
    void askToClose(std::function<void()> unload);

    void d985Clicked();  // D985: also checks the settings form's box
    void showRecords();  // records viewer
    // "設定": the settings form, read-only until the access code is given on it.
    void showSettings();
    // SETTING and POS_SETTING: the access code (not during a transfer), then
    // the settings form (editable) or the position screen.
    void unlockSettings();
    void unlockPositions();
    void showLanguageEditor();  // the language editor
    // The technician view on (after the access code) or off.
    void toggleTechnicianView();
    // "快速計量": the quick-metering access code, then the single entry. A
    // wrong code or Cancel does nothing.
    void quickMetering();
    void requestWash();           // wash request
    void showOrderListInstead();  // order list window instead of the main screen
    // Every mix mark of MIX_C.txt cleared, the label at "0" and the mixer
    // count from 0: a job's marks that nothing else clears are let go.
    void clearMixMarks();
    // The idle count at 7200: the idle mixing cycle starts at the next
    // status tick when its other conditions hold.
    void startIdleMixing();

    // The order list window (Form11).
    void fillOrderList();
    void backFromOrderList();  // back to the main screen
    void closeOrderList();

    // Applies the captions of the current language to every screen.
    void ApplyLanguage();

  private:
    RunContext c_;
    MainScreenRequests requests_;
    MainScreenMixers mixers_;
    bool closeAsked_ = false;  // the closing question is on the screen
};

}  // namespace dye
