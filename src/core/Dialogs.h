#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace dye {

// Messages and input boxes. A message never blocks the caller: it takes the
// text and a continuation, and the continuation runs once the operator has
// pressed OK. A sequence that raises an alarm inside a tick parks itself until
// then, while every other timer keeps running.
class Dialogs {
  public:
    using Acknowledged = std::function<void()>;

    virtual ~Dialogs() = default;
    virtual void message(const QString& text, const QString& title, Acknowledged onOk) = 0;
    // Offers `choices` (button captions) with `text`; `onChosen` gets the index
    // of the one the operator picked. Never blocks the caller, like message().
    virtual void choose(const QString& text, const QString& title, const QStringList& choices,
                        std::function<void(int)> onChosen) = 0;
    // Asked from a click; may be modal. nullopt when the operator cancels.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText = QString()) = 0;
    // An input box for a secret (an access code): what is typed is not shown.
    // Windowless dialogs ask it as any input box.
    virtual std::optional<QString> secretBox(const QString& prompt, const QString& title) {
        return inputBox(prompt, title, QString());
    }
};

}  // namespace dye
