// Messages in real windows on the offscreen platform: one box at a time, in
// the order they came, each continuation only on its OK, and a station that
// keeps running under the box while the alarmed sequence stays parked.
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/GuiApp.h"
#include "app/StationFixture.h"
#include "link/TimedRoutine.h"
#include "machine/StationMetering.h"
#include "views/QtDialogs.h"

namespace dye::test {
namespace {

QList<QMessageBox*> shownBoxes() {
    QList<QMessageBox*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) out << box;
    return out;
}

void pressOk(QMessageBox* box) {
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Ok)->click();
}

TEST(QtDialogs, MessagesWaitTheirTurnAndEachContinuationRunsOnItsOk) {
    ensureGuiApp();
    QWidget screen;
    screen.show();
    QtDialogs dialogs([&] { return &screen; });
    QStringList done;
    dialogs.message("one", "ALARM", [&] {
        done << "one";
        // Raised by a continuation: behind the messages that came before it.
        dialogs.message("three", "", [&] { done << "three"; });
    });
    dialogs.message("two", "", [&] { done << "two"; });

    // message() returned at once, with the first box open and nothing answered.
    QMessageBox* box = dialogs.openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(shownBoxes(), QList<QMessageBox*>{box});
    EXPECT_EQ(box->text(), "one");
    EXPECT_EQ(box->windowTitle(), "ALARM");
    EXPECT_EQ(box->parentWidget(), &screen);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialogs.waiting(), 1);
    EXPECT_TRUE(done.isEmpty());

    pressOk(box);
    EXPECT_EQ(done, QStringList{"one"});
    ASSERT_NE(dialogs.openBox(), nullptr);
    EXPECT_EQ(dialogs.openBox()->text(), "two");
    pressOk(dialogs.openBox());
    EXPECT_EQ(done, (QStringList{"one", "two"}));

    // Escape (or the frame's close) acknowledges too: no alarm is left unanswered.
    ASSERT_NE(dialogs.openBox(), nullptr);
    EXPECT_EQ(dialogs.openBox()->text(), "three");
    QTest::keyClick(dialogs.openBox(), Qt::Key_Escape);
    EXPECT_EQ(done, (QStringList{"one", "two", "three"}));
    EXPECT_EQ(dialogs.openBox(), nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shownBoxes().isEmpty());
}

TEST(QtDialogs, BoxesFollowTheScreenInFrontAndBlockTheWholeProgramBeforeThereIsOne) {
    ensureGuiApp();
    QWidget first, second;
    QWidget* front = nullptr;
    QtDialogs dialogs([&] { return front; });
    int acks = 0;
    dialogs.message("at start-up", "", [&] { ++acks; });
    ASSERT_NE(dialogs.openBox(), nullptr);
    EXPECT_EQ(dialogs.openBox()->parentWidget(), nullptr);
    EXPECT_EQ(dialogs.openBox()->windowModality(), Qt::ApplicationModal);

    front = &first;
    dialogs.message("raised on the first screen", "", [&] { ++acks; });
    front = &second;  // the screen in front changed while the message waited
    pressOk(dialogs.openBox());
    ASSERT_NE(dialogs.openBox(), nullptr);
    EXPECT_EQ(dialogs.openBox()->parentWidget(), &second);
    EXPECT_EQ(dialogs.openBox()->windowModality(), Qt::WindowModal);
    pressOk(dialogs.openBox());
    EXPECT_EQ(acks, 2);
}

TEST(QtDialogs, InputBoxAnswersWhatWasTypedAndNothingOnCancel) {
    ensureGuiApp();
    QtDialogs dialogs;
    // The box is modal: it is answered from inside its own event loop.
    const auto answer = [](std::function<void(QInputDialog*)> act) {
        QTimer::singleShot(0, [act] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            act(box);
        });
    };
    answer([](QInputDialog* box) {
        EXPECT_EQ(box->labelText(), "enter password");
        EXPECT_EQ(box->textValue(), "0");
        box->setTextValue("60817");
        box->accept();
    });
    EXPECT_EQ(dialogs.inputBox("enter password", "1", "0"), std::optional<QString>("60817"));
    answer([](QInputDialog* box) { box->reject(); });
    EXPECT_EQ(dialogs.inputBox("enter password", "1", "0"), std::nullopt);
    // An access code is typed into a box that hides it.
    answer([](QInputDialog* box) {
        EXPECT_EQ(box->textEchoMode(), QLineEdit::Password);
        box->setTextValue("60817");
        box->accept();
    });
    EXPECT_EQ(dialogs.secretBox("enter password", "1"), std::optional<QString>("60817"));
}

// The whole station on the simulator, with its messages in real boxes.
class QtDialogsStationTest : public StationFixture {
  protected:
    std::unique_ptr<QWidget> screen;
    QtDialogs* dialogs = nullptr;

    void SetUp() override {
        ensureGuiApp();
        screen = std::make_unique<QWidget>();
        screen->show();
        makeDialogs = [this](Scheduler&) {
            auto d = std::make_unique<QtDialogs>([this] { return screen.get(); });
            dialogs = d.get();
            return d;
        };
    }
};

TEST_F(QtDialogsStationTest, NoFlowParksItsStationUnderTheBoxWhileTheStationRunsOn) {
    constexpr qint64 kMinute = 60'000;
    valve(2, "", "50");
    start({{2, "90"}, {7, "5"}, {19, "100"}});
    ASSERT_TRUE(station->scheduler.advanceUntil([&] { return !homingRunning(state()); }, kMinute));
    sim().faults().stuckValves[1] = true;
    startMetering(state(), 1, 2, "2000");
    ASSERT_TRUE(station->scheduler.advanceUntil([&] { return dialogs->openBox() != nullptr; },
                                                5 * kMinute, 100));
    // The described alarm line first; then what, where and what to do.
    const QStringList lines = dialogs->openBox()->text().split('\n');
    EXPECT_EQ(lines.first(), "*** <1> STOP TO NOT HAVE (NO.2)***");
    EXPECT_TRUE(lines.filter("valve 2").size() == 1 || lines.filter("2 號閥").size() == 1)
        << lines.join('|').toStdString();
    EXPECT_EQ(dialogs->openBox()->parentWidget(), screen.get());
    EXPECT_EQ(state().MachineStatus.alarm(), 2);

    // Under the box the scan goes on and the station stays where the alarm left it.
    // Openings of valve 2 on the wire (its closings go out as 0).
    const auto openings = [&] { return writtenTo(852).size() - writtenTo(852).count(0); };
    const qint64 ticks = station->scan().ticks();
    const qsizetype opened = openings();
    station->scheduler.advance(2 * kMinute);
    EXPECT_GT(station->scan().ticks(), ticks + 1000);
    EXPECT_TRUE(state().station[1].parked);
    EXPECT_EQ(state().station[1].StationStep, 5);
    EXPECT_EQ(openings(), opened);
    EXPECT_EQ(state().MachineStatus.alarm(), 2);

    sim().faults().stuckValves[1] = false;
    // Its first choice tries again.
    QAbstractButton* again = nullptr;
    for (QAbstractButton* b : dialogs->openBox()->buttons())
        if (b->accessibleDescription() == "Message.Choice(0)") again = b;
    ASSERT_NE(again, nullptr);
    again->click();
    EXPECT_EQ(state().MachineStatus.alarm(), 0);
    EXPECT_EQ(state().station[1].StationStep, 3);  // back to choosing the method
}

}  // namespace
}  // namespace dye::test
