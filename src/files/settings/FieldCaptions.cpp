#include "FieldCaptions.h"

#include <array>

#include "MachineSettings.h"

namespace dye {
namespace {

constexpr std::array<const char16_t*, MachineSettings::kFieldCount> kCaptions = {
    u"ComPort",
    u"系統掃描時間  45以上",
    u"計量校正係數30-300",
    u"洗桶次數",
    u"清洗水秒數",
    u"機型 1=輸送 2=雙天平",
    u"換桶最大重量",
    u"計量目標誤差",
    u"每支都換桶計量1=打開",
    u"language",
    u"path\\",
    u"管路設定10=5 14=7 18=9",
    u"管路上升後延遲",
    u"LINK ID",
    u"PASSWORD",
    u"ODBC'name",
    u"LINK TYPE",
    u"MIX-Y30-Y33",
    u"MIX ON 30-200",
    u"Second CAL",
    u"open-gate\"N\"",
    u"ID",
    u"WASH=1 else0",
    u"OVER WATER",
    u"輸送",
    u"L or S",
    u"D801",
    u"D802",
    u"D803",
    u"D804",
    u"D805",
    u"D806",
    u"D807",
    u"D808",
    u"NO.1 CAL",
    u"NO.2 CAL",
    u"discard=1",
    u"\\\\path mix"};

// Settings field -> Label1 index of the captions the language sets.
constexpr std::array<std::pair<int, int>, 10> kLanguageLabels = {
    {{1, 1}, {2, 17}, {3, 18}, {4, 19}, {5, 20}, {6, 21}, {7, 22}, {8, 23}, {11, 16}, {12, 25}}};

constexpr std::array<const char16_t*, 4> kValveColumns = {u"助計代碼", u"校正量1秒", u"助劑名稱",
                                                          u"最小時間1/100"};
constexpr std::array<int, 4> kValveLabels = {41, 42, 43, 53};

}  // namespace

QString settingsFieldCaption(int i) {
    if (i < 0 || i >= MachineSettings::kFieldCount) return QString();
    return QString::fromUtf16(kCaptions[size_t(i)]);
}

int settingsFieldLabel(int i) {
    for (const auto& [field, label] : kLanguageLabels)
        if (field == i) return label;
    return -1;
}

bool actsAtStartUp(int i) {
    return i == 0 || i == 1 || i == 5;
}

QString valveColumnCaption(int column) {
    return column >= 0 && column < 4 ? QString::fromUtf16(kValveColumns[size_t(column)])
                                     : QString();
}

int valveColumnLabel(int column) {
    return column >= 0 && column < 4 ? kValveLabels[size_t(column)] : -1;
}

}  // namespace dye
