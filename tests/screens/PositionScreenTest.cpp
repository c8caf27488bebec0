#include "app/StationFixture.h"

#include <functional>

#include "TestFiles.h"
#include "screens/position/ManualControls.h"
#include "screens/position/PositionScreen.h"
#include "sim/MachineModel.h"

using namespace dye;
using dye::test::Changes;
using dye::test::fileBytes;
using dye::test::StationFixture;

namespace {

constexpr qint32 Off = RegisterImage::RegNoValue;
using Click = void (ManualControls::*)();

// Combo boxes set before a click, and the image slots it must change.
struct Case {
    std::map<int, QString> combos;
    Click click;
    Changes written;
};

QByteArray field(const char* text, int width = 20) {
    return QByteArray(text) + QByteArray(width - int(qstrlen(text)), ' ');
}

}  // namespace

class PositionScreenTest : public StationFixture {
  protected:
    // A station of the machine type with no homing of its own, the axis
    // indicators read.
    void startIdle(const char* type, std::map<int, QString> fields = {}) {
        fields[5] = QString::fromLatin1(type);
        start(fields);
        state().timers.homing->setEnabled(false);
        passes(1);
        screen().showSaved();
    }
    PositionScreen& screen() { return station->positionScreen(); }
    Form9& form() { return state().form9; }
    HeadlessDialogs& dialogs() { return *station->headlessDialogs(); }

    // Types X, Y, Z of slot k (1..64) as the operator would.
    void type(int k, const QString& x, const QString& y, const QString& z) {
        screen().teachFieldChanged(k - 1, x);
        screen().teachFieldChanged(k + 63, y);
        screen().teachFieldChanged(k + 127, z);
    }
    QString shownX(int k) { return form().Text2[k - 1]; }
    QString shownY(int k) { return form().Text2[k + 63]; }
    QString shownZ(int k) { return form().Text2[k + 127]; }
};

// Grid spreading from the four corners, with the compensation from the
// fifth slot of each row on; every value cut before the next is built on it.
TEST_F(PositionScreenTest, GridSpreadingGivesTheHandComputedPositions) {
    startIdle("3");
    type(1, "0", "0", "40");
    type(8, "100", "10", "7");
    type(57, "0", "350", "7");
    type(64, "100", "360", "7");
    screen().firstCompensationChanged("5.5");
    screen().secondCompensationChanged("2.9");  // taken as 2
    screen().spreadSlots();

    // Row 1: a seventh of 100 is 14.2857...; slot 5 also gets 5.5.
    const char* row1X[8] = {"0", "14", "28", "42", "61", "75", "89", "100"};
    // Row 1 Y: a seventh of 10 is 1.428...; slot 5 also gets 2.
    const char* row1Y[8] = {"0", "1", "2", "3", "6", "7", "8", "10"};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(shownX(c + 1), row1X[c]) << c + 1;
        EXPECT_EQ(shownY(c + 1), row1Y[c]) << c + 1;
    }
    // Edges: Y of slot 9 is 350 / 7 = 50, of slot 16 10 + 50 = 60.
    EXPECT_EQ(shownY(9), "50");
    EXPECT_EQ(shownY(16), "60");
    EXPECT_EQ(shownY(49), "300");
    // Row 2 runs from (0, 50) to (100, 60): 51, 52, 53, then 53 + 1.43 + 2.
    EXPECT_EQ(shownX(13), "61");
    EXPECT_EQ(shownY(12), "53");
    EXPECT_EQ(shownY(13), "56");
    for (int k : {2, 33, 64}) EXPECT_EQ(shownZ(k), "40") << k;

    // Only shown: the run's teach table is untouched until saved.
    EXPECT_EQ(state().settings.teachSlot(13), TeachSlot{});
    ASSERT_TRUE(screen().saveSlots());
    EXPECT_EQ(state().settings.teachSlot(13), (TeachSlot{"61", "40", "", "56"}));
}

