#include "app/StationFixture.h"

#include <functional>

#include "screens/position/ManualControls.h"
#include "sim/MachineModel.h"

using namespace dye;
using dye::test::Changes;
using dye::test::StationFixture;

namespace {

constexpr qint32 End = RegisterImage::RegNoValue;
using Click = void (ManualControls::*)();

// Combo boxes set before a click, and the image slots it must change.
struct Case {
    std::map<int, QString> combos;
    Click click;
    Changes written;
};

}  // namespace

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
           {{}, &M::stopProductValve, {{855, End}}},
           {{{3, "2"}, {4, "1000"}}, &M::startOutput, {{802, 1000}}},
           {{}, &M::stopOutput, {{802, End}}},
           {{{5, "1"}, {6, "50"}}, &M::startWaterOrGateValve, {{985, 50}}},
           {{}, &M::stopWaterOrGateValve, {{985, End}}},
           {{{5, "2"}}, &M::startWaterOrGateValve, {{986, 50}}},
           {{}, &M::stopWaterOrGateValve, {{986, End}}},
           {{{7, "2000"}}, &M::startConveyor, {{847, 2000}}},
           {{}, &M::stopConveyor, {{847, End}}},
           {{}, &M::openAir1, {{840, 30000}}},
           {{}, &M::closeAir1, {{840, End}}},
           {{}, &M::openAir2, {{841, 30000}}},
           {{}, &M::closeAir2, {{841, End}}},
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
    state().link.image.set(853, End);  // a stop still waiting for the scan
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
