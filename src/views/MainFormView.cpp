#include "MainFormView.h"

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

using mainform::field;

MainFormView::MainFormView(const StationState& state, Form3& model, MainScreen& screen,
                           RunControl& run, KeyState& keys, std::function<void()> unload,
                           QWidget* parent)
    : QMainWindow(parent),
      s_(state),
      model_(model),
      screen_(screen),
      run_(run),
      keys_(keys),
      unload_(std::move(unload)) {
    setObjectName(QStringLiteral("MainForm"));
    auto* central = new QWidget(this);
    auto* page = new QVBoxLayout(central);
    page->setContentsMargins(6, 4, 6, 4);

    status_ = field(central, QStringLiteral("Status"), 14, true, Qt::AlignLeft | Qt::AlignVCenter);
    status_->setWordWrap(true);
    status_->setMargin(6);
    status_->setAutoFillBackground(true);
    QPalette warn = status_->palette();
    warn.setColor(QPalette::Window, QColor(200, 0, 0));
    warn.setColor(QPalette::WindowText, Qt::white);
    status_->setPalette(warn);
    page->addWidget(status_);

    auto* body = new QHBoxLayout;
    body->addWidget(buildQueue());
    auto* centre = new QVBoxLayout;
    centre->addWidget(buildJob());
    centre->addWidget(buildGrid(), 1);
    body->addLayout(centre, 1);
    body->addWidget(buildMachine());
    page->addLayout(body, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(buildEditor(), 1);
    bottom->addWidget(buildControls());
    page->addLayout(bottom);
    auto* scrolled = new QWidget(this);
    scrollInside(scrolled, central);
    setCentralWidget(scrolled);

    label21_ = field(this, QStringLiteral("Label21"), 9, false, Qt::AlignLeft);
    statusBar()->addWidget(label21_, 1);
    buildMenu();
    describeControls(this, QStringLiteral("Form3"));

    qApp->installEventFilter(this);
    render();
    resize(sizeHint());  // whole where the screen has room (not Qt's two thirds of it)
}

void MainFormView::buildMenu() {
    auto entry = [this](QMenu* menu, MenuEntry Form3::*member, const char* name,
                        std::function<void()> handler) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        // The handler runs after the menu has closed, as a button's click does:
        // one that asks for an access code must not hold up whoever chose the entry.
        if (handler)
            connect(a, &QAction::triggered, this, [this, handler] {
                QTimer::singleShot(0, this, [this, handler] { forward(handler); });
            });
        menu_.emplace_back(a, member);
        return a;
    };
    auto submenu = [this](MenuEntry Form3::*member, const char* name) {
        QMenu* m = menuBar()->addMenu(QString());
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        menu_.emplace_back(m->menuAction(), member);
        return m;
    };
    menuBar()->setObjectName(QStringLiteral("MenuBar"));
    QMenu* tool = submenu(&Form3::TOOL, "TOOL");
    entry(tool, &Form3::data, "data", [this] { screen_.showRecords(); });
    entry(tool, &Form3::langage, "langage", [this] { screen_.showLanguageEditor(); });
    entry(tool, &Form3::setting, "setting", [this] { screen_.unlockSettings(); });
    entry(tool, &Form3::POS_SETTING, "POS_SETTING", [this] { screen_.unlockPositions(); });
    entry(tool, &Form3::technician, "technician", [this] { screen_.toggleTechnicianView(); });
    QMenu* recipes = submenu(&Form3::R_TOOL, "R_TOOL");
    entry(recipes, &Form3::delete_, "delete", nullptr);
    QMenu* runTool = submenu(&Form3::RUN_TOOL, "RUN_TOOL");
    entry(runTool, &Form3::RUN, "RUN", [this] { run_.runAll(); });
    entry(runTool, &Form3::STOP, "STOP", [this] { run_.stopAll(); });
    entry(runTool, &Form3::delete2, "delete2", nullptr);

    // A right click on the lists opens their menus, as on the machine.
    for (auto [list, menu] : {std::pair{list1_, recipes}, std::pair{list2_, runTool}}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this,
                [list, menu](const QPoint& at) { menu->popup(list->mapToGlobal(at)); });
    }
}

QPushButton* MainFormView::button(Button Form3::*member, const char* name, QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    setFontSize(b, 12);
    buttons_.emplace_back(b, member);
    return b;
}

void MainFormView::forward(const std::function<void()>& handler) {
    handler();
    if (project_) project_();
    render();
}