TEST_F(PositionScreenTest, LineSpreadingOnTypeOneAndNoneOnOtherTypes) {
    startIdle("1", {{9, "1"}});
    type(1, "100", "0", "50");
    type(25, "1000", "0", "70");
    screen().spreadSlots();
    EXPECT_EQ(shownX(2), "137");
    EXPECT_EQ(shownX(24), "951");
    EXPECT_EQ(shownZ(25), "50");
    EXPECT_EQ(shownX(26), "");
    EXPECT_TRUE(dialogs().messages().isEmpty());

    state().settings.setText1(5, "2");
    type(2, "9", "9", "9");
    screen().spreadSlots();
    EXPECT_EQ(shownX(2), "9");
    EXPECT_TRUE(lastMessage().contains("types 1 and 3"));
}

// The files read back as another writer lays them out: XZ_Name.txt 60-byte
// records of X, Z and name; Y_Name.txt 20-byte Y records, then the two
// compensations at 65 and 66, each saved alone by Enter.
TEST_F(PositionScreenTest, SaveAndCompensationWriteTheTeachFilesByteForByte) {
    startIdle("3");
    type(1, " 120 ", "340", "56");
    screen().teachFieldChanged(192, "A1");
    type(64, "7", "8", "9");
    screen().firstCompensationChanged("  15 ");  // typed, not saved by the positions' save
    ASSERT_TRUE(screen().saveSlots());
    QByteArray xz = field("120") + field("56") + field("A1");
    QByteArray ys = field("340");
    for (int k = 2; k < 64; ++k) {
        xz += field("") + field("") + field("");
        ys += field("");
    }
    xz += field("7") + field("9") + field("");
    ys += field("8");
    const QString y = QDir(dir.path()).filePath("Y_Name.txt");
    EXPECT_EQ(fileBytes(QDir(dir.path()).filePath("XZ_Name.txt")), xz);
    EXPECT_EQ(fileBytes(y), ys);
    EXPECT_EQ(state().settings.xCompensation(), "");

    screen().saveFirstCompensation();
    EXPECT_EQ(fileBytes(y), ys + field("15"));
    EXPECT_EQ(state().settings.xCompensation(), "15");
    screen().secondCompensationChanged("-3");
    screen().saveSecondCompensation();
    EXPECT_EQ(fileBytes(y), ys + field("15") + field("-3"));
    EXPECT_FALSE(form().Text1Edited || form().Text4Edited || form().Text2Edited.any());
}

// A slot typed but not saved never drives the machine, and the settings
// screen's save of another slot shows here at once.
TEST_F(PositionScreenTest, UnsavedSlotsStayOnTheScreen) {
    startIdle("3", {{9, "1"}});
    form().Check1 = true;
    type(5, "300", "200", "100");
    EXPECT_EQ(changes([&] { screen().slotClicked(4); }), Changes{});
    EXPECT_EQ(state().link.RobotCheckState, 0);
    EXPECT_TRUE(lastMessage().contains("Slot 5"));
    EXPECT_EQ(form().Label4Selected, 5);

    state().settings.setTeachSlot(6, {"11", "22", "B6", "33"});
    screen().showSaved();
    EXPECT_EQ(shownX(6), "11");
    EXPECT_EQ(shownX(5), "300");

    ASSERT_TRUE(screen().saveSlots());
    screen().slotClicked(4);
    EXPECT_EQ(state().link.RobotCheckState, 1);
    EXPECT_EQ(state().link.MoveX[1], 300);
    EXPECT_EQ(state().link.MoveY[1], 200);
    EXPECT_EQ(state().link.MoveZ[2], 100);
    // MOVE unchecked: nothing at all.
    state().link.RobotCheckState = 0;
    form().Check1 = false;
    form().Label4Selected = 0;
    screen().slotClicked(5);
    EXPECT_EQ(state().link.RobotCheckState, 0);
    EXPECT_EQ(form().Label4Selected, 0);
}

