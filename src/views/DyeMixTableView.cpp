#include "DyeMixTableView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "model/Form14.h"
#include "screens/tables/DyeMixTable.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {
namespace {

constexpr int kPerColumn = 10;

}  // namespace

DyeMixTableView::DyeMixTableView(Form14& form, DyeMixTable& table, QWidget* parent)
    : QWidget(parent, Qt::Window), f_(form), table_(table) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(f_.Caption);
    auto* g = new QGridLayout(this);
    label2_ = new QLabel(this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    g->addWidget(label2_, 0, 0, 1, 6);
    for (int i = 0; i < Form14::kEntries; ++i) {
        const int row = 1 + i % kPerColumn;
        const int col = i / kPerColumn * 2;
        auto* number = new QLabel(this);
        number->setObjectName(QStringLiteral("Label1_%1").arg(i));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label1_[size_t(i)] = number;
        auto* box = modelEntryBox(this, QStringLiteral("Text1_%1").arg(i), f_.Text1[i], [this, i] {
            table_.saveField(i);
            render();
        });
        box->setMinimumWidth(220);
        text1_[size_t(i)] = box;
        g->addWidget(number, row, col);
        g->addWidget(box, row, col + 1);
    }
    describeControls(this, QStringLiteral("Form14"));
    render();
}

void DyeMixTableView::open() {
    if (!isVisible()) table_.load();
    f_.Visible = true;
    render();
}

void DyeMixTableView::render() {
    if (windowTitle() != f_.Caption) setWindowTitle(f_.Caption);
    label2_->setText(f_.Label2);
    for (int i = 0; i < Form14::kEntries; ++i) {
        label1_[size_t(i)]->setText(f_.Label1[i]);
        showEditText(text1_[size_t(i)], f_.Text1[i]);
        nameControl(text1_[size_t(i)], QStringLiteral("%1 %2").arg(f_.EntryCaption).arg(i + 1));
    }
    followModel(this, f_.Visible, f_.focusMoves, focusMoves_, f_.ActiveControl);
}

void DyeMixTableView::closeEvent(QCloseEvent* event) {
    event->accept();
    f_.Visible = false;
}

}  // namespace dye
