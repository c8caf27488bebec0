// The main screen, the order list window and the single entry window on the
// offscreen platform, with the station on the simulator in virtual time; the
// records viewer window.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "app/GuiApp.h"
#include "app/WindowHandlers.h"
#include "files/records/DailyRecord.h"
#include "files/settings/MixFiles.h"
#include "run/RunFixture.h"
#include "screens/records/RecordsViewer.h"
#include "views/ClosingNotice.h"
#include "views/MainFormView.h"
#include "views/ModelWidgets.h"
#include "views/OrderListView.h"
#include "views/RecordsViewerView.h"
#include "views/SingleEntryView.h"
#include "views/StationWindows.h"

namespace dye::test {
namespace {

class MainFormViewTest : public RunFixture {
  protected:
    std::unique_ptr<StationWindows> windows;

    void open(std::map<int, QString> fields = {}) {
        ensureGuiApp();
        valve(3, QStringLiteral("RED"), QStringLiteral("20"));
        startRun(std::move(fields));
        windows = std::make_unique<StationWindows>(state(), windowHandlers(*station));
        windows->show();
    }
    MainFormView& main() { return windows->mainForm(); }
    QLabel* label(const char* name) { return main().findChild<QLabel*>(name); }
    // Runs the station until `done` holds for what the main screen shows.
    template <typename Pred>
    bool shows(Pred done) {
        return runUntil([&] {
            main().render();
            return done();
        });
    }
};

TEST_F(MainFormViewTest, QueuedJobFillsTheGridAndStopKeepsItOnPink) {
    open();
    queue(job("A-1", "7", "500", {{0, {"RED", "40"}}}));
    auto* queueList = main().findChild<QListWidget*>("List2");
    ASSERT_TRUE(shows([&] { return queueList->count() == 1; }));
    EXPECT_EQ(queueList->item(0)->text(), "A-1---7");

    ASSERT_TRUE(shows([&] { return label("Label4_0")->text() == "RED"; }));
    EXPECT_EQ(label("Label2")->text(), "A-1");
    EXPECT_EQ(label("Label5")->text(), "7");
    EXPECT_EQ(label("Label4_10")->text(), "40");  // recipe weight
    EXPECT_EQ(label("Label4_20")->text(), "3");   // tube
    // The row being metered turns yellow and its actual weight shows.
    QLabel* code = label("Label4_0");
    ASSERT_TRUE(shows([&] { return code->autoFillBackground(); }));
    EXPECT_EQ(code->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_FALSE(label("Label4_30")->text().isEmpty());

    // Closing during the job asks first; No keeps the station and the job.
    main().close();
    ASSERT_TRUE(station->headlessDialogs()->answer(-1, 1));
    EXPECT_FALSE(windows->closingNotice().isVisible());
    EXPECT_FALSE(station->quitRequested());
    EXPECT_EQ(order(), "A-1");

    main().findChild<QPushButton*>("Command8")->click();
    EXPECT_EQ(label("Label4_0")->text(), "RED");
    EXPECT_EQ(label("Label2")->text().trimmed(), "A-1");
    EXPECT_EQ(label("Label10_0")->text(), "<STOP>");
    EXPECT_EQ(main().centralWidget()->palette().color(QPalette::Window), QColor(255, 200, 200));
}

TEST_F(MainFormViewTest, WindowsFollowTheRunIndicatorAndTheClose) {
    open();
    QTest::mouseDClick(label("Label8"), Qt::LeftButton);
    EXPECT_TRUE(windows->orderList().isVisible());
    EXPECT_FALSE(main().isVisible());
    windows->orderList().close();  // by its frame
    EXPECT_TRUE(main().isVisible());
    EXPECT_FALSE(windows->orderList().isVisible());

    // Closing the main screen unloads the station: the notice shows, the
    // window stays until the program ends.
    main().close();
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(windows->closingNotice().isVisible());
    EXPECT_TRUE(runUntil([&] { return station->quitRequested(); }, 10000));
}

TEST_F(MainFormViewTest, EditsAndKeysReachTheModel) {
    open();
    // Every entry box of the recipe entry names what goes in it.
    EXPECT_EQ(main().findChild<QLineEdit*>("Text2")->placeholderText(), "單號");
    EXPECT_EQ(main().findChild<QLineEdit*>("Text1_12")->placeholderText(), "配方重 3");
    main().findChild<QCheckBox*>("Check1")->click();
    EXPECT_TRUE(form3().Check1.Value);
    EXPECT_TRUE(state().form2.Check2);  // the settings form's D985 follows

    form3().List1.items = {"R-2", "R-1"};
    main().render();
    auto* recipes = main().findChild<QListWidget*>("List1");
    recipes->setCurrentRow(1);
    EXPECT_EQ(form3().List1.ListIndex, 1);
    QTest::keyClicks(main().findChild<QLineEdit*>("Text1_3"), "RED");
    EXPECT_EQ(form3().Text1[3], "RED");

    main().findChild<QAction*>("STOP")->trigger();
    QCoreApplication::processEvents();  // menu entries act once the menu has closed
    EXPECT_EQ(main().findChild<QCheckBox*>("Check1")->palette().color(QPalette::Window),
              QColor(255, 200, 200));

    // F1 counts once per press: the keyboard's repeats (a release and a press
    // each) are not new presses.
    QTest::keyPress(&main(), Qt::Key_F1);
    EXPECT_EQ(station->keys().GetAsyncKeyState(KeyState::VK_F1), -32767);
    for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeat(type, Qt::Key_F1, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&main(), &repeat);
    }
    EXPECT_EQ(station->keys().GetAsyncKeyState(KeyState::VK_F1), -32768);
    QTest::keyRelease(&main(), Qt::Key_F1);
    EXPECT_EQ(station->keys().GetAsyncKeyState(KeyState::VK_F1), 0);

    form3().Status = "no bucket place";
    main().render();
    EXPECT_TRUE(label("Status")->isVisible());
    EXPECT_EQ(label("Status")->text(), "no bucket place");
}

// A double-click on the Label13 widget reaches the main screen: every mark
// of MIX_C.txt is cleared and the label shows 0.
TEST_F(MainFormViewTest, Label13DoubleClickClearsTheMixMarks) {
    open();
    const QString path = mixMarksPath(QDir(dir.path()), state().settings);
    QByteArray marked(60, '\0');
    marked[4] = 1;
    marked[12] = 1;
    ASSERT_TRUE(writeFile(path, marked));
    main().render();
    QTest::mouseDClick(label("Label13"), Qt::LeftButton);
    QList<qint16> marks;
    ASSERT_TRUE(loadMixMarks(path, marks));
    EXPECT_EQ(marks, QList<qint16>(30, 0));
    EXPECT_EQ(form3().Label13.Caption, "0");
}

// The single entry window, opened by Command11 with the quick-metering code
// (offered on a conveyor machine, type 4) or by F1, filled in and queued.
TEST_F(MainFormViewTest, SingleEntryOpenedByCommand11WithTheCodeOrByF1AndQueued) {
    valve(1, QStringLiteral("R-101"), QStringLiteral("20"));
    open({{5, "4"}});
    TeachSlot place = state().settings.teachSlot(3);
    place.name = QStringLiteral("B3");
    state().settings.setTeachSlot(3, place);
    SingleEntryView& entry = *windows->singleEntry();
    const auto combo = [&](const char* name) { return entry.findChild<QComboBox*>(name); };
    const auto button = [&](const char* name) { return entry.findChild<QPushButton*>(name); };
    HeadlessDialogs& dialogs = *station->headlessDialogs();
    const qsizetype messages = dialogs.messages().size();  // the load's, if any
    dialogs.scriptInput({"1234", QString(), "4271"});
    auto* quick = main().findChild<QPushButton*>("Command11");
    ASSERT_TRUE(quick->isEnabled());
    quick->click();  // a wrong code
    quick->click();  // Cancel
    EXPECT_FALSE(entry.isVisible());
    EXPECT_EQ(dialogs.messages().size(), messages);  // a wrong code is ignored silently
    quick->click();
    EXPECT_EQ(dialogs.prompts(), QStringList({"password", "password", "password"}));
    EXPECT_TRUE(entry.isVisible());
    EXPECT_EQ(combo("Combo1")->itemText(0), "R-101");
    auto* list = entry.findChild<QListWidget*>("List1");
    EXPECT_EQ(list->item(0)->text(), "R-101     ");

    entry.close();
    EXPECT_FALSE(state().form7.Visible);
    QTest::keyPress(&main(), Qt::Key_F1);
    QTest::keyRelease(&main(), Qt::Key_F1);
    station->scheduler.advance(100);
    ASSERT_TRUE(entry.isVisible());

    // The list line puts the code alone into the box; a preset is picked,
    // corrected on the keypad; the place is picked; the entry is queued.
    QTest::keyClicks(combo("Combo1")->lineEdit(), "R-10");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(combo("Combo1")->currentText(), "R-101");
    combo("Combo2")->setCurrentIndex(1);  // the preset " 1000"
    button("Command2_10")->click();
    button("Command2_5")->click();
    EXPECT_EQ(combo("Combo2")->currentText(), "1005");
    combo("Combo3")->setCurrentIndex(combo("Combo3")->findText("B3"));
    button("Command1")->click();

    EXPECT_FALSE(entry.isVisible());
    const QList<JobRecord> queue = jobQueueFile(QDir(dir.path())).records();
    ASSERT_EQ(queue.size(), 1);
    EXPECT_EQ(queue[0].OrderNo, "<<<single>>>");
    EXPECT_EQ(queue[0].Code[0], "R-101");
    EXPECT_EQ(queue[0].Weight[0], "1005");
    EXPECT_EQ(queue[0].BucketNo, "B3");
}

TEST(PictureBoxTest, KeepsItsBitmapWhenAFileCannotBeRead) {
    ensureGuiApp();
    QTemporaryDir dir;
    const QString red = dir.filePath("red.bmp");
    QImage image(240, 180, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(red));

    PictureBox box;
    box.display(Picture{red, QString()});
    const QImage shown = box.pixmap().toImage();
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::red));
    box.display(Picture{dir.filePath("missing.bmp"), QString()});
    EXPECT_EQ(box.pixmap().toImage(), shown);
    // The number is drawn in white near the middle of the picture.
    box.display(Picture{dir.filePath("missing.bmp"), "7"});
    const QImage numbered = box.pixmap().toImage();
    bool white = false;
    for (int y = 67; y < 110 && !white; ++y)
        for (int x = 87; x < 120 && !white; ++x) white = numbered.pixelColor(x, y) == Qt::white;
    EXPECT_TRUE(white);
}