// Homing, move entries, slot clicks and the conveyor act only on a free
// machine, and say why otherwise; on the settings screen as here.
TEST_F(PositionScreenTest, MovesActOnlyWhileTheMachineIsFree) {
    startIdle("3", {{9, "1"}});
    form().Check1 = true;
    ASSERT_TRUE(screen().saveSlots());
    const std::vector<std::pair<const char*, std::function<void(StationState&, bool)>>> busy = {
        {"a job is on the machine",
         [](StationState& s, bool on) {
             on ? s.TransferActive.claim() : s.TransferActive.release();
         }},
        {"station 2", [](StationState& s, bool on) { s.station[2].StationStep = on ? 5 : 0; }},
        {"wash", [](StationState& s, bool on) { s.wash.WashPhase = on; }},
        {"moving to a place", [](StationState& s, bool on) { s.link.RobotCheckState = on * 3; }},
        {"homing", [](StationState& s, bool on) { s.link.homingCounter = on * 2; }},
        {"Y axis", [](StationState& s, bool on) { s.link.inputs.yBusy = on; }},
    };
    const std::vector<std::function<void()>> moves = {
        [&] { screen().homeX(); },
        [&] { screen().homeY(); },
        [&] { screen().homeZ(); },
        [&] {
            form().Text3[2] = "500";
            screen().moveAxisTo(2);
        },
        [&] { screen().slotClicked(9); },
        // The settings screen's Z=0 and X move entry ask the same.
        [&] { station->manual().homeZ(); },
        [&] {
            state().form2.Text3[0] = "300";
            station->manual().moveAxisTo(0);
        },
        // The settings screen's slot click, MOVE checked, selects and asks too.
        [&] {
            state().form2.Check1 = true;
            station->settingsEditor().slotClicked(3);
        },
    };
    for (const auto& [why, set] : busy) {
        set(state(), true);
        for (size_t m = 0; m < moves.size(); ++m) {
            const int before = int(dialogs().messages().size());
            EXPECT_EQ(changes(moves[m]), Changes{}) << why << " " << m;
            EXPECT_EQ(dialogs().messages().size(), before + 1) << why << " " << m;
            EXPECT_TRUE(lastMessage().contains(QLatin1String(why))) << lastMessage().toStdString();
        }
        set(state(), false);
    }
    EXPECT_EQ(state().link.RobotCheckState, 0);
    EXPECT_EQ(state().form2.Label4Selected, 4);

    // Free: each acts.
    EXPECT_EQ(changes(moves[1]), (Changes{{708, 2}, {709, 1000}, {710, 30000}}));
    EXPECT_EQ(changes(moves[3]), (Changes{{716, 1}, {717, 2000}, {718, 500}, {719, 1000}}));
    EXPECT_EQ(changes(moves[6]), (Changes{{712, 1}, {713, 2000}, {714, 300}, {715, 1000}}));
    screen().slotClicked(9);
    EXPECT_EQ(state().link.RobotCheckState, 1);
    // A move entry that is not a position is refused with a message.
    state().link.RobotCheckState = 0;
    form().Text3[0] = "12a";
    EXPECT_EQ(changes([&] { screen().moveAxisTo(0); }), Changes{});
    EXPECT_TRUE(lastMessage().contains("12a"));
    // The settings screen's slot click sends the slot's X, Y and Z; with MOVE
    // unchecked it neither selects nor moves.
    state().settings.setTeachSlot(4, {"400", "90", "B4", "250"});
    moves[7]();
    EXPECT_EQ(state().link.RobotCheckState, 1);
    EXPECT_EQ(state().link.MoveX[1], 400);
    EXPECT_EQ(state().link.MoveY[1], 250);
    EXPECT_EQ(state().link.MoveZ[1], 90);
    state().link.RobotCheckState = 0;
    state().form2.Check1 = false;
    state().form2.Label4Selected = 0;
    station->settingsEditor().slotClicked(3);
    EXPECT_EQ(state().form2.Label4Selected, 0);
    EXPECT_EQ(state().link.RobotCheckState, 0);
}

