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

// With the shipped captions, no button, menu entry, check box or fixed
// caption of a screen and no window title (nor the records viewer's export)
// shows Chinese in English, nor a Traditional-only character in Simplified
// Chinese; the smaller screens, the order list window and the settings
// screen keep their captions where the language file has no text.
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

            const Form3& m = s.form3;
            captions << s.form4.Command2.Caption << f.Caption << s.form4.Caption << s.form7.Caption
                     << s.form11.Caption << m.Caption;
            for (const Button* b : {&m.Command1, &m.Command2, &m.Command3, &m.Command4, &m.Command5,
                                    &m.Command6, &m.Command7, &m.Command8, &m.Command9,
                                    &m.Command10, &m.Command11, &m.Command12, &m.Command14})
                captions << b->Caption;
            for (const MenuEntry* e :
                 {&m.TOOL, &m.data, &m.langage, &m.setting, &m.POS_SETTING, &m.technician,
                  &m.R_TOOL, &m.delete_, &m.RUN_TOOL, &m.RUN, &m.STOP, &m.delete2})
                captions << e->Caption;
            for (const CheckBox* c : {&m.Check2, &m.Check3, &m.Check4, &m.Check5, &m.Check6})
                captions << c->Caption;
            expectOwnScript(captions, language);
        }
    }
}

// Language 2 converts the order list's fixed captions to Simplified Chinese,
// once: the window is loaded once for the program's life.
TEST(OrderListLoad, LanguageTwoAloneConvertsTheFixedCaptionsOnce) {
    for (const char* field : {"2", "1", ""}) {
        SCOPED_TRACE(field);
        const bool simplified = QLatin1String(field) == QLatin1String("2");
        StationState state;
        Form11& f = state.form11;
        state.settings.setText1(9, QString::fromLatin1(field));
        f.Label1[0] = f.Label1[7] = QStringLiteral("實際水");
        LoadOrderList(state);
        EXPECT_TRUE(f.Loaded);
        EXPECT_EQ(f.Label2[0], simplified ? QStringLiteral("单号") : QStringLiteral("單號"));
        EXPECT_EQ(f.Label2[3], simplified ? QStringLiteral("实际水") : QStringLiteral("實際水"));
        EXPECT_EQ(f.Label1[0], simplified ? QStringLiteral("实际水") : QStringLiteral("實際水"));
        EXPECT_EQ(f.Label1[7], QStringLiteral("實際水"));  // beyond Label1(0..6)
        state.settings.setText1(9, QStringLiteral("2"));
        f.Label1[0] = QStringLiteral("實際水");
        LoadOrderList(state);
        EXPECT_EQ(f.Label1[0], QStringLiteral("實際水"));
        EXPECT_EQ(f.Label2[0], simplified ? QStringLiteral("单号") : QStringLiteral("單號"));
    }
}

}  // namespace
