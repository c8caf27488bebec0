#include <gtest/gtest.h>

#include <algorithm>

#include "language/LangText.h"
#include "language/LanguageFile.h"
#include "language/ToSimplified.h"
#include "run/ApplyLanguage.h"
#include "run/OrderListLoad.h"
#include "station/StationState.h"

using namespace dye;

namespace {

// Entry i of the table reads "T<i>", so a caption names the entry it shows.
QString entry(int i) {
    return QStringLiteral("T%1").arg(i);
}

struct LanguageCaptions : ::testing::Test {
    StationState state;
    LangText lang;
    LanguageCaptions() {
        QList<QByteArray> records;
        for (int i = 0; i < 360; ++i)
            records.append(entry(i).toLatin1().leftJustified(LanguageFile::kRecordLength));
        lang.fill(records);
    }
    void applyWith(const char* languageField) {
        state.settings.setText1(9, QString::fromLatin1(languageField));
        ApplyLanguage(state, lang);
    }
};

TEST_F(LanguageCaptions, ScreensShowTheEntriesOfTheChosenLanguage) {
    applyWith("1");
    EXPECT_EQ(state.form3.Command8.Caption, entry(121));
    EXPECT_EQ(state.form3.delete_.Caption, entry(120));
    EXPECT_EQ(state.form3.Label9[12].Caption, entry(128));  // grid headers out of screen order
    EXPECT_EQ(state.form3.Label9[0].Caption, entry(133));
    EXPECT_EQ(state.form3.Command7.Caption, entry(141));  // as the menu's DATA
    EXPECT_EQ(state.form9.Label1[15], entry(174));
    EXPECT_EQ(state.form9.Label1[1], entry(174));
    EXPECT_EQ(state.form7.Label1[0].Caption, entry(129));
    EXPECT_EQ(state.form4.Command1.Caption, entry(188));
    EXPECT_EQ(state.form15.Command1[3].Caption, entry(207));
}

TEST_F(LanguageCaptions, SettingsFormLabelsStationTwoInReverseOrder) {
    applyWith("0");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(state.form2.Label1[26 + i], "<1> " + entry(29 + i)) << i;
        EXPECT_EQ(state.form2.Label1[35 - i], "<2> " + entry(29 + i)) << i;
    }
    EXPECT_EQ(state.form2.Label1[12], entry(36));
    EXPECT_EQ(state.form2.Command14.Caption, entry(34));
}

TEST_F(LanguageCaptions, EmptyTableLeavesOnlyTheStationPrefixes) {
    lang = LangText();
    applyWith("1");
    EXPECT_EQ(state.form3.Command8.Caption, QString());
    EXPECT_EQ(state.form9.Label1[15], QString());
    EXPECT_EQ(state.form2.Label1[26], QStringLiteral("<1> "));
    EXPECT_EQ(state.form2.Label1[31], QStringLiteral("<2> "));
}

TEST_F(LanguageCaptions, LanguageOutsideZeroToTwoShowsLanguageZero) {
    for (const char* field : {"3", "-1", "", "abc", "1e30"}) {
        applyWith("1");
        applyWith(field);
        EXPECT_EQ(state.form3.Command8.Caption, entry(1)) << field;
        EXPECT_EQ(state.form15.Command1[3].Caption, entry(87)) << field;
    }
}

// With the shipped captions, no button, menu entry or check box of the main
// screen, no window title (nor the records viewer's export) shows Chinese
// in English, nor a Traditional-only character in Simplified Chinese.
TEST(MainScreenCaptions, EachLanguageShowsOnlyItsOwnScript) {
    LangText shipped;
    shipped.fillShipped();
    for (const char* language : {"1", "2"}) {
        StationState state;
        state.settings.setText1(9, QString::fromLatin1(language));
        ApplyLanguage(state, shipped);
        const Form3& f = state.form3;
        QStringList captions{state.form4.Command2.Caption, state.form2.Caption,
                             state.form4.Caption,          state.form7.Caption,
                             state.form11.Caption,         f.Caption};
        for (const Button* b : {&f.Command1, &f.Command2, &f.Command3, &f.Command4, &f.Command5,
                                &f.Command6, &f.Command7, &f.Command8, &f.Command9, &f.Command10,
                                &f.Command11, &f.Command12, &f.Command14})
            captions << b->Caption;
        for (const MenuEntry* m :
             {&f.TOOL, &f.data, &f.langage, &f.setting, &f.POS_SETTING, &f.technician, &f.R_TOOL,
              &f.delete_, &f.RUN_TOOL, &f.RUN, &f.STOP, &f.delete2})
            captions << m->Caption;
        for (const CheckBox* c : {&f.Check2, &f.Check3, &f.Check4, &f.Check5, &f.Check6})
            captions << c->Caption;
        for (const QString& c : captions) {
            if (language[0] == '1')
                EXPECT_FALSE(std::any_of(c.begin(), c.end(), [](QChar q) {
                    return q.unicode() >= 0x2E80;
                })) << c.toStdString();
            else
                EXPECT_EQ(c, ToSimplified(c)) << c.toStdString();
        }
    }
}

TEST(OrderListLoad, LanguageTwoConvertsTheFixedCaptionsOnce) {
    StationState state;
    state.settings.setText1(9, QStringLiteral("2"));
    state.form11.Label1[0] = state.form11.Label1[7] = QStringLiteral("實際水");
    LoadOrderList(state);
    EXPECT_TRUE(state.form11.Loaded);
    EXPECT_EQ(state.form11.Label2[0], QStringLiteral("单号"));
    EXPECT_EQ(state.form11.Label2[3], QStringLiteral("实际水"));
    EXPECT_EQ(state.form11.Label1[0], QStringLiteral("实际水"));
    EXPECT_EQ(state.form11.Label1[7], QStringLiteral("實際水"));  // beyond Label1(0..6)
    state.form11.Label1[0] = QStringLiteral("實際水");
    LoadOrderList(state);
    EXPECT_EQ(state.form11.Label1[0], QStringLiteral("實際水"));
}

TEST(OrderListLoad, OtherLanguagesKeepTheDesignedCaptions) {
    for (const char* field : {"1", ""}) {
        StationState state;
        state.settings.setText1(9, QString::fromLatin1(field));
        LoadOrderList(state);
        state.settings.setText1(9, QStringLiteral("2"));
        LoadOrderList(state);  // the window is loaded once for the program's life
        EXPECT_TRUE(state.form11.Loaded) << field;
        EXPECT_EQ(state.form11.Label2[0], QStringLiteral("單號")) << field;
    }
}

}  // namespace
