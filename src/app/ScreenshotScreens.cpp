#include "ScreenshotScreens.h"

#include "screens/main/MainScreen.h"
#include "screens/plant/ProfileList.h"
#include "station/StationState.h"
#include "views/CategoryPickerView.h"
#include "views/DyeMixTableView.h"
#include "views/LanguageEditorView.h"
#include "views/PositionFormView.h"
#include "views/ProfileListView.h"
#include "views/RecordsViewerView.h"
#include "views/SingleEntryView.h"
#include "views/StationWindow.h"
#include "views/StationWindows.h"
#include "views/WashTableView.h"

namespace dye {
namespace {

// A screen the main screen brings forward through `request`, and hides by
// its model's Visible flag.
ScreenshotScreen requested(const QString& name, const std::function<void()>& request,
                           QWidget* window, bool* visible) {
    return {name,
            [request, window]() -> QWidget* {
                if (!request || !window) return nullptr;
                request();
                return window;
            },
            [window, visible] {
                if (visible) *visible = false;
                if (window) window->hide();
            }};
}

}  // namespace

std::vector<ScreenshotScreen> screenshotScreens(StationState& state, MainScreen& screen,
                                                StationWindows& windows) {
    const MainScreenRequests& r = screen.requests();
    std::vector<ScreenshotScreen> out;
    out.push_back(requested(QStringLiteral("settings-screen"), r.showSettingsForm,
                            &windows.settingsForm(), &state.form2.Visible));
    out.push_back(requested(QStringLiteral("language-editor"), r.showLanguageEditor,
                            windows.languageEditor(), nullptr));
    out.push_back(requested(QStringLiteral("position-screen"), r.showPositionScreen,
                            windows.positionForm(), &state.form9.Visible));
    out.push_back(requested(QStringLiteral("records-viewer"), r.showRecordsViewer,
                            windows.recordsViewer(), &state.form4.Visible));
    out.push_back(requested(QStringLiteral("single-entry"), r.showSingleEntry,
                            windows.singleEntry(), &state.form7.Visible));
    out.push_back(requested(QStringLiteral("wash-table"), r.showWashTable, windows.washTable(),
                            &state.form10.Visible));
    out.push_back(requested(QStringLiteral("dye-mix-table"), r.showDyeMixTable,
                            windows.dyeMixTable(), &state.form14.Visible));
    CategoryPickerView* picker = &windows.categoryPicker();
    out.push_back(requested(
        QStringLiteral("category-picker"),
        [&state, picker] {
            state.form15.Visible = true;
            picker->render();
        },
        picker, &state.form15.Visible));
    ProfileListView* profiles = windows.profileList();
    out.push_back(requested(
        QStringLiteral("profile-list"),
        [&state, profiles] {
            if (!profiles) return;
            profiles->open();
            pickProfile(state.form8, 0);  // a line chosen, its boxes filled
        },
        profiles, &state.form8.Visible));
    return out;
}

}  // namespace dye