// The conveyor of type 4: places 1..16 by D904..D919 with the side outputs,
// 17..21 by D922..D926 with D921; a place past the outputs writes nothing.
TEST_F(PositionScreenTest, ConveyorSlotClickDrivesOnlyPlacesWithOutputs) {
    startIdle("4", {{24, "10"}, {9, "1"}});
    Changes first;
    for (int r = 901; r <= 919; ++r) first[r] = Off;
    first[901] = 100;
    first[907] = 100;
    EXPECT_EQ(changes([&] { screen().slotClicked(3); }), first);
    EXPECT_EQ(form().Label4Selected, 4);
    passes(1);

    Changes later{{903, Off}, {921, 100}, {922, Off}, {923, 100},
                  {924, Off}, {925, Off}, {926, Off}};
    EXPECT_EQ(changes([&] { screen().slotClicked(17); }), later);

    EXPECT_EQ(changes([&] { screen().slotClicked(21); }), Changes{});
    EXPECT_TRUE(lastMessage().contains("22"));
    EXPECT_EQ(form().Label4Selected, 18);

    state().wash.WashPhase = 2;
    EXPECT_EQ(changes([&] { screen().slotClicked(2); }), Changes{});
    EXPECT_TRUE(lastMessage().contains("wash"));
    EXPECT_EQ(changes([&] { screen().openDrainValve(); }), (Changes{{903, 100}}));
}

// The manual controls of the settings screen.
class ManualControlsTest : public StationFixture {
  protected:
    // A type-1 station with no homing of its own and the axis indicators read.
    void startIdle() {
        start({{9, QStringLiteral("1")}});  // English
        state().timers.homing->setEnabled(false);
        passes(1);
    }
    Form2& form() { return state().form2; }

    void check(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            for (const auto& [i, text] : c.combos) form().Combo[i] = text;
            EXPECT_EQ(changes([&] { (station->manual().*c.click)(); }), c.written)
                << testing::PrintToString(c.combos);
        }
    }
    Changes enter(int index, const QString& text) {
        form().Text3[index] = text;
        return changes([&] { station->manual().moveAxisTo(index); });
    }
    double position(MachineModel::Axis a) {
        return sim().machine().axis(a).position(sim().machine().now());
    }
};

TEST_F(ManualControlsTest, ButtonsWriteExactlyTheRegistersOfTheirCombos) {
    startIdle();
    using M = ManualControls;
    check({{{{1, "5"}, {2, "300"}}, &M::startProductValve, {{855, 300}}},
           {{}, &M::stopProductValve, {{855, Off}}},
           {{{3, "2"}, {4, "1000"}}, &M::startOutput, {{802, 1000}}},
           {{}, &M::stopOutput, {{802, Off}}},
           {{{5, "1"}, {6, "50"}}, &M::startWaterOrGateValve, {{985, 50}}},
           {{}, &M::stopWaterOrGateValve, {{985, Off}}},
           {{{5, "2"}}, &M::startWaterOrGateValve, {{986, 50}}},
           {{}, &M::stopWaterOrGateValve, {{986, Off}}},
           {{{7, "2000"}}, &M::startConveyor, {{847, 2000}}},
           {{}, &M::stopConveyor, {{847, Off}}},
           {{}, &M::openAir1, {{840, 30000}}},
           {{}, &M::closeAir1, {{840, Off}}},
           {{}, &M::openAir2, {{841, 30000}}},
           {{}, &M::closeAir2, {{841, Off}}},
           {{}, &M::letWaterIn, {{842, 200}}}});

    // Through the scan to the controller: valve 3 opens and closes.
    form().Combo[1] = "3";
    form().Combo[2] = "10000";
    station->manual().startProductValve();
    sent.clear();
    passes(2);
    // Only what was asked for goes out: D847's switch-off still pending from
    // the table above, then valve 3 in a frame of its own.
    EXPECT_EQ(framesAt(12),
              QList<QByteArray>({writeFrame(847, 1, {}), writeFrame(853, 1, {{853, 10000}})}));
    EXPECT_EQ(sim().memory().get(853), 10000);
    EXPECT_TRUE(sim().machine().outputOn(853));
    station->manual().stopProductValve();
    passes(1);
    EXPECT_FALSE(sim().machine().outputOn(853));
}