void MainFormView::render() {
    const Form3& f = model_;
    setWindowTitle(f.Caption);
    paintBack(centralWidget(), f.BackColor);

    // Why the run waits, and what waits for the plant database.
    QString status = f.Status;
    if (!f.PlantWaiting.isEmpty())
        status += (status.isEmpty() ? QString() : QStringLiteral("  ")) + f.PlantWaiting;
    status_->setText(status);
    status_->setVisible(!status.isEmpty());

    for (int i = 0; i < 13; ++i) showLabel(label9_[size_t(i)], f.Label9[i]);
    showLabel(label2_, f.Label2);
    showLabel(label5_, f.Label5);
    showLabel(label6_, f.Label6);
    showLabel(label7_, f.Label7);
    for (int i = 0; i < 4; ++i) showLabel(label18_[size_t(i)], f.Label18[i]);
    for (int i = 0; i < 60; ++i) showLabel(label4_[size_t(i)], f.Label4[i]);
    for (int i = 0; i < 10; ++i) {
        showLabel(label1_[size_t(i)], f.Label1[i]);
        showLabel(label3_[size_t(i)], f.Label3[i]);
    }
    for (int i = 0; i < 2; ++i) showLabel(label10_[size_t(i)], f.Label10[i]);
    for (int i = 0; i < 4; ++i) showLabel(label11_[size_t(i)], f.Label11[i]);
    showLabel(label8_, f.Label8);
    label12_->setText(f.Label12[0]);
    showLabel(label13_, f.Label13);
    showLabel(label14_, f.Label14);
    showLabel(label20_, f.Label20);
    const Label* diagnostics[5] = {&f.Label15, &f.Label16, &f.Label17, &f.Label19, &f.Label22};
    for (int i = 0; i < 5; ++i) {
        showLabel(diagnostics_[size_t(i)], *diagnostics[i]);
        diagnostics_[size_t(i)]->setVisible(f.TechnicianView);
    }
    label21_->setText(f.Label21);
    label21_->setVisible(f.TechnicianView);
    label12_->setVisible(f.TechnicianView);

    showList(list1_, f.List1);
    showList(list2_, f.List2);
    {
        const QSignalBlocker block(combo1_);
        QStringList items;
        for (int i = 0; i < combo1_->count(); ++i) items << combo1_->itemText(i);
        if (items != f.Combo1.items) {
            combo1_->clear();
            combo1_->addItems(f.Combo1.items);
        }
        if (combo1_->currentText() != f.Combo1.Text) combo1_->setEditText(f.Combo1.Text);
    }
    for (int k = 0; k < 20; ++k)
        if (text1_[size_t(k)]->text() != f.Text1[k]) text1_[size_t(k)]->setText(f.Text1[k]);
    if (text2_->text() != f.Text2) text2_->setText(f.Text2);
    if (text3_->text() != f.Text3) text3_->setText(f.Text3);

    for (auto& [widget, member] : checks_) {
        const CheckBox& c = f.*member;
        const QSignalBlocker block(widget);
        widget->setText(c.Caption);
        widget->setChecked(c.Value);
        widget->setEnabled(c.Enabled);
        paintBack(widget, c.BackColor);
    }
    for (auto& [widget, member] : buttons_) {
        const Button& b = f.*member;
        widget->setText(b.Caption);
        widget->setEnabled(b.Enabled);
        widget->setVisible(b.Visible);
    }
    for (auto& [action, member] : menu_) {
        const MenuEntry& m = f.*member;
        action->setText(m.Caption);
        action->setEnabled(m.Enabled);
    }
    picture1_->display(f.Picture1);
    picture2_->display(f.Picture2);
    nameEntries();
}

void MainFormView::nameEntries() {
    const Form3& f = model_;
    // The caption of a header, or the header's own name before the language is applied.
    const auto header = [&f](int i) {
        const QString caption = f.Label9[i].Caption.trimmed();
        return caption.isEmpty() ? QStringLiteral("Label9(%1)").arg(i) : caption;
    };
    // Each entry box names what goes in it, in the current language.
    const auto entry = [](QLineEdit* box, const QString& name) {
        nameControl(box, name);
        if (box->placeholderText() != name) box->setPlaceholderText(name);
    };
    entry(text2_, header(3));
    nameControl(combo1_, header(4));
    if (QLineEdit* box = combo1_->lineEdit(); box && box->placeholderText() != header(4))
        box->setPlaceholderText(header(4));
    entry(text3_, header(5));
    // One column per recipe line: its code in the first row, its weight in the second.
    for (int k = 0; k < 20; ++k)
        entry(text1_[size_t(k)],
              QStringLiteral("%1 %2").arg(header(k < 10 ? 7 : 8)).arg(k % 10 + 1));
    nameControl(list1_, header(3));
    nameControl(list2_, QStringList{header(0), header(1), header(2)}.join(QStringLiteral(" / ")));
    for (auto& [action, member] : menu_)
        if (action->menu()) nameControl(action->menu(), (f.*member).Caption);
}

void MainFormView::closeEvent(QCloseEvent* event) {
    // The window stays until the station's quit handler ends the program;
    // with a job on the machine the operator is asked first.
    event->ignore();
    if (closing_) return;
    screen_.askToClose([this] {
        if (closing_) return;
        closing_ = true;
        if (unload_) unload_();
        render();
    });
}

bool MainFormView::eventFilter(QObject* watched, QEvent* event) {
    // F1 is polled by the station like a hardware key: report presses and
    // releases wherever the focus is, but not the auto-repeats of a held key.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && !key->isAutoRepeat()) {
            if (event->type() == QEvent::KeyPress)
                keys_.keyDown(KeyState::VK_F1);
            else
                keys_.keyUp(KeyState::VK_F1);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace dye
