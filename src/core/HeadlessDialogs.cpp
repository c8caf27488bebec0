#include "HeadlessDialogs.h"

#include "Scheduler.h"

namespace dye {

void HeadlessDialogs::message(const QString& text, const QString& title, Acknowledged onOk) {
    const int index = int(messages_.size());
    messages_.append(Message{text, title, false, {}});
    continuations_.append(std::move(onOk));
    if (observer_) observer_(messages_.back());
    if (ackDelayMs_ >= 0) scheduler_.singleShot(ackDelayMs_, [this, index] { acknowledge(index); });
}

std::optional<QString> HeadlessDialogs::inputBox(const QString& prompt, const QString&,
                                                 const QString& defaultText) {
    prompts_.append(prompt);
    if (inputScript_.isEmpty()) return defaultText;
    QString answer = inputScript_.takeFirst();
    if (answer.isNull()) return std::nullopt;
    return answer;
}

void HeadlessDialogs::choose(const QString& text, const QString& title, const QStringList& choices,
                             std::function<void(int)> onChosen) {
    const int index = int(messages_.size());
    message(text + QStringLiteral(" [") + choices.join(QStringLiteral(" / ")) + QLatin1Char(']'),
            title, [this, onChosen = std::move(onChosen)] {
                const int pick = choiceScript_.isEmpty() ? 0 : choiceScript_.takeFirst();
                if (onChosen) onChosen(pick);
            });
    messages_[index].choices = choices;
}

bool HeadlessDialogs::answer(int i, int choice) {
    if (i < 0)
        for (int k = int(messages_.size()) - 1; k >= 0 && i < 0; --k)
            if (!messages_[k].acknowledged && !messages_[k].choices.isEmpty()) i = k;
    if (i < 0 || i >= messages_.size() || messages_[i].acknowledged ||
        messages_[i].choices.isEmpty())
        return false;
    choiceScript_.prepend(choice);
    return acknowledge(i);
}

int HeadlessDialogs::pending() const {
    int n = 0;
    for (const Message& m : messages_) n += m.acknowledged ? 0 : 1;
    return n;
}

bool HeadlessDialogs::acknowledge(int i) {
    if (i < 0) {
        for (int k = 0; k < messages_.size(); ++k)
            if (!messages_[k].acknowledged) {
                i = k;
                break;
            }
    }
    if (i < 0 || i >= messages_.size() || messages_[i].acknowledged) return false;
    messages_[i].acknowledged = true;
    Acknowledged onOk = std::move(continuations_[i]);
    continuations_[i] = nullptr;
    if (onOk) onOk();
    return true;
}

}  // namespace dye
