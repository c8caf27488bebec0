#include "QtDialogs.h"

#include <QGuiApplication>

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "views/Accessible.h"

namespace dye {
namespace {

QString titleOr(const QString& title) {
    return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

}  // namespace

QtDialogs::QtDialogs(ParentSource parent) : parent_(std::move(parent)) {}

QtDialogs::~QtDialogs() {
    // A box still open dies with its parent window, or here; nothing answers it.
    if (box_) {
        box_->disconnect();
        delete box_;
    }
}

void QtDialogs::message(const QString& text, const QString& title, Acknowledged onOk) {
    queue_.push_back(Pending{text, title, std::move(onOk), {}, nullptr});
    // A message raised by a continuation waits for the ones raised before it.
    if (!box_ && !continuing_) showNext();
}

void QtDialogs::choose(const QString& text, const QString& title, const QStringList& choices,
                       std::function<void(int)> onChosen) {
    queue_.push_back(Pending{text, title, nullptr, choices, std::move(onChosen)});
    if (!box_ && !continuing_) showNext();
}

void QtDialogs::showNext() {
    if (queue_.empty()) return;
    Pending next = std::move(queue_.front());
    queue_.pop_front();
    onOk_ = std::move(next.onOk);
    onChosen_ = std::move(next.onChosen);
    choiceButtons_.clear();

    QWidget* owner = parent();
    auto* box =
        new QMessageBox(next.choices.isEmpty() ? QMessageBox::Warning : QMessageBox::Question,
                        titleOr(next.title), next.text, QMessageBox::NoButton, owner);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    describeControl(box, QStringLiteral("Message"));
    if (next.choices.isEmpty()) {
        box->setStandardButtons(QMessageBox::Ok);
        describeControl(box->button(QMessageBox::Ok), QStringLiteral("Message.OK"));
    }
    for (int i = 0; i < next.choices.size(); ++i) {
        QAbstractButton* b = box->addButton(next.choices[i], QMessageBox::AcceptRole);
        describeControl(b, QStringLiteral("Message.Choice(%1)").arg(i));
        choiceButtons_ << b;
    }
    // Whichever way the box goes (OK, Enter, Escape, its frame), it is acknowledged.
    QObject::connect(box, &QDialog::finished, box, [this] { acknowledged(); });
    box_ = box;
    // Shown, never exec()'d: the event loop and with it the scheduler go on.
    box->show();
}

void QtDialogs::acknowledged() {
    const int chosen = box_ ? std::max(0, int(choiceButtons_.indexOf(box_->clickedButton()))) : 0;
    if (box_) box_->deleteLater();
    box_ = nullptr;
    Acknowledged onOk = std::move(onOk_);
    onOk_ = nullptr;
    std::function<void(int)> onChosen = std::move(onChosen_);
    onChosen_ = nullptr;
    choiceButtons_.clear();
    continuing_ = true;
    if (onOk) onOk();
    if (onChosen) onChosen(chosen);
    continuing_ = false;
    showNext();
}

std::optional<QString> QtDialogs::secretBox(const QString& prompt, const QString& title) {
    return ask(prompt, title, QString(), QLineEdit::Password);
}

std::optional<QString> QtDialogs::inputBox(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    return ask(prompt, title, defaultText, QLineEdit::Normal);
}

std::optional<QString> QtDialogs::ask(const QString& prompt, const QString& title,
                                      const QString& defaultText, QLineEdit::EchoMode echo) {
    QInputDialog dialog(parent());
    dialog.setTextEchoMode(echo);
    dialog.setWindowTitle(titleOr(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    describeControl(&dialog, QStringLiteral("InputBox"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

}  // namespace dye
