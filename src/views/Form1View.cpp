#include "Form1View.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "screens/linktest/Form1.h"
#include "views/Accessible.h"

namespace dye {

Form1View::Form1View(Form1& model, QWidget* parent) : QWidget(parent), m_(model) {
    setWindowTitle(m_.Caption);
    auto* grid = new QGridLayout(this);

    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setEditable(true);  // a port number or device path not in the list is used as typed
    combo1_->addItems(m_.Combo1Items);
    combo1_->setEditText(m_.Combo1);
    command3_ = new QPushButton(m_.Command3, this);
    command3_->setObjectName(QStringLiteral("Command3"));
    grid->addWidget(caption(5), 0, 0);
    grid->addWidget(combo1_, 0, 1);
    grid->addWidget(command3_, 0, 2);

    const int rows[5] = {1, 2, 3, 4, 5};
    for (int i = 0; i < 5; ++i) {
        text1_[size_t(i)] = new QLineEdit(m_.Text1[i], this);
        text1_[size_t(i)]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        grid->addWidget(caption(i), rows[i], 0);
        grid->addWidget(text1_[size_t(i)], rows[i], 1);
    }
    command1_ = new QPushButton(m_.Command1, this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(m_.Command2, this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command4_ = new QPushButton(m_.Command4, this);
    command4_->setObjectName(QStringLiteral("Command4"));
    grid->addWidget(command1_, 1, 2, 2, 1);
    grid->addWidget(command2_, 3, 2, 2, 1);

    auto* values = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        text2_[size_t(i)] = new QLineEdit(m_.Text2[i], this);
        text2_[size_t(i)]->setObjectName(QStringLiteral("Text2_%1").arg(i));
        text2_[size_t(i)]->setPlaceholderText(QString::number(i + 1));
        values->addWidget(text2_[size_t(i)], i / 5, i % 5);
    }
    grid->addLayout(values, 6, 0, 1, 3);

    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("Text1_6"));
    log_->setReadOnly(true);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    log_->setFont(mono);
    log_->setMinimumSize(520, 260);
    grid->addWidget(log_, 7, 0, 1, 3);
    grid->addWidget(command4_, 8, 2);

    // A click takes the typed fields into the model, runs the model's handler
    // and shows the result. Each handler is a lambda rather than a pointer to
    // a member function: gcc 12's vptr check (part of -fsanitize=undefined)
    // miscompiles a call through a member function pointer captured by a
    // lambda, reading the object from an uninitialised temporary, so the
    // sanitizer build called the handler on a wild pointer.
    auto click = [this](QPushButton* b, auto handler) {
        connect(b, &QPushButton::clicked, this, [this, handler] {
            pullEdits();
            handler();
            render();
        });
    };
    click(command1_, [this] { m_.readRegisters(); });
    click(command2_, [this] { m_.writeRegisters(); });
    click(command3_, [this] { m_.connectPort(); });
    click(command4_, [this] { m_.openSettings(); });

    describeControls(this, QStringLiteral("Form1"));
    // Entries are named by the captions beside them and the button of their
    // row (read or write); the values to write by the write button and their place.
    nameControl(combo1_, m_.Label1[5]);
    for (int i = 0; i < 5; ++i) {
        const QString row = i < 2   ? m_.Command1 + QLatin1Char(' ')
                            : i < 4 ? m_.Command2 + QLatin1Char(' ')
                                    : QString();
        nameControl(field(i), row + m_.Label1[i]);
    }
    for (int i = 0; i < 10; ++i)
        nameControl(text2_[size_t(i)], QStringLiteral("%1 %2").arg(m_.Command2).arg(i + 1));
    nameControl(log_, QStringLiteral("LOG"));

    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &Form1View::render);
    refresh->start(50);
    render();
}

QLabel* Form1View::caption(int i) {
    auto* l = new QLabel(m_.Label1[i], this);
    l->setObjectName(QStringLiteral("Label1_%1").arg(i));
    return l;
}

void Form1View::pullEdits() {
    m_.Combo1 = combo1_->currentText();
    for (int i = 0; i < 5; ++i) m_.Text1[i] = field(i)->text();
    for (int i = 0; i < 10; ++i) m_.Text2[i] = text2_[size_t(i)]->text();
}

void Form1View::render() {
    if (log_->toPlainText() != m_.Text1[6]) {
        log_->setPlainText(m_.Text1[6]);
        log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    }
}

}  // namespace dye
