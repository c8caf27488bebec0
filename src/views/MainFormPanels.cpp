// The main screen's panels: job fields, grid, queue, machine, recipe
// editor and controls, each built once with its widgets named as the controls.
#include "views/MainFormView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "core/KeyState.h"
#include "model/DispenseGrid.h"
#include "screens/main/MainScreen.h"
#include "screens/main/RunControl.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/MainFormFields.h"
#include "views/ModelWidgets.h"

namespace dye {

using mainform::box;
using mainform::field;
using mainform::indexed;

QWidget* MainFormView::buildJob() {
    auto* w = new QWidget(this);
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    QLabel** values[4] = {&label2_, &label5_, &label6_, &label7_};
    const char* names[4] = {"Label2", "Label5", "Label6", "Label7"};
    for (int i = 0; i < 4; ++i) {
        label9_[size_t(3 + i)] = field(w, indexed("Label9", 3 + i), 12, false);
        g->addWidget(label9_[size_t(3 + i)], 0, i);
        *values[i] = box(w, QString::fromLatin1(names[i]), 22, true);
        (*values[i])->setMinimumHeight(44);
        g->addWidget(*values[i], 1, i);
        g->setColumnStretch(i, i == 0 ? 2 : 1);
    }
    for (int i = 0; i < 4; ++i) {
        label18_[size_t(i)] = box(w, indexed("Label18", i), 11, false);
        g->addWidget(label18_[size_t(i)], 2, i);
    }
    return w;
}

QWidget* MainFormView::buildGrid() {
    using namespace DispenseGrid;
    auto* w = new QWidget(this);
    w->setObjectName(QStringLiteral("DispenseGrid"));
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 6, 0, 0);
    g->setSpacing(2);
    const int stretch[6] = {3, 2, 1, 2, 1, 4};
    for (int c = 0; c < 6; ++c) {
        label9_[size_t(7 + c)] = field(w, indexed("Label9", 7 + c), 12, false);
        g->addWidget(label9_[size_t(7 + c)], 0, c + 1);
        g->setColumnStretch(c + 1, stretch[c]);
    }
    for (int r = 0; r < kRows; ++r) {
        label1_[size_t(r)] = field(w, indexed("Label1", r), 12, false);
        label3_[size_t(r)] = field(w, indexed("Label3", r), 12, false);
        g->addWidget(label1_[size_t(r)], r + 1, 0);
        g->addWidget(label3_[size_t(r)], r + 1, 7);
        for (int c = 0; c < 6; ++c) {
            const int index = int(kColumns[c]) + r;
            const bool weight = kColumns[c] == RecipeWeight || kColumns[c] == ActualWeight;
            QLabel* cell = box(w, indexed("Label4", index), weight ? 18 : 15, weight,
                               weight ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
            cell->setMinimumHeight(34);
            label4_[size_t(index)] = cell;
            g->addWidget(cell, r + 1, c + 1);
        }
    }
    return w;
}

QWidget* MainFormView::buildQueue() {
    auto* w = new QWidget(this);
    w->setFixedWidth(280);
    auto* v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    auto* headers = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        label9_[size_t(i)] = field(w, indexed("Label9", i), 12, false);
        headers->addWidget(label9_[size_t(i)]);
    }
    v->addLayout(headers);
    list2_ = new QListWidget(w);
    list2_->setObjectName(QStringLiteral("List2"));
    setFontSize(list2_, 14, true);
    v->addWidget(list2_, 3);
    list1_ = new QListWidget(w);
    list1_->setObjectName(QStringLiteral("List1"));
    setFontSize(list1_, 12);
    v->addWidget(list1_, 2);
    connect(list1_, &QListWidget::currentRowChanged, this,
            [this](int row) { model_.List1.ListIndex = row; });
    connect(list2_, &QListWidget::currentRowChanged, this,
            [this](int row) { model_.List2.ListIndex = row; });
    return w;
}

QWidget* MainFormView::buildMachine() {
    auto* w = new QWidget(this);
    auto* v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    label8_ = new ClickLabel(w);
    label8_->setObjectName(QStringLiteral("Label8"));
    setFontSize(label8_, 16, true);
    label8_->setAlignment(Qt::AlignCenter);
    label8_->setWordWrap(true);
    label8_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    label8_->setLineWidth(2);
    label8_->setMinimumHeight(64);
    label8_->onDoubleClick = [this] { forward([this] { screen_.showOrderListInstead(); }); };
    v->addWidget(label8_);

    auto* balances = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        label11_[size_t(i)] = box(w, indexed("Label11", i), 13, true);
        balances->addWidget(label11_[size_t(i)], i / 2 * 2, i % 2);
    }
    for (int i = 0; i < 2; ++i) {
        label10_[size_t(i)] = box(w, indexed("Label10", i), 15, true);
        label10_[size_t(i)]->setMinimumHeight(34);
        balances->addWidget(label10_[size_t(i)], 1, i);
    }
    v->addLayout(balances);

    picture2_ = new PictureBox(w);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture1_ = new PictureBox(w);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    v->addWidget(picture2_);
    v->addWidget(picture1_);
    v->addStretch(1);
    return w;
}

