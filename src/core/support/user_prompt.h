#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace lexora {

// How the core talks to the user without knowing about windows. The GUI answers with message
// boxes and input boxes; lexora-cli with the terminal; tests script the answers.
class UserPrompt {
public:
    enum class Icon { Information, Warning, Error, Question };
    enum class Answer { Yes, No, Cancel };
    enum class Buttons { YesNo, YesNoCancel };

    virtual ~UserPrompt() = default;

    // A modal message with caption and icon.
    virtual void message(Icon icon, const QString &caption, const QString &text) = 0;
    // A question; with Buttons::YesNo the answer is never Cancel. Questions before something
    // that cannot be undone (deleting, uninstalling) show the warning icon.
    virtual Answer question(const QString &caption, const QString &text, Buttons buttons,
                            Icon icon = Icon::Question) = 0;
    // Asks for a password (Windows-1252 bytes). An empty result means refused or cancelled.
    virtual QByteArray password(const QString &caption, const QString &prompt) = 0;
    // An input box preset with preset: the text entered, nullopt when cancelled. A prompt that
    // cannot ask (a script) cancels.
    virtual std::optional<QString> input(const QString & /*caption*/, const QString & /*prompt*/,
                                         const QString & /*preset*/)
    {
        return std::nullopt;
    }
};

} // namespace lexora
