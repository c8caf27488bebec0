#pragma once

#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

#include <deque>

#include "core/Dialogs.h"

class QWidget;

class QAbstractButton;

namespace dye {

// Dialogs in real windows. A message is a box the operator acknowledges with
// OK, window-modal to the station screen in front: that screen waits for the
// answer while the scheduler, the scan and the other station go on. Messages
// that come while a box is open wait their turn, in order; the continuation
// of a message runs on its OK, and then the next box opens. Input boxes are
// truly modal; they are only asked from clicks.
class QtDialogs : public Dialogs {
  public:
    // Returns the screen a box belongs to (nullptr while there is none yet:
    // the box is then modal to the whole program).
    using ParentSource = std::function<QWidget*()>;

    explicit QtDialogs(ParentSource parent = {});
    ~QtDialogs() override;
    QtDialogs(const QtDialogs&) = delete;
    QtDialogs& operator=(const QtDialogs&) = delete;

    // The windows are built after the station: they name the parent then.
    void setParentSource(ParentSource parent) { parent_ = std::move(parent); }

    void message(const QString& text, const QString& title, Acknowledged onOk) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    // The input box with its entry in password mode.
    std::optional<QString> secretBox(const QString& prompt, const QString& title) override;
    // A box with one button per choice, queued like a message; closing it
    // without a choice counts as the first one.
    void choose(const QString& text, const QString& title, const QStringList& choices,
                std::function<void(int)> onChosen) override;

    // The box on the screen (nullptr when none) and the messages behind it.
    QMessageBox* openBox() const { return box_; }
    int waiting() const { return int(queue_.size()); }

  private:
    struct Pending {
        QString text;
        QString title;
        Acknowledged onOk;
        QStringList choices;
        std::function<void(int)> onChosen;
    };
    std::optional<QString> ask(const QString& prompt, const QString& title,
                               const QString& defaultText, QLineEdit::EchoMode echo);
    void showNext();
    void acknowledged();
    QWidget* parent() const { return parent_ ? parent_() : nullptr; }

    ParentSource parent_;
    std::deque<Pending> queue_;
    QPointer<QMessageBox> box_;
    Acknowledged onOk_;
    std::function<void(int)> onChosen_;
    QList<QAbstractButton*> choiceButtons_;  // of the box on the screen
    bool continuing_ = false;
};

}  // namespace dye