// An empty or mistyped box writes nothing: not 0 over a value still waiting
// to be sent, not the register next to the one meant (D850, D800), and never
// a value wrapped round 16 bits.
TEST_F(ManualControlsTest, EmptyOrOutOfRangeBoxesWriteNothing) {
    startIdle();
    using M = ManualControls;
    state().link.image.set(853, Off);  // a stop still waiting for the scan
    std::vector<Case> cases;
    for (const char* time : {"", "0", "-5", "12.5", "abc", "32768"}) {
        cases.push_back({{{1, "3"}, {2, time}}, &M::startProductValve, {}});
        cases.push_back({{{3, "1"}, {4, time}}, &M::startOutput, {}});
        cases.push_back({{{5, "1"}, {6, time}}, &M::startWaterOrGateValve, {}});
        cases.push_back({{{7, time}}, &M::startConveyor, {}});
    }
    for (const char* selector : {"", "0", "25", "2.5"}) {
        cases.push_back({{{1, selector}, {2, "100"}}, &M::startProductValve, {}});
        cases.push_back({{}, &M::stopProductValve, {}});
    }
    for (const char* selector : {"", "0", "5"}) {
        cases.push_back({{{3, selector}, {4, "100"}}, &M::startOutput, {}});
        cases.push_back({{}, &M::stopOutput, {}});
    }
    for (const char* selector : {"", "3"}) {
        cases.push_back({{{5, selector}, {6, "100"}}, &M::startWaterOrGateValve, {}});
        cases.push_back({{}, &M::stopWaterOrGateValve, {}});
    }
    cases.push_back({{{1, "3"}, {2, "32767"}}, &M::startProductValve, {{853, 32767}}});
    check(cases);
}

TEST_F(ManualControlsTest, HomingResetsTheStoredPositionAtOnce) {
    startIdle();
    state().link.MoveX[0] = 1500;
    state().link.MoveZ[0] = 700;
    form().Label4Selected = 7;
    station->manual().homeX();
    station->manual().homeZ();
    // Stored and shown as 0 before a frame has gone out.
    EXPECT_EQ(state().link.MoveX[0], 0);
    EXPECT_EQ(state().link.MoveZ[0], 0);
    station->refreshScreens();
    EXPECT_EQ(form().Label5[0], "0");
    EXPECT_EQ(form().Label5[1], "0");
    EXPECT_EQ(form().Label4Selected, 0);
    sent.clear();
    passes(1);
    EXPECT_EQ(framesAt(9),
              QList<QByteArray>{writeFrame(712, 4, {{712, 2}, {713, 1000}, {714, 30000}})});
    EXPECT_EQ(framesAt(10),
              QList<QByteArray>{writeFrame(716, 4, {{716, 2}, {717, 1000}, {718, 20000}})});

    // While the axis runs, X=0 only repaints the slot numbers.
    state().link.inputs.xBusy = true;  // D304
    state().link.MoveX[0] = 4000;
    form().Label4Selected = 3;
    EXPECT_EQ(changes([&] { station->manual().homeX(); }), Changes{});
    EXPECT_EQ(state().link.MoveX[0], 4000);
    EXPECT_EQ(form().Label4Selected, 0);
}

