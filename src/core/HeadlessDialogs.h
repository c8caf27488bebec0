#pragma once

#include "Dialogs.h"

#include <QList>
#include <QStringList>

#include <memory>

namespace dye {

class Scheduler;

// Dialogs with no window: every message is recorded and acknowledged after a
// configurable virtual time (0 = on the next pass of the scheduler, a
// negative delay = only when acknowledge() is called); input boxes are
// answered from a script.
class HeadlessDialogs : public Dialogs {
  public:
    struct Message {
        QString text;
        QString title;
        bool acknowledged = false;
        QStringList choices;  // of a question; empty for a message
    };

    explicit HeadlessDialogs(Scheduler& scheduler, qint64 ackDelayMs = 0)
        : scheduler_(scheduler), ackDelayMs_(ackDelayMs) {}
    // For owners that build the scheduler themselves (the station).
    static std::unique_ptr<Dialogs> make(Scheduler& scheduler) {
        return std::make_unique<HeadlessDialogs>(scheduler);
    }

    void message(const QString& text, const QString& title, Acknowledged onOk) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    // Recorded as a message; its acknowledgement picks the next scripted
    // choice, or the first choice when none is scripted.
    void choose(const QString& text, const QString& title, const QStringList& choices,
                std::function<void(int)> onChosen) override;
    void scriptChoices(const QList<int>& picks) { choiceScript_.append(picks); }
    // Answers question i (the newest pending one when i < 0) with `choice`,
    // ahead of the script; false when there is no such pending question.
    bool answer(int i, int choice);

    void setAckDelay(qint64 ms) { ackDelayMs_ = ms; }
    // Answers for the next input boxes, in order; a null QString cancels.
    void scriptInput(const QStringList& answers) { inputScript_.append(answers); }

    const QList<Message>& messages() const { return messages_; }
    const QStringList& prompts() const { return prompts_; }
    int pending() const;
    // Acknowledges message i (the oldest pending one when i < 0).
    bool acknowledge(int i = -1);
    // Called with every new message (the headless runner prints them).
    void setObserver(std::function<void(const Message&)> observer) {
        observer_ = std::move(observer);
    }

  private:
    Scheduler& scheduler_;
    qint64 ackDelayMs_;
    QList<Message> messages_;
    QList<Acknowledged> continuations_;
    QStringList inputScript_;
    QList<int> choiceScript_;
    QStringList prompts_;
    std::function<void(const Message&)> observer_;
};

}  // namespace dye
