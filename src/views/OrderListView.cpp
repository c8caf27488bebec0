#include "OrderListView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QListWidget>

#include "screens/main/MainScreen.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {

OrderListView::OrderListView(const StationState& state, Form11& model, MainScreen& screen,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), s_(state), model_(model), screen_(screen) {
    setObjectName(QStringLiteral("Form11"));
    auto* g = new QGridLayout(this);
    auto value = [this](int i, int pointSize) {
        auto* l = new ClickLabel(this);
        l->setObjectName(QStringLiteral("Label1_%1").arg(i));
        setFontSize(l, pointSize, true);
        l->setAlignment(Qt::AlignCenter);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setMinimumHeight(pointSize * 2);
        l->onDoubleClick = [this] {
            screen_.backFromOrderList();
            render();
        };
        label1_[size_t(i)] = l;
        return l;
    };
    // Label1(0) above the job; Label1(1..4) under the four headers; the
    // further values (extras and place) below them.
    g->addWidget(value(0, 14), 0, 0, 1, 4);
    for (int i = 0; i < 4; ++i) {
        auto* header = new QLabel(this);
        header->setObjectName(QStringLiteral("Label2_%1").arg(i));
        setFontSize(header, 14);
        header->setAlignment(Qt::AlignCenter);
        label2_[size_t(i)] = header;
        g->addWidget(header, 1, i);
        g->addWidget(value(1 + i, 24), 2, i);
    }
    for (int i = 5; i < 8; ++i) g->addWidget(value(i, 14), 3, i - 5);

    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    setFontSize(list1_, 16, true);
    list2_ = new QListWidget(this);
    list2_->setObjectName(QStringLiteral("List2"));
    setFontSize(list2_, 18, true);
    g->addWidget(list1_, 4, 0);
    g->addWidget(list2_, 4, 1, 1, 3);
    g->setRowStretch(4, 1);
    g->setColumnStretch(0, 1);
    for (int c = 1; c < 4; ++c) g->setColumnStretch(c, 1);

    label3_ = new QLabel(this);
    label3_->setObjectName(QStringLiteral("Label3"));
    label4_ = new QLabel(this);
    label4_->setObjectName(QStringLiteral("Label4"));
    g->addWidget(label3_, 5, 0, 1, 4);
    g->addWidget(label4_, 6, 0, 1, 4);
    resize(1000, 700);
    describeControls(this, QStringLiteral("Form11"));
    render();
}

void OrderListView::render() {
    const Form11& f = model_;
    setWindowTitle(f.Caption);
    for (int i = 0; i < 8; ++i) label1_[size_t(i)]->setText(f.Label1[i]);
    for (int i = 0; i < 4; ++i) label2_[size_t(i)]->setText(f.Label2[i]);
    label3_->setText(f.Label3);
    label4_->setText(f.Label4);
    showList(list1_, f.List1);
    showList(list2_, f.List2);
    // The queue lines are order---bucket; the grid lines follow the main screen's grid headers.
    nameControl(list1_, f.Label2[0] + QStringLiteral(" / ") + f.Label2[1]);
    const Form3& main = s_.form3;
    QStringList grid;
    for (int i : {7, 12, 8, 10, 9, 11})
        if (!main.Label9[i].Caption.trimmed().isEmpty()) grid << main.Label9[i].Caption.trimmed();
    nameControl(list2_,
                grid.isEmpty() ? QStringLiteral("List2") : grid.join(QStringLiteral(" = ")));
}

void OrderListView::closeEvent(QCloseEvent* event) {
    // Closing by the frame only hides the window; the main screen comes back.
    event->accept();
    model_.Visible = false;
    screen_.closeOrderList();
}

}  // namespace dye
