#include <gtest/gtest.h>

#include "language/LangText.h"
#include "language/LanguageFile.h"
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
    EXPECT_EQ(state.form3.Command7.Caption, QStringLiteral("計量資料"));  // not switchable
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
