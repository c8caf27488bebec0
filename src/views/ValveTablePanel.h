#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace dye {

class EntryBox;
class SettingsEditor;
struct StationState;

// The valve table: 24 rows (numbers Label6) of code, rate, name and shortest
// opening (Text4, column c row r at 24c + r). Enter saves a field.
class ValveTablePanel : public QWidget {
  public:
    ValveTablePanel(const StationState& state, SettingsEditor& editor, QWidget* parent = nullptr);
    void render();

  private:
    const StationState& s_;
    std::array<QLabel*, 4> headers_{};
    std::array<QLabel*, 24> label6_{};
    std::array<EntryBox*, 96> text4_{};
};

}  // namespace dye
