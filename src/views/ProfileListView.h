#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;

namespace dye {

struct Form8;
class MachineSettings;

// The profile list (Form8), opened by the settings screen's "LINK TYPE"
// button: one line per site profile; a click on a line shows the profile
// name in Text1 and the site's display name in Text2, from where the
// operator copies the name. It does not change the setting.
class ProfileListView : public QWidget {
  public:
    ProfileListView(Form8& form, const MachineSettings& settings, QWidget* parent = nullptr);
    // Fills the list afresh (the language may have changed since) and shows it.
    void open();
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void clickLine(int line);

    Form8& f_;
    const MachineSettings& settings_;
    QListWidget* list1_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
};

}  // namespace dye
