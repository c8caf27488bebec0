#include <gtest/gtest.h>

#include <algorithm>

#include "files/language/LangText.h"
#include "files/language/LanguageFile.h"
#include "files/language/ToSimplified.h"
#include "run/OrderListLoad.h"
#include "screens/main/ApplyLanguage.h"
#include "station/StationState.h"

using namespace dye;

namespace {

// English shows no CJK character; Simplified Chinese no Traditional-only one.
void expectOwnScript(const QStringList& captions, int language) {
    for (const QString& c : captions) {
        if (language == 1)
            EXPECT_FALSE(std::any_of(c.begin(), c.end(), [](QChar q) {
                return q.unicode() >= 0x2E80;
            })) << c.toStdString();
        else
            EXPECT_EQ(c, ToSimplified(c)) << c.toStdString();
    }
}

// Entry i of the table reads "T<i>", so a caption names the entry it shows
// and with it the language block (120 entries each) it comes from.
struct LanguageCaptions : ::testing::Test {
    StationState state;
    LangText lang;
    LanguageCaptions() {
        QList<QByteArray> records;
        for (int i = 0; i < 360; ++i)
            records.append(
                QStringLiteral("T%1").arg(i).toLatin1().leftJustified(LanguageFile::kRecordLength));
        lang.fill(records);
    }
    QStringList captions() const {
        return {state.form3.Command8.Caption,     state.form3.delete_.Caption,
                state.form3.Label9[0].Caption,    state.form9.Label1[15],
                state.form7.Label1[0].Caption,    state.form4.Command1.Caption,
                state.form15.Command1[3].Caption, state.form2.Command14.Caption};
    }
};

// Every caption of the screens shows the chosen language's entry, and
// changes when the language does; a field outside 0..2 shows language 0.
TEST_F(LanguageCaptions, CaptionsFollowTheChosenLanguage) {
    const struct {
        const char* field;
        int language;
    } cases[] = {{"1", 1}, {"2", 2}, {"0", 0}, {"1", 1}, {"3", 0}, {"-1", 0}, {"", 0}, {"abc", 0}};
    QStringList previous;
    int previousLanguage = -1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        state.settings.setText1(9, QString::fromLatin1(c.field));
        ApplyLanguage(state, lang);
        const QStringList shown = captions();
        for (const QString& caption : shown) {
            ASSERT_TRUE(caption.startsWith('T')) << caption.toStdString();
            EXPECT_EQ(caption.mid(1).toInt() / LangText::kPerLanguage, c.language)
                << caption.toStdString();
        }
        if (!previous.isEmpty() && c.language != previousLanguage) {
            for (qsizetype i = 0; i < shown.size(); ++i) EXPECT_NE(shown[i], previous[i]);
        }
        previous = shown;
        previousLanguage = c.language;
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
        expectOwnScript(captions, language[0] - '0');
    }
}

// The window titles and fixed captions of the smaller screens, the order list
// window and the settings screen follow the language too; the settings
// screen keeps its captions where the language file has no text.
TEST(ScreenCaptions, EachLanguageShowsOnlyItsOwnScript) {
    LangText shipped;
    shipped.fillShipped();
    LangText blank;  // a language file whose records are all empty
    blank.fill(QList<QByteArray>(LanguageFile::kRecordCount, LanguageFile::recordFor(QString())));
    for (const LangText* lang : {&shipped, &blank}) {
        for (int language : {1, 2}) {
            SCOPED_TRACE(language);
            StationState s;
            s.settings.setText1(9, QString::number(language));
            ApplyLanguage(s, *lang);
            QStringList captions{
                s.languageEditorCaption, s.form6.Caption,      s.form8.Caption,
                s.form9.Caption,         s.form10.Caption,     s.form12.Caption,
                s.form14.Caption,        s.form15.Caption,     s.form10.CountCaption,
                s.form10.WaterCaption,   s.form14.EntryCaption};
            for (int i = 0; i < 4; ++i) captions << s.form11.Label2[i];
            const Form2& f = s.form2;
            for (const Button* b :
                 {&f.Command3, &f.Command12, &f.Command13, &f.Command14, &f.Command15})
                captions << b->Caption;
            for (int i = 0; i < 2; ++i) captions << f.PositionCaption[i] << f.MoveCaption[i];
            for (int i :
                 {2, 3, 10, 11, 12, 13, 14, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 39, 54, 55})
                captions << f.Label1[i];
            for (const QString& c : captions) EXPECT_FALSE(c.trimmed().isEmpty());
            expectOwnScript(captions, language);
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
