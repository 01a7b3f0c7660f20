#pragma once

#include "support/user_prompt.h"

#include <QStringList>

namespace lexora::cli {

// The core's prompt on the terminal: messages go to stderr; a password comes from the password
// file when one was given (its first line), else from the terminal without echo; questions are
// answered on the terminal.
class TerminalPrompt : public UserPrompt {
public:
    explicit TerminalPrompt(QString passwordFile = {}) : m_passwordFile(std::move(passwordFile)) {}

    void message(Icon icon, const QString &caption, const QString &text) override;
    Answer question(const QString &caption, const QString &text, Buttons buttons,
                    Icon icon = Icon::Question) override;
    QByteArray password(const QString &caption, const QString &prompt) override;

private:
    QString m_passwordFile;
};

// Takes "--name VALUE" out of args and returns VALUE; an empty string when the option is absent.
// Throws Error when the value is missing.
QString takeOption(QStringList &args, const QString &name);

// Throws Error showing "lexora-cli USAGE" unless args holds exactly count arguments, none of them
// an option.
void requireArguments(const QStringList &args, qsizetype count, const QString &usage);

// The options of every verb that opens a database.
struct DocumentOptions {
    QString passwordFile; // --password-file FILE
    QString filesDir;     // --files-dir DIR: where the included files are written
};
// Takes --password-file and --files-dir out of args.
DocumentOptions takeDocumentOptions(QStringList &args);

} // namespace lexora::cli