// The records viewer window: its column headers stay over the columns when
// the long record lines are scrolled sideways, and the line under the search
// says what the list shows.
TEST(RecordsViewerView, HeadersScrollWithTheLinesAndAnEmptySearchIsSaid) {
    ensureGuiApp();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("data")));
    DailyRecord r;
    r.OrderNo = QStringLiteral("AB-7");
    r.setFinishTime(QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("data/DATE_202612.txt")), r.toBytes()));

    Scheduler scheduler;
    HeadlessDialogs dialogs(scheduler);
    MachineSettings settings;
    settings.setText1(9, QStringLiteral("1"));
    Form4 form;
    RecordsViewer viewer(form, settings, QDir(dir.path()), dialogs);
    RecordsViewerView view(form, viewer);
    view.resize(500, 400);
    view.open();
    view.show();
    auto* files = view.findChild<QListWidget*>(QStringLiteral("List2"));
    ASSERT_EQ(files->count(), 1);
    files->item(0)->setSelected(true);
    QApplication::processEvents();  // the list lays its lines out

    auto* header = view.findChild<QLabel*>(QStringLiteral("Label2"));
    auto* lines = view.findChild<QListWidget*>(QStringLiteral("List1"));
    ASSERT_EQ(lines->count(), 1);
    EXPECT_TRUE(header->text().startsWith(QStringLiteral("Order No.")));
    EXPECT_EQ(header->font(), lines->font());
    QScrollBar* sideways = lines->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    sideways->setValue(sideways->maximum() / 2);
    EXPECT_EQ(view.findChild<QScrollArea*>()->horizontalScrollBar()->value(),
              sideways->maximum() / 2);

    auto* search = view.findChild<QLineEdit*>(QStringLiteral("Text1"));
    search->setText(QStringLiteral("##8"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(lines->count(), 0);
    EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
              QStringLiteral("No record matches \"##8\""));
    search->setText(QStringLiteral("ab-7"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(lines->count(), 1);
}

}  // namespace
}  // namespace dye::test
