#pragma once

#include "support/user_prompt.h"

#include <QPointer>
#include <QWidget>

namespace lexora {

// The desktop program's UserPrompt: message boxes and the password input box, parented to the
// given window (the active window when there is none). Buttons are German once
// installGermanTranslation() has run. A question is preceded by the system's sound, as the
// original's questions are.
class GuiPrompt : public UserPrompt {
public:
    explicit GuiPrompt(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void message(Icon icon, const QString &caption, const QString &text) override;
    // Yes, No (and Cancel); closing the box counts as Cancel, or as No without a Cancel button.
    Answer question(const QString &caption, const QString &text, Buttons buttons,
                    Icon icon = Icon::Question) override;
    // An input box with hidden input; the typed text as Windows-1252 (characters it lacks become
    // '?'); empty when cancelled.
    QByteArray password(const QString &caption, const QString &prompt) override;
    // An input box with OK and Abbrechen.
    std::optional<QString> input(const QString &caption, const QString &prompt,
                                 const QString &preset) override;

private:
    QWidget *parentWidget() const;

    QPointer<QWidget> m_parent;
};

} // namespace lexora
