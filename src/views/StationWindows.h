#pragma once

#include <functional>
#include <memory>

class QWidget;

namespace dye {

class CategoryPickerView;
class ClosingNotice;
class DyeMixTableView;
class IdentifierEntry;
class IdentifierEntryView;
class KeyState;
class LanguageEditor;
class LanguageEditorView;
class MainFormView;
class MainScreen;
class ManualControls;
class OrderListView;
class PositionFormView;
class PositionScreen;
class ProfileListView;
class QueueEditor;
class RecipeEditor;
class RecipePicker;
class RecipePickerView;
class RecordsViewer;
class RecordsViewerView;
class RunControl;
class DyeMixTable;
class WashTable;
class WashTableView;
class SettingsEditor;
class SingleEntry;
class SingleEntryView;
class StationWindow;
struct MainScreenRequests;
struct StationState;

// The station's windows: the main screen, the settings form, the order list
// window and the closing notice. It answers the main screen's requests to
// bring a screen forward by showing and hiding them.
class StationWindows {
  public:
    struct Handlers {
        MainScreen& screen;
        RunControl& run;
        KeyState& keys;
        ManualControls* manual = nullptr;       // the settings form's service controls
        std::function<void()> unload;           // closing the main screen
        RecipeEditor* recipes = nullptr;        // the recipe editor's handlers
        QueueEditor* queue = nullptr;           // queueing and queue deletion
        SingleEntry* singleEntry = nullptr;     // Form7, opened by F1 and Command11
        RecipePicker* picker = nullptr;         // Form12
        RecordsViewer* records = nullptr;       // the records viewer's handlers
        PositionScreen* positions = nullptr;    // Form9, from POS_SETTING
        WashTable* wash = nullptr;              // Form10
        DyeMixTable* dyeMix = nullptr;          // Form14
        SettingsEditor* settings = nullptr;     // the settings form's fields
        LanguageEditor* language = nullptr;     // Form5
        IdentifierEntry* identifier = nullptr;  // Form6, brought up by AUTO IN
        std::function<void()> testInsert;       // the main screen's Command13
        std::function<void()> project;          // the screen models brought up to date
    };

    // Every window reads the station as a snapshot; each is handed the one
    // screen model its input goes into.
    StationWindows(StationState& state, Handlers handlers);
    ~StationWindows();
    StationWindows(const StationWindows&) = delete;
    StationWindows& operator=(const StationWindows&) = delete;

    // Shows the main screen.
    void show();
    // Shows the models as they are now: the station calls it once per
    // scheduler pass in which something happened.
    void render();

    // The screen the operator has in front, which a message is modal to: the
    // active station window, else the main screen or the order list window
    // that replaces it.
    QWidget* front() const;

    MainFormView& mainForm() { return *main_; }
    StationWindow& settingsForm() { return *settings_; }
    OrderListView& orderList() { return *orderList_; }
    ClosingNotice& closingNotice() { return *notice_; }
    // Made only when the handlers are given.
    SingleEntryView* singleEntry() { return singleEntry_.get(); }
    RecipePickerView* picker() { return picker_.get(); }
    PositionFormView* positionForm() { return positions_.get(); }
    RecordsViewerView* recordsViewer() { return records_.get(); }
    WashTableView* washTable() { return wash_.get(); }
    DyeMixTableView* dyeMixTable() { return dyeMix_.get(); }
    CategoryPickerView& categoryPicker() { return *category_; }
    LanguageEditorView* languageEditor() { return language_.get(); }
    // Made with the settings form's service controls, whose "LINK TYPE" opens it.
    ProfileListView* profileList() { return profiles_.get(); }

  private:
    // The position screen, the wash and dye-mix tables, each when its
    // handlers are given, and their requests.
    void addSettingsScreens(StationState& state, const Handlers& h, MainScreenRequests& r);

    const StationState& s_;
    MainScreen& screen_;
    ManualControls* manual_;
    std::unique_ptr<MainFormView> main_;
    std::unique_ptr<StationWindow> settings_;
    std::unique_ptr<OrderListView> orderList_;
    std::unique_ptr<ClosingNotice> notice_;
    std::unique_ptr<SingleEntryView> singleEntry_;
    std::unique_ptr<RecipePickerView> picker_;
    std::unique_ptr<IdentifierEntryView> identifier_;
    std::unique_ptr<RecordsViewerView> records_;  // none without its handlers
    std::unique_ptr<PositionFormView> positions_;
    std::unique_ptr<WashTableView> wash_;
    std::unique_ptr<DyeMixTableView> dyeMix_;
    std::unique_ptr<CategoryPickerView> category_;
    std::unique_ptr<LanguageEditorView> language_;
    std::unique_ptr<ProfileListView> profiles_;
};

}  // namespace dye
