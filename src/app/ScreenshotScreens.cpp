#include "ScreenshotScreens.h"

#include "plant/ProfileList.h"
#include "run/MainScreen.h"
#include "station/StationState.h"
#include "ui/CategoryPickerView.h"
#include "ui/DyeMixTableView.h"
#include "ui/LanguageEditorView.h"
#include "ui/PositionFormView.h"
#include "ui/ProfileListView.h"
#include "ui/RecordsViewerView.h"
#include "ui/SingleEntryView.h"
#include "ui/StationWindow.h"
#include "ui/StationWindows.h"
#include "ui/WashTableView.h"

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