TEST_F(ManualControlsTest, MoveEntriesSendTheDistanceFromTheStoredPosition) {
    startIdle();
    EXPECT_EQ(enter(0, "1200"), (Changes{{712, 1}, {713, 2000}, {714, 1200}, {715, 1000}}));
    station->refreshScreens();
    EXPECT_EQ(form().Label5[0], "1200");
    station->scheduler.advance(3000);  // sent, run and read back at rest
    EXPECT_EQ(enter(0, "800"), (Changes{{712, 2}, {713, 2000}, {714, 400}, {715, 1000}}));
    EXPECT_EQ(enter(1, "2500"), (Changes{{716, 1}, {717, 2000}, {718, 2500}, {719, 1000}}));
    EXPECT_EQ(state().link.MoveX[0], 800);
    EXPECT_EQ(state().link.MoveZ[0], 2500);
    station->scheduler.advance(3000);
    EXPECT_EQ(position(MachineModel::AxisX), 800.0);
    EXPECT_EQ(position(MachineModel::AxisZ), 2500.0);

    // The position it is at: nothing to send, the display brought up to date.
    form().Label5[0] = "?";
    EXPECT_EQ(enter(0, "800"), Changes{});
    station->refreshScreens();
    EXPECT_EQ(form().Label5[0], "800");
    // Beyond a 16-bit position or distance, or on a running axis: refused.
    state().link.inputs.zBusy = true;  // D307
    const std::pair<int, const char*> refused[] = {
        {0, "40000"}, {0, "-32768"}, {0, "1.5"}, {1, "100"}};
    for (const auto& [index, target] : refused)
        EXPECT_EQ(enter(index, target), Changes{}) << target;
    EXPECT_EQ(state().link.MoveX[0], 800);
    EXPECT_EQ(state().link.MoveZ[0], 2500);
    station->refreshScreens();
    EXPECT_EQ(form().Label5[0], "800");
    EXPECT_EQ(form().Label5[1], "2500");
}

TEST_F(ManualControlsTest, WashRequestManualMeteringAndOtherScreens) {
    startIdle();
    state().wash.WashSlot = 5;
    station->manual().requestWash();
    EXPECT_EQ(state().wash.WashPhase, 1);
    EXPECT_EQ(state().wash.WashSlot, 0);
    EXPECT_EQ(state().wash.WashWater, 1);

    form().Combo[9] = "14";
    form().Text6 = " 40 ";
    station->manual().meterOnStation2();
    EXPECT_EQ(state().station[2].StationStep, 1);
    station->refreshScreens();
    EXPECT_EQ(form().Label7[7], "40");
    EXPECT_EQ(state().station[1].StationStep, 0);
    // A metering that runs is not taken over: the entry says why.
    station->scheduler.advance(300);
    const int step = state().station[2].StationStep;
    form().Combo[9] = "15";
    form().Text6 = "500";
    station->manual().meterOnStation2();
    EXPECT_EQ(lastMessage(), "No manual metering on station 2: station 2 is metering.");
    EXPECT_EQ(state().station[2].StationStep, step);
    EXPECT_EQ(state().station[2].valve, 14);
    EXPECT_EQ(state().station[2].target, 40);

    QStringList opened;
    station->manual().setScreens({[&] { opened << "Form3"; }, [&] { opened << "Form5"; },
                                  [&] { opened << "Form8"; }, [&] { opened << "Form14"; },
                                  [&] { opened << "Form10"; }});
    form().Visible = true;
    for (Click c : {&ManualControls::showMainScreen, &ManualControls::showLanguageEditor,
                    &ManualControls::showProfilePicker, &ManualControls::showDyeMixTable})
        (station->manual().*c)();
    station->manual().captionDoubleClicked(17);  // only the wash count's caption is a door
    station->manual().captionDoubleClicked(18);
    EXPECT_EQ(opened, (QStringList{"Form3", "Form5", "Form8", "Form14", "Form10"}));
    EXPECT_FALSE(form().Visible);
}
