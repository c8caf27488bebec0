#include "WashTableView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "model/Form10.h"
#include "screens/tables/WashTable.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {
namespace {

constexpr int kPerBand = 16;

}  // namespace

WashTableView::WashTableView(Form10& form, WashTable& table, QWidget* parent)
    : QWidget(parent, Qt::Window), f_(form), table_(table) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(f_.Caption);
    auto* g = new QGridLayout(this);
    g->setHorizontalSpacing(3);
    for (int band = 0; band < Form10::kSlots / kPerBand; ++band) {
        const int row = band * 4;
        for (int line = 0; line < 2; ++line) {
            auto* caption = new QLabel(this);
            caption->setObjectName(QStringLiteral("Label2_%1").arg(band * 2 + line));
            captions_[size_t(band * 2 + line)] = caption;
            g->addWidget(caption, row + 1 + line, 0);
        }
        for (int c = 0; c < kPerBand; ++c) {
            const int s = band * kPerBand + c + 1;  // wash slot 1..64
            auto* number = new QLabel(this);
            number->setObjectName(QStringLiteral("Label1_%1").arg(s - 1));
            number->setAlignment(Qt::AlignCenter);
            label1_[size_t(s - 1)] = number;
            g->addWidget(number, row, c + 1);
            for (int line = 0; line < 2; ++line) {
                const int i = line == 0 ? s - 1 : s + 63;
                auto* box =
                    modelEntryBox(this, QStringLiteral("Text1_%1").arg(i), f_.Text1[i], [this, i] {
                        table_.saveField(i);
                        render();
                    });
                box->setFixedWidth(56);
                text1_[size_t(i)] = box;
                g->addWidget(box, row + 1 + line, c + 1);
            }
        }
        if (band > 0) g->setRowMinimumHeight(row - 1, 10);
    }
    describeControls(this, QStringLiteral("Form10"));
    render();
}

void WashTableView::open() {
    if (!isVisible()) table_.load();
    f_.Visible = true;
    render();
}

void WashTableView::render() {
    if (windowTitle() != f_.Caption) setWindowTitle(f_.Caption);
    for (int b = 0; b < int(captions_.size()); ++b)
        captions_[size_t(b)]->setText(b % 2 == 0 ? f_.CountCaption : f_.WaterCaption);
    for (int s = 0; s < Form10::kSlots; ++s) label1_[size_t(s)]->setText(f_.Label1[s]);
    for (int i = 0; i < Form10::kBoxes; ++i) {
        QLineEdit* box = text1_[size_t(i)];
        showEditText(box, f_.Text1[i]);
        const bool count = i < Form10::kSlots;
        nameControl(box, QStringLiteral("%1 %2")
                             .arg(count ? f_.CountCaption : f_.WaterCaption)
                             .arg(i % Form10::kSlots + 1));
    }
    followModel(this, f_.Visible, f_.focusMoves, focusMoves_, f_.ActiveControl);
}

void WashTableView::closeEvent(QCloseEvent* event) {
    event->accept();
    f_.Visible = false;
}

}  // namespace dye
