#include "screens/main/ScreenWording.h"

#include "files/language/ShippedCaptions.h"
#include "files/language/Wording.h"
#include "station/StationState.h"

namespace dye {

void ApplyScreenWording(StationState& s, int language) {
    const auto w = [language](const char16_t* chinese, const char16_t* english) {
        return wordingIn(language, {chinese, english});
    };
    s.languageEditorCaption = w(u"語言檔編輯", u"Language editor");
    s.form6.Caption = w(u"輸入編號", u"Identifier entry");
    s.form8.Caption = w(u"工廠資料庫設定", u"Plant database profile");
    s.form9.Caption = w(u"位置設定", u"Position screen");
    s.form10.Caption = w(u"洗桶表", u"Wash table");
    s.form10.CountCaption = w(u"洗桶次數", u"Wash count");
    s.form10.WaterCaption = w(u"清洗水秒數", u"Wash water (s)");
    s.form12.Caption = w(u"選擇配方", u"Recipe picker");
    s.form14.Caption = w(u"染料混合表", u"Dye-mix table");
    s.form14.EntryCaption = w(u"染料混合", u"Dye mix");
    s.form15.Caption = w(u"助劑類別", u"Category");

    // The order list window's headers: order, bucket, water, actual water.
    s.form11.Label2[0] = w(u"單號", u"Order No.");
    s.form11.Label2[1] = w(u"桶號", u"Bucket No.");
    s.form11.Label2[2] = w(u"加水量", u"Water");
    s.form11.Label2[3] = w(u"實際水", u"Actual water");

    // The settings screen's own captions.
    Form2& f = s.form2;
    f.Command3.Caption = w(u"座標平均", u"SPREAD POSITIONS");
    f.Command12.Caption = w(u"座標存檔", u"SAVE POSITIONS");
    f.PositionCaption[0] = w(u"X位置", u"X position");
    f.PositionCaption[1] = w(u"Z位置", u"Z position");
    f.MoveCaption[0] = w(u"X移動距離", u"X move to");
    f.MoveCaption[1] = w(u"Z移動距離", u"Z move to");
}

QString shippedCaptionIn(int language, int k) {
    for (const ShippedCaption& c : shippedCaptions())
        if (c.k == k) return wordingIn(language, {c.chinese, c.english});
    return QString();
}

}  // namespace dye
