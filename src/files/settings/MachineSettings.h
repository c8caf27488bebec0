#pragma once

#include <QString>

#include <array>

#include "files/settings/SettingsField.h"
#include "files/settings/SiteProfile.h"

namespace dye {

// One teach slot of the gantry: positions and the name of the temporary
// bucket kept there, as the operator typed them.
struct TeachSlot {
    QString x;
    QString z;
    QString name;
    QString y;

    bool operator==(const TeachSlot&) const = default;
};

// Every machine setting as text, the way the settings screens hold them:
// the settings fields, the valve table, the teach table and the wash table.
// Numbers are read from the texts with Val at the moment of use. An index
// outside its range reads empty and is ignored on write.
class MachineSettings {
  public:
    static constexpr int kFieldCount = 38;  // JUCIsetting.txt
    static constexpr int kValveCount = 24;
    static constexpr int kValveFieldCount = 4 * kValveCount;  // AA_Name.txt
    static constexpr int kTeachSlotCount = 64;                // XZ_Name.txt, Y_Name.txt
    static constexpr int kWashSlotCount = 64;
    static constexpr int kWashFieldCount = 2 * kWashSlotCount;  // WASHsetting.txt

    // Settings field i (0..37) is record i + 1 of JUCIsetting.txt.
    QString Text1(int i) const;
    void setText1(int i, const QString& text);
    // Val of settings field i.
    double number(int i) const { return i >= 0 && i < kFieldCount ? number1_[size_t(i)] : 0.0; }
    // The machine type (field 5) as the whole number the field holds; 0 when
    // it holds none ("2.5" is no type, nor a value beyond 10^9).
    int machineType() const;
    // Folder of the dye-mix files (field 37), trimmed.
    QString dyeMixFolder() const;
    // The site profile, parsed whenever its field is written.
    SiteProfile siteProfile() const { return siteProfile_; }
    // The language (field 9) as the whole number the texts are looked up by.
    int language() const;

    // Valve table field k (0..95) is record k + 1 of AA_Name.txt.
    QString Text4(int k) const;
    void setText4(int k, const QString& text);
    // The table's four columns for valve 1..24.
    QString valveCode(int valve) const;
    double valveRate(int valve) const;
    QString valveName(int valve) const;
    double valveMinimumTime(int valve) const;  // hundredths of a second

    // Teach slot 1..64.
    TeachSlot teachSlot(int slot) const;
    void setTeachSlot(int slot, const TeachSlot& value);
    // X and Y compensation distances (records 65 and 66 of Y_Name.txt).
    const QString& xCompensation() const { return xCompensation_; }
    const QString& yCompensation() const { return yCompensation_; }
    void setXCompensation(const QString& text) { xCompensation_ = text; }
    void setYCompensation(const QString& text) { yCompensation_ = text; }

    // Wash table box i (0..127) is record i + 1 of WASHsetting.txt.
    QString washText(int i) const;
    void setWashText(int i, const QString& text);
    // Wash count and wash water of wash slot 1..64 (records s and s + 64).
    double washCount(int slot) const;
    double washWater(int slot) const;

  private:
    std::array<QString, kFieldCount> text1_;
    // Val of each settings field, worked out when the field is set: the
    // settings are read many times a second and set rarely.
    std::array<double, kFieldCount> number1_{};
    SiteProfile siteProfile_ = SiteProfile::None;
    std::array<QString, kValveFieldCount> text4_;
    std::array<TeachSlot, kTeachSlotCount> teach_;
    QString xCompensation_;
    QString yCompensation_;
    std::array<QString, kWashFieldCount> wash_;
};

}  // namespace dye
