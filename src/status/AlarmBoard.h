#pragma once

#include <QDateTime>
#include <QList>

#include <functional>
#include <memory>

#include "core/Dialogs.h"
#include "status/StatusSnapshot.h"

namespace dye {

// The station's dialogs, keeping the messages and choices still on screen
// (raised, not yet acknowledged) for the status service. Everything is
// passed on unchanged to the dialogs it wraps; input boxes, asked from a
// click and answered at once, are not kept.
class AlarmBoard : public Dialogs {
  public:
    AlarmBoard(std::unique_ptr<Dialogs> inner, std::function<QDateTime()> now);

    void message(const QString& text, const QString& title, Acknowledged onOk) override;
    void choose(const QString& text, const QString& title, const QStringList& choices,
                std::function<void(int)> onChosen) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText = QString()) override;
    std::optional<QString> secretBox(const QString& prompt, const QString& title) override {
        return inner_->secretBox(prompt, title);
    }

    Dialogs& inner() const { return *inner_; }
    // The messages on screen, oldest first.
    QList<StatusAlarm> open() const;

  private:
    quint64 add(const QString& text, const QString& title);
    void remove(quint64 id);

    struct Entry {
        quint64 id;
        StatusAlarm alarm;
    };
    std::unique_ptr<Dialogs> inner_;
    std::function<QDateTime()> now_;
    QList<Entry> open_;
    quint64 next_ = 0;
};

}  // namespace dye
