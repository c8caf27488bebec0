#include <gtest/gtest.h>

#include "files/settings/SettingRanges.h"
#include "files/settings/SettingsFiles.h"

using namespace dye;

namespace {

// A machine of type 1 whose settings are all within range, with valve 1.
MachineSettings sound() {
    MachineSettings s;
    for (const auto& [field, text] : {std::pair{1, "50"}, {2, "80"}, {5, "1"}, {7, "2"}})
        s.setText1(field, QString::fromLatin1(text));
    s.setText4(0, QStringLiteral("SODA"));
    s.setText4(24, QStringLiteral("40"));
    s.setText4(72, QStringLiteral("15"));
    return s;
}

}  // namespace

// Each setting is refused outside what it means to the metering, with a
// message that names the setting, the value and the range.
TEST(SettingRanges, ValuesOutOfTheirRangeAreNamedWithTheRange) {
    const struct {
        int field;
        const char* text;
        int type;
        const char* problem;  // empty: accepted
    } cases[] = {
        {7, "2", 1, ""},
        {7, "1e9", 1, "setting 7 (metering tolerance) \"1e9\" is not 0.01 to 20"},
        {7, "-5", 1, "is not 0.01 to 20"},
        {7, "", 1, "setting 7 (metering tolerance) is blank; it must be 0.01 to 20"},
        {7, "abc", 1, "\"abc\" is not a number"},
        {7, "nan", 1, "is not a number"},
        {2, "1e9", 1, "setting 2 (metering coefficient, %) \"1e9\" is not 30 to 300"},
        {1, "44", 1, "is not a whole number 45 to 500"},
        {1, "45", 1, ""},
        {5, "2.5", 1, "setting 5 (machine type) \"2.5\" is not a whole number 1 to 5"},
        {5, "1e308", 1, "is not a whole number 1 to 5"},
        {11, "1e308", 1, "setting 11 (valves per station) \"1e308\" is not a whole number"},
        {11, "", 2, ""},  // blank: five, as the controller routes them
        {6, "", 1, ""},
        {6, "", 2, "setting 6 (largest bucket weight) is blank"},  // the bucket watch reads it
        {19, "400", 1, "setting 19 (Second CAL, %) \"400\" is not 0 to 150"},
        {25, "L", 1, ""},  // the threshold is read on type 5 only
        {25, "L", 5, "\"L\" is not a number"},
        {16, "anything", 1, ""},  // a field with no range
    };
    for (const auto& c : cases) {
        const QString why = settingProblem(c.field, QString::fromUtf8(c.text), c.type);
        if (*c.problem == 0)
            EXPECT_EQ(why, QString()) << c.field << " " << c.text;
        else
            EXPECT_TRUE(why.contains(QString::fromUtf8(c.problem)))
                << c.field << " " << c.text << ": " << why.toStdString();
    }
    EXPECT_TRUE(valveFieldProblem(24 + 3, QStringLiteral("-40")).contains("the rate of valve 4"));
    EXPECT_TRUE(valveFieldProblem(72, QStringLiteral("99999"))
                    .contains("the shortest opening, 1/100 s of valve 1 \"99999\" is not"));
    EXPECT_EQ(valveFieldProblem(0, QStringLiteral("any code")), QString());
}

// "2.5" is no machine type: the station reads it as none at all.
TEST(SettingRanges, MachineTypeIsAWholeNumberOrNone) {
    MachineSettings s;
    for (const auto& [text, type] : {std::pair{"2", 2},
                                     {"2.5", 0},
                                     {"1e308", 0},
                                     {"-1e308", 0},
                                     {"", 0},
                                     {"4abc", 4},
                                     {"1e9", 1000000000}}) {
        s.setText1(5, QString::fromLatin1(text));
        EXPECT_EQ(s.machineType(), type) << text;
    }
}

// A station takes no job while a setting is out of range, a valve with a code
// cannot be metered, or no valve has a code and a rate.
TEST(SettingRanges, UndrivableSettingsSayWhy) {
    EXPECT_EQ(undrivableReason(sound()), QString());
    EXPECT_EQ(settingsProblems(sound()), QStringList());

    MachineSettings s = sound();
    s.setText1(7, QStringLiteral("1e9"));
    EXPECT_TRUE(undrivableReason(s).contains("metering tolerance"));

    s = sound();
    s.setText4(24, QStringLiteral("0"));
    EXPECT_TRUE(undrivableReason(s).contains("the rate of valve 1 \"0\" is not"));
    s.setText4(24, QString());
    EXPECT_EQ(undrivableReason(s), QStringLiteral("valve 1 (SODA) has no rate"));
    EXPECT_EQ(settingsProblems(s), QStringList{QStringLiteral("valve 1 (SODA) has no rate")});

    s = sound();
    s.setText4(0, QString());
    EXPECT_EQ(undrivableReason(s),
              QStringLiteral("no valve of the valve table has a code and a rate"));
    // A rate on a valve with no code is named at load, but drives nothing.
    s = sound();
    s.setText4(30, QStringLiteral("abc"));
    EXPECT_EQ(undrivableReason(s), QString());
    EXPECT_EQ(settingsProblems(s).size(), 1);
}
