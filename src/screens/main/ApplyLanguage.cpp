#include "screens/main/ApplyLanguage.h"

#include "files/language/LangText.h"
#include "files/language/Wording.h"
#include "screens/main/ScreenWording.h"
#include "station/StationState.h"

namespace dye {
namespace {

void applyMainScreen(Form3& f, const auto& t) {
    f.Command6.Caption = t(0);
    f.delete_.Caption = t(0);
    f.delete2.Caption = t(0);
    f.Command8.Caption = t(1);
    f.STOP.Caption = t(1);
    f.Command9.Caption = t(2);
    f.RUN.Caption = t(2);
    // Headers over the job fields and the grid.
    for (int i = 3; i <= 7; ++i) f.Label9[i].Caption = t(i);
    f.Label9[12].Caption = t(8);
    f.Label9[8].Caption = t(9);
    f.Label9[10].Caption = t(10);
    f.Label9[9].Caption = t(11);
    f.Label9[11].Caption = t(12);
    // Headers over the queue list.
    for (int i = 0; i <= 2; ++i) f.Label9[i].Caption = t(13 + i);
    f.Command2.Caption = t(16);
    f.Command4.Caption = t(17);
    f.Command1.Caption = t(18);
    f.Command3.Caption = t(19);
    f.Command5.Caption = t(20);
    f.data.Caption = t(21);
    f.Command12.Caption = t(34);
    f.langage.Caption = t(41);
    f.setting.Caption = t(56);
    f.Command11.Caption = t(69);
    f.TOOL.Caption = t(72);
    f.POS_SETTING.Caption = t(77);
    // The records button opens what the menu's DATA opens; the settings
    // button what the menu's SETTING opens.
    f.Command7.Caption = t(21);
    f.Command10.Caption = t(56);
}

// Captions the language table has no entry for: the station's own wording.
void applyOwnWording(StationState& s, int language) {
    const auto w = [language](const char16_t* chinese, const char16_t* english) {
        return wordingIn(language, {chinese, english});
    };
    // Window titles a person can read.
    s.form3.Caption = w(u"配方與計量", u"Recipes and dispensing");
    s.form2.Caption = w(u"設定", u"Settings");
    s.form4.Caption = w(u"計量資料", u"Dispensing records");
    s.form7.Caption = w(u"快速計量", u"Quick dispense");
    s.form11.Caption = w(u"計量清單", u"Dispensing list");
    Form3& f = s.form3;
    f.technician.Caption = w(u"技術人員畫面", u"TECHNICIAN VIEW");
    f.R_TOOL.Caption = w(u"配方", u"R_TOOL");
    f.RUN_TOOL.Caption = w(u"執行", u"RUN_TOOL");
    f.Command14.Caption = w(u"更新", u"UPDATE");
    f.Check2.Caption = w(u"自動接單", u"AUTO IN");
    f.Check3.Caption = w(u"攪拌", u"MIX ON");
    f.Check4.Caption = w(u"先洗桶", u"WASH1");
    f.Check5.Caption = w(u"多筆刪除", u"multi-DEL");
    f.Check6.Caption = w(u"完成後刪除", u"Finish_DEL");
    s.form4.Command2.Caption = w(u"匯出 CSV", u"EXPORT CSV");
}

void applySingleEntry(Form7& f, const auto& t) {
    f.Command1.Caption = t(20);
    f.Label1[1].Caption = t(7);
    f.Label1[0].Caption = t(9);
}

void applySettingsForm(Form2& f, const auto& t) {
    f.Label1[1] = t(22);
    f.Label1[17] = t(23);
    f.Label1[18] = t(24);
    f.Label1[19] = t(55);
    for (int i = 0; i < 4; ++i) f.Label1[20 + i] = t(25 + i);
    // The five station fields: station 1 runs up from Label1(26), station 2
    // down from Label1(35), both labelled by entries 29..33.
    for (int i = 0; i < 5; ++i) {
        f.Label1[26 + i] = QStringLiteral("<1> ") + t(29 + i);
        f.Label1[35 - i] = QStringLiteral("<2> ") + t(29 + i);
    }
    f.Label1[2] = t(35);
    f.Label1[3] = t(36);
    f.Label1[10] = t(36);
    f.Label1[12] = t(36);
    f.Label1[11] = t(37);
    f.Label1[13] = t(38);
    f.Label1[14] = t(39);
    f.Label1[16] = t(42);
    f.Label1[25] = t(43);
    f.Label1[39] = t(44);
    f.Label1[36] = t(45);
    f.Label1[41] = t(70);
    f.Label1[42] = t(71);
    f.Label1[43] = t(73);
    f.Label1[53] = t(80);
    f.Label1[54] = t(81);
    f.Label1[55] = t(83);
    f.Command14.Caption = t(34);
    f.Command13.Caption = t(40);
    f.Command15.Caption = t(41);
}

void applyPositionScreen(Form9& f, const auto& t) {
    f.Command12.Caption = t(47);
    f.Command3.Caption = t(48);
    f.Command4.Caption = t(82);
    f.Label1[37] = t(46);
    f.Label1[8] = t(49);
    f.Label1[12] = t(50);
    f.Label1[6] = t(51);
    f.Label1[7] = t(52);
    f.Label1[38] = t(53);
    f.Label1[15] = t(54);
    f.Label1[1] = t(54);
    f.Label1[9] = t(74);
    f.Label1[11] = t(75);
    f.Label1[13] = t(76);
}

}  // namespace

void ApplyLanguage(StationState& state, const LangText& lang) {
    // A number beyond int's range must not reach the conversion; -1 reads as
    // any other invalid language.
    const double setting = state.settings.number(SettingsField::Language);
    const int language = setting >= 0 && setting < LangText::kLanguages ? int(setting) : -1;
    const auto t = [&](int k) { return lang.text(language, k); };
    applyMainScreen(state.form3, t);
    applyOwnWording(state, language);
    applySingleEntry(state.form7, t);
    // A caption of the settings form the table has no text for shows the
    // shipped one, in the same language.
    applySettingsForm(state.form2, [&](int k) {
        const QString text = t(k);
        return text.trimmed().isEmpty() ? shippedCaptionIn(language, k) : text;
    });
    applyPositionScreen(state.form9, t);
    state.form4.Label1.Caption = t(67);
    state.form4.Command1.Caption = t(68);
    for (int i = 0; i < 4; ++i) state.form15.Command1[i].Caption = t(84 + i);
    ApplyScreenWording(state, language);
}

}  // namespace dye
