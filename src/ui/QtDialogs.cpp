#include "QtDialogs.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/Accessible.h"

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
    queue_.push_back(Pending{text, title, std::move(onOk)});
    // A message raised by a continuation waits for the ones raised before it.
    if (!box_ && !continuing_) showNext();
}

void QtDialogs::showNext() {
    if (queue_.empty()) return;
    Pending next = std::move(queue_.front());
    queue_.pop_front();
    onOk_ = std::move(next.onOk);

    QWidget* owner = parent();
    auto* box = new QMessageBox(QMessageBox::Warning, titleOr(next.title), next.text,
                                QMessageBox::Ok, owner);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    describeControl(box, QStringLiteral("Message"));
    describeControl(box->button(QMessageBox::Ok), QStringLiteral("Message.OK"));
    // Whichever way the box goes (OK, Enter, Escape, its frame), it is acknowledged.
    QObject::connect(box, &QDialog::finished, box, [this] { acknowledged(); });
    box_ = box;
    // Shown, never exec()'d: the event loop and with it the scheduler go on.
    box->show();
}

void QtDialogs::acknowledged() {
    if (box_) box_->deleteLater();
    box_ = nullptr;
    Acknowledged onOk = std::move(onOk_);
    onOk_ = nullptr;
    continuing_ = true;
    if (onOk) onOk();
    continuing_ = false;
    showNext();
}

std::optional<QString> QtDialogs::inputBox(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    QInputDialog dialog(parent());
    dialog.setWindowTitle(titleOr(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    describeControl(&dialog, QStringLiteral("InputBox"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

}  // namespace dye