QWidget* MainFormView::buildEditor() {
    auto* w = new QGroupBox(this);
    w->setObjectName(QStringLiteral("EntryFrame"));
    auto* g = new QGridLayout(w);
    g->setSpacing(3);
    text2_ = new QLineEdit(w);
    text2_->setObjectName(QStringLiteral("Text2"));
    combo1_ = new QComboBox(w);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setEditable(true);
    text3_ = new QLineEdit(w);
    text3_->setObjectName(QStringLiteral("Text3"));
    g->addWidget(text2_, 0, 0, 1, 4);
    g->addWidget(combo1_, 0, 4, 1, 3);
    g->addWidget(text3_, 0, 7, 1, 3);
    // Every change of the text reaches the model, typed or set through the
    // accessibility interface; the model's own texts come back unchanged.
    connect(text2_, &QLineEdit::textChanged, this, [this](const QString& t) { model_.Text2 = t; });
    connect(text3_, &QLineEdit::textChanged, this, [this](const QString& t) { model_.Text3 = t; });
    connect(combo1_, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { model_.Combo1.Text = t; });
    // Codes in the first row, their weights under them.
    for (int k = 0; k < 20; ++k) {
        auto* e = new QLineEdit(w);
        e->setObjectName(indexed("Text1", k));
        e->setMinimumWidth(60);
        connect(e, &QLineEdit::textChanged, this,
                [this, k](const QString& t) { model_.Text1[k] = t; });
        text1_[size_t(k)] = e;
        g->addWidget(e, 1 + k / 10, k % 10);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(&Form3::Command1, "Command1", w));
    buttons->addWidget(button(&Form3::Command2, "Command2", w));
    buttons->addWidget(button(&Form3::Command3, "Command3", w));
    buttons->addWidget(button(&Form3::Command4, "Command4", w));
    buttons->addWidget(button(&Form3::Command14, "Command14", w));
    buttons->addWidget(button(&Form3::Command5, "Command5", w));
    buttons->addWidget(button(&Form3::Command6, "Command6", w));
    g->addLayout(buttons, 3, 0, 1, 10);
    return w;
}

QWidget* MainFormView::buildControls() {
    auto* w = new QWidget(this);
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    QPushButton* run = button(&Form3::Command9, "Command9", w);
    QPushButton* stop = button(&Form3::Command8, "Command8", w);
    for (QPushButton* b : {run, stop}) {
        setFontSize(b, 18, true);
        b->setMinimumSize(110, 56);
    }
    connect(run, &QPushButton::clicked, this, [this] { forward([this] { run_.run(); }); });
    connect(stop, &QPushButton::clicked, this, [this] { forward([this] { run_.stopJob(); }); });
    g->addWidget(run, 0, 0, 2, 1);
    g->addWidget(stop, 0, 1, 2, 1);

    QPushButton* settings = button(&Form3::Command10, "Command10", w);
    connect(settings, &QPushButton::clicked, this,
            [this] { forward([this] { screen_.showSettings(); }); });
    QPushButton* records = button(&Form3::Command7, "Command7", w);
    connect(records, &QPushButton::clicked, this,
            [this] { forward([this] { screen_.showRecords(); }); });
    QPushButton* wash = button(&Form3::Command12, "Command12", w);
    connect(wash, &QPushButton::clicked, this,
            [this] { forward([this] { screen_.requestWash(); }); });
    g->addWidget(settings, 0, 2);
    g->addWidget(records, 1, 2);
    g->addWidget(wash, 0, 3);
    QPushButton* quick = button(&Form3::Command11, "Command11", w);
    connect(quick, &QPushButton::clicked, this,
            [this] { forward([this] { screen_.quickMetering(); }); });
    g->addWidget(quick, 1, 3);
    g->addWidget(button(&Form3::Command13, "Command13", w), 0, 4);

    CheckBox Form3::*const boxes[6] = {&Form3::Check1, &Form3::Check2, &Form3::Check3,
                                       &Form3::Check4, &Form3::Check5, &Form3::Check6};
    for (int i = 0; i < 6; ++i) {
        auto* c = new QCheckBox(w);
        c->setObjectName(QStringLiteral("Check%1").arg(i + 1));
        c->setAutoFillBackground(true);
        CheckBox Form3::*member = boxes[i];
        connect(c, &QCheckBox::clicked, this, [this, member, i](bool on) {
            forward([this, member, i, on] {
                (model_.*member).Value = on;
                if (i == 0) screen_.d985Clicked();
            });
        });
        checks_.emplace_back(c, member);
        g->addWidget(c, 2 + i / 3, i % 3);
    }

    label14_ = box(w, QStringLiteral("Label14"), 10, true);
    label12_ = field(w, QStringLiteral("Label12_0"), 9, false);
    g->addWidget(label14_, 1, 4);
    buildMixerLabels(w, g);
    g->addWidget(label12_, 3, 3);
    auto* diag = new QHBoxLayout;
    const char* names[5] = {"Label15", "Label16", "Label17", "Label19", "Label22"};
    for (int i = 0; i < 5; ++i) {
        diagnostics_[size_t(i)] = field(w, QString::fromLatin1(names[i]), 9, false);
        diag->addWidget(diagnostics_[size_t(i)]);
    }
    g->addLayout(diag, 4, 0, 1, 5);
    return w;
}

}  // namespace dye
