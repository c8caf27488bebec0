#include "ProfileListView.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "model/Form8.h"
#include "screens/plant/ProfileList.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {

ProfileListView::ProfileListView(Form8& form, const MachineSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), f_(form), settings_(settings) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(f_.Caption);
    auto* v = new QVBoxLayout(this);
    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    setFontSize(list1_, 14);
    v->addWidget(list1_);
    // A mouse click, and a line chosen by keyboard or by an assistive tool.
    connect(list1_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { clickLine(list1_->row(item)); });
    connect(list1_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = list1_->selectedItems();
        if (!chosen.isEmpty()) clickLine(list1_->row(chosen.first()));
    });
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text2_ = new QLineEdit(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    for (QLineEdit* box : {text1_, text2_}) {
        setFontSize(box, 14, true);
        v->addWidget(box);
    }
    connect(text1_, &QLineEdit::textEdited, this, [this](const QString& t) { f_.Text1 = t; });
    connect(text2_, &QLineEdit::textEdited, this, [this](const QString& t) { f_.Text2 = t; });
    resize(420, 360);
    describeControls(this, QStringLiteral("Form8"));
    render();
}

void ProfileListView::open() {
    fillProfileList(f_, settings_);
    f_.Visible = true;
    render();
}

void ProfileListView::clickLine(int line) {
    pickProfile(f_, line);
    render();
}

void ProfileListView::render() {
    if (windowTitle() != f_.Caption) setWindowTitle(f_.Caption);
    showList(list1_, f_.List1);
    // Every line shown whole, without scrolling.
    const int frame = 2 * list1_->frameWidth();
    const QSize whole(list1_->sizeHintForColumn(0) + frame + 8,
                      list1_->sizeHintForRow(0) * list1_->count() + frame + 4);
    if (list1_->count() > 0 && list1_->minimumSize() != whole) list1_->setMinimumSize(whole);
    showEditText(text1_, f_.Text1);
    showEditText(text2_, f_.Text2);
    nameControl(list1_, QStringLiteral("LINK TYPE"));
    nameControl(text1_, QStringLiteral("profile"));
    nameControl(text2_, QStringLiteral("site"));
    if (f_.Visible != isVisible()) setVisible(f_.Visible);
}

void ProfileListView::closeEvent(QCloseEvent* event) {
    event->accept();
    f_.Visible = false;
}

}  // namespace dye
