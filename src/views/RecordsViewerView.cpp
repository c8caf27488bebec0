#include "RecordsViewerView.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "model/Form4.h"
#include "screens/records/RecordsViewer.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {

RecordsViewerView::RecordsViewerView(Form4& form, RecordsViewer& viewer, QWidget* parent)
    : QWidget(parent, Qt::Window), f_(form), viewer_(viewer) {
    setObjectName(QStringLiteral("Form4"));
    auto* g = new QGridLayout(this);

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setWordWrap(true);
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    command1_ = new QPushButton(this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(this);
    command2_->setObjectName(QStringLiteral("Command2"));
    list2_ = new QListWidget(this);
    list2_->setObjectName(QStringLiteral("List2"));
    list2_->setMaximumWidth(220);
    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    // The record lines are columns of fixed widths: they line up only in a
    // fixed-pitch font. A month can hold many thousands of lines.
    list1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list1_->setUniformItemSizes(true);
    list1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list1_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The headers in the list's font, over its columns: they scroll sideways
    // with the list.
    label2_ = new QLabel(this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setFont(list1_->font());
    label2_->setTextFormat(Qt::PlainText);
    label2_->setContentsMargins(list1_->frameWidth() + 2, 0, 0, 0);
    header_ = new QScrollArea(this);
    header_->setObjectName(QStringLiteral("Header"));
    header_->setWidget(label2_);
    header_->setFrameShape(QFrame::NoFrame);
    header_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header_->setFixedHeight(label2_->sizeHint().height());
    connect(list1_->horizontalScrollBar(), &QScrollBar::valueChanged,
            header_->horizontalScrollBar(), &QScrollBar::setValue);
    label3_ = new QLabel(this);
    label3_->setObjectName(QStringLiteral("Label3"));

    g->addWidget(label1_, 0, 0, 1, 4);
    g->addWidget(text1_, 1, 0, 1, 2);
    g->addWidget(command1_, 1, 2);
    g->addWidget(command2_, 1, 3);
    g->addWidget(label3_, 2, 0, 1, 4);
    g->addWidget(header_, 3, 1, 1, 3);
    g->addWidget(list2_, 3, 0, 2, 1);
    g->addWidget(list1_, 4, 1, 1, 3);
    g->setRowStretch(4, 1);
    g->setColumnStretch(1, 1);

    connect(text1_, &QLineEdit::textEdited, this, [this](const QString& t) { f_.Text1 = t; });
    connect(text1_, &QLineEdit::returnPressed, this, [this] {
        f_.Text1 = text1_->text();
        forward([this] { viewer_.searchKey(13); });
    });
    connect(command1_, &QPushButton::clicked, this,
            [this] { forward([this] { viewer_.showTotals(); }); });
    connect(command2_, &QPushButton::clicked, this, [this] { exportCsv(); });
    // A selection made by a click, the keyboard or an accessibility client.
    connect(list2_, &QListWidget::itemSelectionChanged, this, [this] { chooseFile(); });

    resize(1200, 700);
    describeControls(this, QStringLiteral("Form4"));
    render();
}

void RecordsViewerView::open() {
    if (!isVisible()) viewer_.open();
    f_.Visible = true;
    render();
}

void RecordsViewerView::forward(const std::function<void()>& handler) {
    handler();
    render();
}

void RecordsViewerView::chooseFile() {
    const QList<QListWidgetItem*> selected = list2_->selectedItems();
    if (selected.isEmpty()) return;
    f_.List2.ListIndex = list2_->row(selected.first());
    forward([this] { viewer_.loadChosenFile(); });
}

void RecordsViewerView::exportCsv() {
    const QString path = QFileDialog::getSaveFileName(
        this, command2_->text(), viewer_.csvSuggestion(), QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) forward([this, path] { viewer_.exportCsv(path); });
}

void RecordsViewerView::render() {
    setWindowTitle(f_.Caption);
    label1_->setText(f_.Label1.Caption);
    label2_->setText(f_.Label2.Caption);
    label2_->adjustSize();
    header_->horizontalScrollBar()->setValue(list1_->horizontalScrollBar()->value());
    label3_->setText(f_.Label3.Caption);
    command1_->setText(f_.Command1.Caption);
    command2_->setText(f_.Command2.Caption);
    if (text1_->text() != f_.Text1) text1_->setText(f_.Text1);
    showList(list2_, f_.List2);
    showList(list1_, f_.List1);
    nameControl(text1_, f_.Label1.Caption);
    nameControl(list2_, QStringLiteral("data"));
    nameControl(list1_, f_.Caption);
}

void RecordsViewerView::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; the next opening lists the files again.
    event->accept();
    f_.Visible = false;
}

}  // namespace dye
