#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;

namespace dye {

class RecordsViewer;
struct Form4;

// The records viewer window (Form4): the files of data/ on the left, the
// records of the chosen file (or the totals) in a fixed-pitch font on the
// right under their column headers, what the list shows, the search box with its help text, the
// totals button and the CSV export. Clicks and Enter go to the viewer's handlers; the window then
// draws the model again.
class RecordsViewerView : public QWidget {
  public:
    RecordsViewerView(Form4& form, RecordsViewer& viewer, QWidget* parent = nullptr);
    // Opening from the main screen: a window not yet shown lists the files
    // afresh (the viewer's load); one already open is only brought forward.
    void open();
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void forward(const std::function<void()>& handler);
    void chooseFile();
    void exportCsv();

    Form4& f_;
    RecordsViewer& viewer_;
    QLabel* label1_;
    QLabel* label2_;
    QScrollArea* header_;
    QLabel* label3_;
    QLineEdit* text1_;
    QPushButton* command1_;
    QPushButton* command2_;
    QListWidget* list2_;
    QListWidget* list1_;
};

}  // namespace dye
