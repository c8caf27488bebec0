#include "SingleEntryView.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "screens/entry/SingleEntry.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {
namespace {

constexpr int kEnter = 13;

void showCombo(QComboBox* widget, const ComboBox& combo) {
    const QSignalBlocker block(widget);
    QStringList items;
    for (int i = 0; i < widget->count(); ++i) items << widget->itemText(i);
    if (items != combo.items) {
        widget->clear();
        widget->addItems(combo.items);
    }
    if (widget->currentText() != combo.Text) widget->setEditText(combo.Text);
}

}  // namespace

SingleEntryView::SingleEntryView(const StationState& state, Form7& model, SingleEntry& entry,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), s_(state), model_(model), entry_(entry) {
    setObjectName(QStringLiteral("Form7"));
    auto* g = new QGridLayout(this);
    for (int i = 0; i < 2; ++i) {
        label1_[size_t(i)] = new QLabel(this);
        label1_[size_t(i)]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        setFontSize(label1_[size_t(i)], 14, true);
    }
    Form7& f = model_;
    combo1_ = combo(QStringLiteral("Combo1"), &f.Combo1.Text);
    combo2_ = combo(QStringLiteral("Combo2"), &f.Combo2.Text);
    combo3_ = combo(QStringLiteral("Combo3"), &f.Combo3.Text);
    connect(combo1_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { forward([this] { entry_.codeKey(kEnter); }); });
    connect(combo2_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { forward([this] { entry_.weightKey(kEnter); }); });
    g->addWidget(label1_[1], 0, 0);
    g->addWidget(combo1_, 0, 1);
    g->addWidget(label1_[0], 1, 0);
    g->addWidget(combo2_, 1, 1);
    g->addWidget(combo3_, 2, 1);

    // The keypad: 7 8 9 / 4 5 6 / 1 2 3 / 0 <-
    auto* keys = new QGridLayout;
    for (int i = 0; i <= 10; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(QStringLiteral("Command2_%1").arg(i));
        setFontSize(b, 16, true);
        b->setMinimumSize(56, 44);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, i] { forward([this, i] { entry_.keypad(i); }); });
        command2_[size_t(i)] = b;
        if (i >= 1 && i <= 9)
            keys->addWidget(b, 2 - (i - 1) / 3, (i - 1) % 3);
        else
            keys->addWidget(b, 3, i == 0 ? 0 : 1, 1, i == 0 ? 1 : 2);
    }
    g->addLayout(keys, 3, 0, 1, 2);

    command1_ = new QPushButton(this);
    command1_->setObjectName(QStringLiteral("Command1"));
    setFontSize(command1_, 16, true);
    command1_->setMinimumHeight(48);
    command1_->setAutoDefault(true);  // Enter on it queues, as after Enter in the weight box
    connect(command1_, &QPushButton::clicked, this,
            [this] { forward([this] { entry_.queueEntry(); }); });
    g->addWidget(command1_, 4, 0, 1, 2);

    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    setFontSize(list1_, 13);
    const auto clicked = [this](QListWidgetItem* item) {
        forward([this, row = list1_->row(item)] {
            model_.List1.ListIndex = row;
            entry_.lineClicked();
        });
    };
    connect(list1_, &QListWidget::itemClicked, this, clicked);
    connect(list1_, &QListWidget::itemActivated, this, clicked);
    g->addWidget(list1_, 0, 2, 5, 1);
    g->setColumnStretch(2, 1);

    resize(640, 420);
    describeControls(this, QStringLiteral("Form7"));
    render();
}

QComboBox* SingleEntryView::combo(const QString& name, QString* text) {
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumWidth(160);
    setFontSize(c, 14);
    // A preset picked from the list and a text typed alike.
    connect(c, &QComboBox::currentTextChanged, this, [text](const QString& t) { *text = t; });
    connect(c, &QComboBox::editTextChanged, this, [text](const QString& t) { *text = t; });
    return c;
}

void SingleEntryView::forward(const std::function<void()>& handler) {
    handler();
    render();
}

void SingleEntryView::render() {
    const Form7& f = model_;
    setWindowTitle(f.Caption);
    for (int i = 0; i < 2; ++i) showLabel(label1_[size_t(i)], f.Label1[i]);
    showCombo(combo1_, f.Combo1);
    showCombo(combo2_, f.Combo2);
    showCombo(combo3_, f.Combo3);
    showList(list1_, f.List1);
    for (int i = 0; i <= 10; ++i) {
        command2_[size_t(i)]->setText(f.Command2[i].Caption);
        command2_[size_t(i)]->setEnabled(f.Command2[i].Enabled);
    }
    command1_->setText(f.Command1.Caption);
    command1_->setEnabled(f.Command1.Enabled);

    // The boxes' captions are the labels beside them; the bucket box is the
    // main screen's bucket header.
    const auto caption = [](const QString& text, const char* fallback) {
        return text.trimmed().isEmpty() ? QString::fromLatin1(fallback) : text.trimmed();
    };
    nameControl(combo1_, caption(f.Label1[1].Caption, "Combo1"));
    nameControl(combo2_, caption(f.Label1[0].Caption, "Combo2"));
    nameControl(combo3_, caption(s_.form3.Label9[4].Caption, "Combo3"));
    nameControl(list1_, caption(f.Label1[1].Caption, "List1"));

    followModel(this, f.Visible, f.focusMoves, focusMoves_, f.ActiveControl);
}

void SingleEntryView::closeEvent(QCloseEvent* event) {
    event->accept();
    model_.Visible = false;
}

}  // namespace dye
