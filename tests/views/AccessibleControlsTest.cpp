// Every window of the station names its controls for screen readers and
// test robots: a name a person reads, in the current language, and a
// description naming the control on its form, the same in every language.
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

#include <map>

#include "app/GuiApp.h"
#include "app/WindowHandlers.h"
#include "files/language/LanguageFile.h"
#include "run/RunFixture.h"
#include "screens/LinkTestBench.h"
#include "screens/main/ApplyLanguage.h"
#include "views/CategoryPickerView.h"
#include "views/ClosingNotice.h"
#include "views/DyeMixTableView.h"
#include "views/Form1View.h"
#include "views/MainFormView.h"
#include "views/OrderListView.h"
#include "views/PositionFormView.h"
#include "views/ProfileListView.h"
#include "views/RecipePickerView.h"
#include "views/SingleEntryView.h"
#include "views/StationWindow.h"
#include "views/StationWindows.h"
#include "views/WashTableView.h"

namespace dye::test {
namespace {

bool isControl(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QGroupBox*>(w) ||
           qobject_cast<const QMenuBar*>(w) || qobject_cast<const QMenu*>(w);
}

// An entry box, list or menu: its caption is elsewhere, so it is named explicitly.
bool namedApart(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QMenu*>(w);
}

// Qt's own helpers: named "qt_...", or the menu bar's overflow menu (a menu
// of the bar that is none of its entries).
bool qtOwn(const QWidget* w) {
    if (w->objectName().startsWith(QLatin1String("qt_"))) return true;
    const auto* menu = qobject_cast<const QMenu*>(w);
    const auto* bar = qobject_cast<const QMenuBar*>(w->parentWidget());
    return menu && bar && !bar->actions().contains(menu->menuAction());
}

// The scroll area a window's controls sit in, and its viewport: layout, not
// controls.
bool windowScroller(const QWidget* w) {
    const QWidget* area =
        w && w->objectName() == QLatin1String("qt_scrollarea_viewport") ? w->parentWidget() : w;
    return qobject_cast<const QScrollArea*>(area) &&
           area->objectName() == QLatin1String("Scroller");
}

// The controls of a window a person can see or operate; the inner parts of a
// combo box or a list, and Qt's own helpers with theirs, belong to their control.
QList<QWidget*> controlsOf(QWidget* window) {
    QList<QWidget*> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (qtOwn(w) || !isControl(w) || windowScroller(w)) continue;
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
            inner = inner || (!windowScroller(p) && (qtOwn(p) || qobject_cast<QComboBox*>(p) ||
                                                     qobject_cast<QAbstractScrollArea*>(p)));
        if (!inner) out << w;
    }
    return out;
}

QString accessibleText(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(t) : QString();
}

// Checks a window and returns its controls by description.
std::map<QString, QWidget*> checkWindow(QWidget* window, const QString& form, int atLeast) {
    EXPECT_EQ(accessibleText(window, QAccessible::Description), form);
    std::map<QString, QWidget*> byId;
    const QList<QWidget*> controls = controlsOf(window);
    EXPECT_GE(controls.size(), atLeast) << form.toStdString();
    for (QWidget* w : controls) {
        const QString id = accessibleText(w, QAccessible::Description);
        const std::string what = form.toStdString() + " " + w->metaObject()->className() + " " +
                                 w->objectName().toStdString();
        EXPECT_TRUE(id.startsWith(form + QLatin1Char('.')))
            << what << " described as \"" << id.toStdString() << "\"";
        EXPECT_TRUE(byId.emplace(id, w).second) << what << ": " << id.toStdString() << " twice";
        if (namedApart(w)) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << what << " has no name";
        }
    }
    return byId;
}

class AccessibleControlsTest : public RunFixture {
  protected:
    std::unique_ptr<StationWindows> windows;

    void open() {
        ensureGuiApp();
        startRun();
        // Entry i of the language table reads "T<i>".
        QList<QByteArray> records;
        for (int i = 0; i < 360; ++i)
            records << QStringLiteral("T%1").arg(i).toLatin1().leftJustified(
                LanguageFile::kRecordLength);
        station->lang().fill(records);
        language("0");
        windows = std::make_unique<StationWindows>(state(), windowHandlers(*station));
        windows->show();
    }
    void language(const char* field) {
        state().settings.setText1(9, QString::fromLatin1(field));
        ApplyLanguage(state(), station->lang());
    }
};

