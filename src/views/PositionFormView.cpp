#include "PositionFormView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "screens/position/PositionScreen.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"
#include "views/SlotMap.h"

namespace dye {
namespace {

constexpr int kRowsPerColumn = 32;
const char* const kColumnNames[3] = {"X", "Y", "Z"};

// Shows the model's text; only what the operator (or an accessibility
// client) types is reported back as an edit.
void showText(QLineEdit* edit, const QString& text) {
    if (edit->text() == text) return;
    const QSignalBlocker block(edit);
    edit->setText(text);
}

// The places the slot map draws for the machine type.
int mapPlaces(int type) {
    switch (type) {
        case 1:
            return 25;
        case 4:
            return 21;
        default:
            return Form9::kSlots;
    }
}

}  // namespace

PositionFormView::PositionFormView(const StationState& state, Form9& model, PositionScreen& screen,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), s_(state), model_(model), screen_(screen) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(model_.Caption);
    // The captions this screen shows (the others of the array are not on it).
    for (int i : {1, 6, 7, 8, 9, 11, 12, 13, 15, 37, 38}) {
        label1_[size_t(i)] = new QLabel(this);
        label1_[size_t(i)]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    }
    auto* content = new QWidget(this);
    auto* h = new QHBoxLayout(content);
    h->addWidget(buildSlots());
    h->addWidget(buildControls());
    scrollInside(this, content);
    describeControls(this, QStringLiteral("Form9"));
    render();
}

QLineEdit* PositionFormView::entry(const QString& name, int width) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setFixedWidth(width);
    return e;
}

QPushButton* PositionFormView::button(const QString& name, std::function<void()> handler) {
    auto* b = new QPushButton(this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, handler] { forward(handler); });
    return b;
}

QWidget* PositionFormView::buildSlots() {
    auto* w = new QWidget(this);
    auto* g = new QGridLayout(w);
    g->setVerticalSpacing(1);
    g->setHorizontalSpacing(3);
    for (int half = 0; half < 2; ++half) {
        const int col = half * 6;
        for (int c = 0; c < 3; ++c) {
            auto* head = new QLabel(QString::fromLatin1(kColumnNames[c]), w);
            head->setObjectName(QStringLiteral("Label2_%1").arg(half * 3 + c));
            head->setAlignment(Qt::AlignCenter);
            g->addWidget(head, 0, col + 1 + c);
        }
        g->addWidget(label1_[half == 0 ? 15 : 1], 0, col + 4);
        g->setColumnMinimumWidth(col + 5, half == 0 ? 16 : 0);
    }
    for (int k = 0; k < Form9::kSlots; ++k) {
        const int row = 1 + k % kRowsPerColumn;
        const int col = k / kRowsPerColumn * 6;
        QPushButton* number =
            button(QStringLiteral("Label4_%1").arg(k), [this, k] { screen_.slotClicked(k); });
        number->setFlat(true);
        number->setFixedWidth(34);
        label4_[size_t(k)] = number;
        g->addWidget(number, row, col);
        for (int part = 0; part < 4; ++part) {
            const int i = k + part * Form9::kSlots;
            QLineEdit* e = entry(QStringLiteral("Text2_%1").arg(i), part < 3 ? 62 : 110);
            connect(e, &QLineEdit::textChanged, this,
                    [this, i](const QString& t) { screen_.teachFieldChanged(i, t); });
            text2_[size_t(i)] = e;
            g->addWidget(e, row, col + 1 + part);
        }
    }
    return w;
}

