#include "screens/plant/ProfileList.h"

#include <QString>

#include "files/language/ToSimplified.h"
#include "files/settings/MachineSettings.h"
#include "model/Form8.h"

namespace dye {

namespace {

struct Site {
    const char16_t* profile;
    const char16_t* shown;
};
constexpr Site kSites[] = {
    {u"ZOLPOWDERS", u"粉體機器"}, {u"KESTRALIA", u"配方挑選"}, {u"ORIGINAL", u"原始輸出"},
    {u"MARIGOLD", u"染缸清單"},   {u"TALBERT", u"特殊助劑"},   {u"FENWICK", u"雙秤流程"},
    {u"DRAYMOR", u"狀態回報"},    {u"PELKO", u"攪拌機台"},     {u"QUORBAN", u"助劑類別"},
};
const QString kGap = QString(10, u' ');

}  // namespace

void fillProfileList(Form8& form, const MachineSettings& settings) {
    form.List1.clear();
    const bool simplified = settings.Text1(SettingsField::Language).trimmed() == u"2";
    for (const Site& site : kSites) {
        QString shown = QString::fromUtf16(site.shown);
        if (simplified) shown = ToSimplified(shown);
        form.List1.items << QString::fromUtf16(site.profile) + kGap + shown;
    }
}

void pickProfile(Form8& form, int line) {
    if (line < 0 || line >= form.List1.items.size()) return;
    form.List1.ListIndex = line;
    const QString& text = form.List1.items[line];
    const qsizetype gap = text.indexOf(kGap);
    form.Text1 = gap < 0 ? text : text.left(gap);
    form.Text2 = gap < 0 ? QString() : text.mid(gap + kGap.size()).trimmed();
}

}  // namespace dye
