#include "MachineSettings.h"

#include "TextRecordFile.h"
#include "core/Val.h"

#include <cmath>

namespace dye {
namespace {

template <size_t N>
QString at(const std::array<QString, N>& texts, int i) {
    return i >= 0 && size_t(i) < N ? texts[size_t(i)] : QString();
}

template <size_t N>
void put(std::array<QString, N>& texts, int i, const QString& text) {
    if (i >= 0 && size_t(i) < N) texts[size_t(i)] = text;
}

bool validValve(int valve) {
    return valve >= 1 && valve <= MachineSettings::kValveCount;
}

}  // namespace

QString MachineSettings::Text1(int i) const {
    return at(text1_, i);
}
void MachineSettings::setText1(int i, const QString& text) {
    put(text1_, i, text);
    if (i >= 0 && i < kFieldCount) number1_[size_t(i)] = Val(text);
    if (i == SettingsField::SiteProfile) siteProfile_ = siteProfileOf(text);
}
int MachineSettings::language() const {
    return intWithin(number(SettingsField::Language));
}
int MachineSettings::machineType() const {
    const double type = number(SettingsField::MachineType);
    const bool whole = type == std::trunc(type) && std::abs(type) <= 1e9;
    return whole ? intWithin(type) : 0;
}
QString MachineSettings::dyeMixFolder() const {
    return trimSpaces(Text1(SettingsField::DyeMixFolder));
}

QString MachineSettings::Text4(int k) const {
    return at(text4_, k);
}
void MachineSettings::setText4(int k, const QString& text) {
    put(text4_, k, text);
}

QString MachineSettings::valveCode(int valve) const {
    return validValve(valve) ? Text4(valve - 1) : QString();
}
double MachineSettings::valveRate(int valve) const {
    return validValve(valve) ? Val(Text4(kValveCount + valve - 1)) : 0.0;
}
QString MachineSettings::valveName(int valve) const {
    return validValve(valve) ? Text4(2 * kValveCount + valve - 1) : QString();
}
double MachineSettings::valveMinimumTime(int valve) const {
    return validValve(valve) ? Val(Text4(3 * kValveCount + valve - 1)) : 0.0;
}

TeachSlot MachineSettings::teachSlot(int slot) const {
    return slot >= 1 && slot <= kTeachSlotCount ? teach_[size_t(slot - 1)] : TeachSlot();
}
void MachineSettings::setTeachSlot(int slot, const TeachSlot& value) {
    if (slot >= 1 && slot <= kTeachSlotCount) teach_[size_t(slot - 1)] = value;
}

QString MachineSettings::washText(int i) const {
    return at(wash_, i);
}
void MachineSettings::setWashText(int i, const QString& text) {
    put(wash_, i, text);
}

double MachineSettings::washCount(int slot) const {
    return slot >= 1 && slot <= kWashSlotCount ? Val(washText(slot - 1)) : 0.0;
}
double MachineSettings::washWater(int slot) const {
    return slot >= 1 && slot <= kWashSlotCount ? Val(washText(kWashSlotCount + slot - 1)) : 0.0;
}

}  // namespace dye