TEST_F(AccessibleControlsTest, EveryControlOfEveryStationWindowIsDescribedOnceByItsDesignerName) {
    open();
    auto main = checkWindow(&windows->mainForm(), "Form3", 150);
    for (const char* id : {"Form3.Text1(19)", "Form3.Label4(59)", "Form3.Label12(0)", "Form3.TOOL"})
        EXPECT_TRUE(main.count(id)) << id;
    // Buttons and labels are named by their captions.
    EXPECT_EQ(accessibleText(main.at("Form3.Command9"), QAccessible::Name),
              state().form3.Command9.Caption);

    auto settings = checkWindow(&windows->settingsForm(), "Form2", 40);
    EXPECT_TRUE(settings.count("Form2.Label7(10)"));
    EXPECT_EQ(settings.at("Form2.Text5")->accessibleName(), "<1> T30");

    checkWindow(&windows->orderList(), "Form11", 15);
    checkWindow(&windows->closingNotice(), "Form13", 1);
    auto single = checkWindow(windows->singleEntry(), "Form7", 18);
    EXPECT_TRUE(single.count("Form7.Command2(10)"));
    EXPECT_EQ(single.at("Form7.Combo2")->accessibleName(), "T9");
    EXPECT_EQ(single.at("Form7.Combo3")->accessibleName(), "T4");
    checkWindow(windows->picker(), "Form12", 1);
    auto positions = checkWindow(windows->positionForm(), "Form9", 340);
    EXPECT_EQ(positions.at("Form9.Text2(68)")->accessibleName(), "Y 5");
    EXPECT_EQ(positions.at("Form9.Text2(255)")->accessibleName(), "T54 64");
    EXPECT_TRUE(positions.count("Form9.Label4(63)"));
    auto wash = checkWindow(windows->washTable(), "Form10", 192);
    EXPECT_EQ(wash.at("Form10.Text1(68)")->accessibleName(), "清洗水秒數 5");
    checkWindow(windows->dyeMixTable(), "Form14", 60);
    checkWindow(&windows->categoryPicker(), "Form15", 4);
    checkWindow(windows->profileList(), "Form8", 3);

    LinkTestBench bench;
    Form1View linkTest(bench.form);
    auto link = checkWindow(&linkTest, "Form1", 25);
    EXPECT_EQ(link.at("Form1.Text1(2)")->accessibleName(), "寫入 起始D");
}

TEST_F(AccessibleControlsTest, NamesFollowTheLanguageAndDescriptionsStay) {
    open();
    MainFormView& main = windows->mainForm();
    auto* code = main.findChild<QLineEdit*>("Text1_0");
    auto* weight = main.findChild<QLineEdit*>("Text1_13");
    auto* queue = main.findChild<QListWidget*>("List2");
    auto* toolMenu = main.findChild<QMenu*>("TOOL");
    // Column captions of the grid (code: entry 7, recipe weight: entry 9) and the line number.
    EXPECT_EQ(code->accessibleName(), "T7 1");
    EXPECT_EQ(weight->accessibleName(), "T9 4");
    EXPECT_EQ(queue->accessibleName(), "T13 / T14 / T15");
    EXPECT_EQ(toolMenu->accessibleName(), "T72");
    EXPECT_EQ(windows->orderList().findChild<QListWidget*>("List2")->accessibleName(),
              "T7 = T8 = T9 = T10 = T11 = T12");

    language("1");
    main.render();
    windows->settingsForm().render();
    EXPECT_EQ(code->accessibleName(), "T127 1");
    EXPECT_EQ(weight->accessibleName(), "T129 4");
    EXPECT_EQ(toolMenu->accessibleName(), "T192");
    EXPECT_EQ(windows->settingsForm().findChild<QLineEdit*>("Text6")->accessibleName(), "<2> T150");
    EXPECT_EQ(accessibleText(code, QAccessible::Description), "Form3.Text1(0)");
    EXPECT_EQ(accessibleText(weight, QAccessible::Description), "Form3.Text1(13)");
}

// The link test window forwards its clicks and shows the screen's log.
TEST(LinkTestScreenView, ForwardsClicksAndShowsTheLog) {
    ensureGuiApp();
    LinkTestBench b;
    Form1View view(b.form);
    view.findChild<QLineEdit*>("Text1_0")->setText("274");  // the read start
    view.findChild<QLineEdit*>("Text1_1")->setText("1");
    view.findChild<QPushButton*>("Command1")->click();
    b.waitForAnswer();
    view.render();
    EXPECT_TRUE(view.findChild<QPlainTextEdit*>()->toPlainText().contains("D274   =   45"));
}

// On a 1366 x 768 operator display (less a title bar and a task bar) the
// main screen, the settings screen and the position screen can be shown
// whole, scrolling what does not fit, in every language.
TEST_F(AccessibleControlsTest, TheBigScreensFitASmallDisplay) {
    open();
    const QSize display(1366, 768 - 70);
    for (const char* field : {"0", "1", "2"}) {
        language(field);
        windows->mainForm().render();
        windows->settingsForm().render();
        ASSERT_NE(windows->positionForm(), nullptr);
        for (QWidget* w : {static_cast<QWidget*>(&windows->mainForm()),
                           static_cast<QWidget*>(&windows->settingsForm()),
                           static_cast<QWidget*>(windows->positionForm())}) {
            const QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
            EXPECT_LE(least.width(), display.width()) << w->objectName().toStdString() << field;
            EXPECT_LE(least.height(), display.height()) << w->objectName().toStdString() << field;
        }
    }
}

}  // namespace
}  // namespace dye::test
