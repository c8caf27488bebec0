#pragma once

#include <QWidget>

#include <array>

namespace dye {

class ClickLabel;
class EntryBox;
class ManualControls;
class SettingsEditor;
struct StationState;

// The 38 machine settings (Text1) with their captions, in four columns
// (fields 0-12, 13-23, 24-30, 31-37). Enter saves a field; until then what
// is typed stays in its box.
class SettingsFieldsPanel : public QWidget {
  public:
    SettingsFieldsPanel(const StationState& state, SettingsEditor& editor, ManualControls* manual,
                        QWidget* parent = nullptr);
    void render();

  private:
    QString caption(int i) const;

    const StationState& s_;
    std::array<ClickLabel*, 38> captions_{};
    std::array<EntryBox*, 38> text1_{};
};

}  // namespace dye
