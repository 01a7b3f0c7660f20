#pragma once

#include "support/user_prompt.h"

#include <QList>
#include <QQueue>

namespace lexora::test {

// A UserPrompt whose answers are queued by the test and which records everything it was shown.
// An unexpected question or password request fails the test.
class ScriptedPrompt : public UserPrompt {
public:
    struct Shown {
        QString kind; // "message", "question", "password" or "input"
        QString caption;
        QString text;
        Icon icon = Icon::Information;
    };

    void answer(Answer a) { m_answers.enqueue(a); }
    void givePassword(const QByteArray &password) { m_passwords.enqueue(password); }
    // The answer to the next input box; nullopt cancels it.
    void giveInput(std::optional<QString> text) { m_inputs.enqueue(std::move(text)); }

    void message(Icon icon, const QString &caption, const QString &text) override;
    Answer question(const QString &caption, const QString &text, Buttons buttons,
                    Icon icon = Icon::Question) override;
    QByteArray password(const QString &caption, const QString &prompt) override;
    // Records the prompt with the preset after a line feed.
    std::optional<QString> input(const QString &caption, const QString &prompt,
                                 const QString &preset) override;

    const QList<Shown> &shown() const { return m_shown; }
    QStringList messages() const; // the texts of the messages only
    bool allAnswersUsed() const
    { return m_answers.isEmpty() && m_passwords.isEmpty() && m_inputs.isEmpty(); }

private:
    QQueue<Answer> m_answers;
    QQueue<QByteArray> m_passwords;
    QQueue<std::optional<QString>> m_inputs;
    QList<Shown> m_shown;
};

} // namespace lexora::test