QWidget* PositionFormView::buildControls() {
    auto* w = new QWidget(this);
    auto* v = new QVBoxLayout(w);

    // Positions, move entries and homing, one row per axis (X, Y, Z).
    auto* axes = new QGridLayout;
    const int positionCaption[3] = {6, 9, 7};
    const int moveCaption[3] = {8, 11, 12};
    for (int a = 0; a < 3; ++a) {
        axes->addWidget(label1_[size_t(positionCaption[a])], a, 0);
        label5_[size_t(a)] = new QLabel(w);
        label5_[size_t(a)]->setObjectName(QStringLiteral("Label5_%1").arg(a));
        label5_[size_t(a)]->setMinimumWidth(60);
        label5_[size_t(a)]->setFrameShape(QFrame::Panel);
        label5_[size_t(a)]->setFrameShadow(QFrame::Sunken);
        axes->addWidget(label5_[size_t(a)], a, 1);
        axes->addWidget(label1_[size_t(moveCaption[a])], a, 2);
        text3_[size_t(a)] = entry(QStringLiteral("Text3_%1").arg(a), 80);
        connect(text3_[size_t(a)], &QLineEdit::textChanged, this,
                [this, a](const QString& t) { model_.Text3[a] = t; });
        connect(text3_[size_t(a)], &QLineEdit::returnPressed, this,
                [this, a] { forward([this, a] { screen_.moveAxisTo(a); }); });
        axes->addWidget(text3_[size_t(a)], a, 3);
    }
    command5_ = button(QStringLiteral("Command5"), [this] { screen_.homeX(); });
    command1_ = button(QStringLiteral("Command1"), [this] { screen_.homeY(); });
    command2_ = button(QStringLiteral("Command2"), [this] { screen_.homeZ(); });
    axes->addWidget(command5_, 0, 4);
    axes->addWidget(command1_, 1, 4);
    axes->addWidget(command2_, 2, 4);
    v->addLayout(axes);

    // Compensation distances: Enter saves each.
    auto* comp = new QHBoxLayout;
    comp->addWidget(label1_[13]);
    auto* xCaption = new QLabel(QStringLiteral("X"), w);
    xCaption->setObjectName(QStringLiteral("Label6"));
    comp->addWidget(xCaption);
    text1_ = entry(QStringLiteral("Text1"), 70);
    comp->addWidget(text1_);
    auto* yCaption = new QLabel(QStringLiteral("Y"), w);
    yCaption->setObjectName(QStringLiteral("Label7"));
    comp->addWidget(yCaption);
    text4_ = entry(QStringLiteral("Text4"), 70);
    comp->addWidget(text4_);
    comp->addStretch();
    connect(text1_, &QLineEdit::textChanged, this,
            [this](const QString& t) { screen_.firstCompensationChanged(t); });
    connect(text4_, &QLineEdit::textChanged, this,
            [this](const QString& t) { screen_.secondCompensationChanged(t); });
    connect(text1_, &QLineEdit::returnPressed, this,
            [this] { forward([this] { screen_.saveFirstCompensation(); }); });
    connect(text4_, &QLineEdit::returnPressed, this,
            [this] { forward([this] { screen_.saveSecondCompensation(); }); });
    v->addLayout(comp);

    // Indicators: D301..D309 (gantry) and D297 (pipe head).
    auto* ind = new QGridLayout;
    ind->addWidget(label1_[37], 0, 0, 1, 9);
    ind->addWidget(label1_[38], 0, 9);
    for (int i = 0; i < 10; ++i) {
        auto* l = new QLabel(w);
        l->setObjectName(QStringLiteral("Label3_%1").arg(i));
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Box);
        l->setMinimumWidth(24);
        label3_[size_t(i)] = l;
        ind->addWidget(l, 1, i);
    }
    v->addLayout(ind);

    check1_ = new QCheckBox(QStringLiteral("MOVE"), w);
    check1_->setObjectName(QStringLiteral("Check1"));
    connect(check1_, &QCheckBox::toggled, this, [this](bool on) { model_.Check1 = on; });
    command3_ = button(QStringLiteral("Command3"), [this] { screen_.spreadSlots(); });
    command12_ = button(QStringLiteral("Command12"), [this] { screen_.saveSlots(); });
    command4_ = button(QStringLiteral("Command4"), [this] { screen_.openDrainValve(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(check1_);
    buttons->addWidget(command3_);
    buttons->addWidget(command12_);
    buttons->addWidget(command4_);
    v->addLayout(buttons);

    picture1_ = new SlotMap(w);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->onSlotClick = [this](int k) { forward([this, k] { screen_.slotClicked(k); }); };
    v->addWidget(picture1_, 0, Qt::AlignLeft);
    v->addStretch();
    return w;
}

void PositionFormView::forward(const std::function<void()>& handler) {
    handler();
    render();
}

void PositionFormView::open() {
    model_.Visible = true;
    render();
}

void PositionFormView::render() {
    screen_.showSaved();
    const Form9& f = model_;
    if (windowTitle() != f.Caption) setWindowTitle(f.Caption);
    for (int i = 0; i < int(label1_.size()); ++i)
        if (label1_[size_t(i)]) label1_[size_t(i)]->setText(f.Label1[i]);
    for (int k = 0; k < Form9::kSlots; ++k) {
        QPushButton* number = label4_[size_t(k)];
        number->setText(f.Label4[k]);
        // The selected slot number is painted green, RGB(0, 180, 0).
        const QString style = k + 1 == f.Label4Selected
                                  ? QStringLiteral("background: rgb(0, 180, 0); color: white;")
                                  : QString();
        if (number->styleSheet() != style) number->setStyleSheet(style);
    }
    for (int i = 0; i < Form9::kFields; ++i) {
        showText(text2_[size_t(i)], f.Text2[i]);
        const int part = i / Form9::kSlots;
        const QString column =
            part < 3 ? QString::fromLatin1(kColumnNames[part]) : f.Label1[15].trimmed();
        nameControl(text2_[size_t(i)], QStringLiteral("%1 %2").arg(column).arg(i % 64 + 1));
    }
    showText(text1_, f.Text1);
    showText(text4_, f.Text4);
    nameControl(text1_, f.Label1[13] + QStringLiteral(" X"));
    nameControl(text4_, f.Label1[13] + QStringLiteral(" Y"));
    const int moveCaption[3] = {8, 11, 12};
    for (int a = 0; a < 3; ++a) {
        showText(text3_[size_t(a)], f.Text3[a]);
        nameControl(text3_[size_t(a)], f.Label1[moveCaption[a]]);
        label5_[size_t(a)]->setText(f.Label5[a]);
    }
    for (int i = 0; i < 10; ++i) label3_[size_t(i)]->setText(f.Label3[i]);
    if (check1_->isChecked() != f.Check1) check1_->setChecked(f.Check1);
    command5_->setText(f.Command5.Caption);
    command1_->setText(f.Command1.Caption);
    command2_->setText(f.Command2.Caption);
    command3_->setText(f.Command3.Caption);
    command12_->setText(f.Command12.Caption);
    command4_->setText(f.Command4.Caption);
    picture1_->display(mapPlaces(s_.machineType()), f.Label4Selected);
    if (f.Visible != isVisible()) setVisible(f.Visible);
}

void PositionFormView::closeEvent(QCloseEvent* event) {
    event->accept();
    model_.Visible = false;
}

}  // namespace dye
