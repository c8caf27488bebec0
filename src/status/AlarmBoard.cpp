#include "status/AlarmBoard.h"

namespace dye {

AlarmBoard::AlarmBoard(std::unique_ptr<Dialogs> inner, std::function<QDateTime()> now)
    : inner_(std::move(inner)), now_(std::move(now)) {}

void AlarmBoard::message(const QString& text, const QString& title, Acknowledged onOk) {
    const quint64 id = add(text, title);
    inner_->message(text, title, [this, id, onOk = std::move(onOk)] {
        remove(id);
        if (onOk) onOk();
    });
}

void AlarmBoard::choose(const QString& text, const QString& title, const QStringList& choices,
                        std::function<void(int)> onChosen) {
    const quint64 id = add(text, title);
    inner_->choose(text, title, choices, [this, id, onChosen = std::move(onChosen)](int k) {
        remove(id);
        if (onChosen) onChosen(k);
    });
}

std::optional<QString> AlarmBoard::inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) {
    return inner_->inputBox(prompt, title, defaultText);
}

QList<StatusAlarm> AlarmBoard::open() const {
    QList<StatusAlarm> out;
    out.reserve(open_.size());
    for (const Entry& e : open_) out << e.alarm;
    return out;
}

quint64 AlarmBoard::add(const QString& text, const QString& title) {
    const quint64 id = ++next_;
    open_.append({id, {text, title, now_()}});
    return id;
}

void AlarmBoard::remove(quint64 id) {
    open_.removeIf([id](const Entry& e) { return e.id == id; });
}

}  // namespace dye
