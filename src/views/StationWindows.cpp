#include "StationWindows.h"

#include <QApplication>
#include <QPushButton>

#include "screens/entry/RecipePicker.h"
#include "screens/entry/SingleEntry.h"
#include "screens/main/MainScreen.h"
#include "screens/position/ManualControls.h"
#include "station/StationState.h"
#include "views/CategoryPickerView.h"
#include "views/ClosingNotice.h"
#include "views/DyeMixTableView.h"
#include "views/IdentifierEntryView.h"
#include "views/LanguageEditorView.h"
#include "views/MainFormView.h"
#include "views/OrderListView.h"
#include "views/PositionFormView.h"
#include "views/ProfileListView.h"
#include "views/RecipePickerView.h"
#include "views/RecordsViewerView.h"
#include "views/SingleEntryView.h"
#include "views/StationWindow.h"
#include "views/WashTableView.h"

namespace dye {
namespace {

void bringForward(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
}

}  // namespace

StationWindows::StationWindows(StationState& state, Handlers h)
    : s_(state),
      screen_(h.screen),
      manual_(h.manual),
      main_(std::make_unique<MainFormView>(state, state.form3, h.screen, h.run, h.keys,
                                           std::move(h.unload))),
      settings_(std::make_unique<StationWindow>(state, state.form2, h.manual, nullptr, h.settings)),
      orderList_(std::make_unique<OrderListView>(state, state.form11, h.screen)),
      notice_(std::make_unique<ClosingNotice>(state.form13)),
      category_(std::make_unique<CategoryPickerView>(state.form15)) {
    if (h.recipes && h.queue) main_->connectEditor(*h.recipes, *h.queue);
    main_->setProjection(h.project);
    MainScreenRequests r;
    r.showSettingsForm = [this] { bringForward(settings_.get()); };
    r.showOrderList = [this] {
        orderList_->render();
        bringForward(orderList_.get());
        main_->hide();
    };
    r.showMainScreen = [this] {
        main_->render();
        bringForward(main_.get());
        orderList_->hide();
    };
    r.showClosingNotice = [this] {
        notice_->render();
        notice_->adjustSize();
        notice_->move(main_->geometry().center() - notice_->rect().center());
        bringForward(notice_.get());
    };
    if (h.singleEntry) {
        singleEntry_ = std::make_unique<SingleEntryView>(state, state.form7, *h.singleEntry);
        r.showSingleEntry = [this, entry = h.singleEntry] {
            entry->open();
            singleEntry_->render();
            bringForward(singleEntry_.get());
        };
    }
    if (h.picker) picker_ = std::make_unique<RecipePickerView>(state, state.form12, *h.picker);
    if (h.identifier)
        identifier_ = std::make_unique<IdentifierEntryView>(state, state.form6, *h.identifier);
    if (h.testInsert)
        if (auto* b = main_->findChild<QPushButton*>(QStringLiteral("Command13")))
            QObject::connect(b, &QPushButton::clicked, b, h.testInsert);
    if (h.records) {
        records_ = std::make_unique<RecordsViewerView>(state.form4, *h.records);
        r.showRecordsViewer = [this] {
            records_->open();
            bringForward(records_.get());
        };
    }
    addSettingsScreens(state, h, r);
    if (h.language) {
        language_ = std::make_unique<LanguageEditorView>(*h.language);
        r.showLanguageEditor = [this] {
            language_->open();
            bringForward(language_.get());
        };
    }
    if (h.manual) {
        profiles_ = std::make_unique<ProfileListView>(state.form8, state.settings);
        ScreenRequests doors;
        doors.showMainScreen = r.showMainScreen;
        doors.showLanguageEditor = r.showLanguageEditor;
        doors.showWashTable = r.showWashTable;
        doors.showDyeMixTable = r.showDyeMixTable;
        doors.showProfilePicker = [this] {
            profiles_->open();
            bringForward(profiles_.get());
        };
        h.manual->setScreens(std::move(doors));
    }
    screen_.setRequests(std::move(r));
}

void StationWindows::addSettingsScreens(StationState& state, const Handlers& h,
                                        MainScreenRequests& r) {
    if (h.positions) {
        positions_ = std::make_unique<PositionFormView>(state, state.form9, *h.positions);
        r.showPositionScreen = [this] {
            positions_->open();
            bringForward(positions_.get());
        };
    }
    if (h.wash) {
        wash_ = std::make_unique<WashTableView>(state.form10, *h.wash);
        r.showWashTable = [this] {
            wash_->open();
            bringForward(wash_.get());
        };
    }
    if (h.dyeMix) {
        dyeMix_ = std::make_unique<DyeMixTableView>(state.form14, *h.dyeMix);
        r.showDyeMixTable = [this] {
            dyeMix_->open();
            bringForward(dyeMix_.get());
        };
    }
}

StationWindows::~StationWindows() {
    screen_.setRequests({});
    if (manual_) manual_->setScreens({});
}

void StationWindows::show() {
    main_->show();
}

void StationWindows::render() {
    main_->render();
    settings_->render();
    orderList_->render();
    notice_->render();
    // The windows opened on demand are drawn while they are shown or their
    // model asks for them, not on every pass while they are hidden.
    const auto draw = [](auto* view, bool wanted) {
        if (view && (wanted || view->isVisible())) view->render();
    };
    draw(singleEntry_.get(), s_.form7.Visible);
    draw(picker_.get(), s_.form12.Visible);
    draw(positions_.get(), s_.form9.Visible);
    draw(wash_.get(), s_.form10.Visible);
    draw(dyeMix_.get(), s_.form14.Visible);
    draw(category_.get(), s_.form15.Visible);
    draw(language_.get(), false);
    draw(profiles_.get(), s_.form8.Visible);
    draw(identifier_.get(), s_.form6.Visible);
}

QWidget* StationWindows::front() const {
    const QWidget* active = QApplication::activeWindow();
    for (QWidget* w : {static_cast<QWidget*>(main_.get()), static_cast<QWidget*>(settings_.get()),
                       static_cast<QWidget*>(orderList_.get())})
        if (w == active && w->isVisible()) return w;
    // The windows that exist only with their handlers.
    for (QWidget* w :
         {static_cast<QWidget*>(singleEntry_.get()), static_cast<QWidget*>(picker_.get()),
          static_cast<QWidget*>(records_.get()), static_cast<QWidget*>(positions_.get()),
          static_cast<QWidget*>(wash_.get()), static_cast<QWidget*>(dyeMix_.get()),
          static_cast<QWidget*>(category_.get()), static_cast<QWidget*>(language_.get()),
          static_cast<QWidget*>(identifier_.get()), static_cast<QWidget*>(profiles_.get())})
        if (w && w == active && w->isVisible()) return w;
    if (!main_->isVisible() && orderList_->isVisible()) return orderList_.get();
    return main_.get();
}

}  // namespace dye
