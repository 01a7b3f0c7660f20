#pragma once

#include "database/model.h"
#include "support/user_prompt.h"

#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace lexora::cli {

// The core's prompt on the terminal: messages go to stderr; a password comes from the password
// file when one was given (its first line), else from the terminal without echo; questions are
// answered on the terminal.
class TerminalPrompt : public UserPrompt {
public:
    explicit TerminalPrompt(QString passwordFile = {}) : m_passwordFile(std::move(passwordFile)) {}

    void message(Icon icon, const QString &caption, const QString &text) override;
    Answer question(const QString &caption, const QString &text, Buttons buttons) override;
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
struct SessionOptions {
    QString passwordFile; // --password-file FILE
    QString filesDir;     // --files-dir DIR: where the included files are written
};
// Takes --password-file and --files-dir out of args.
SessionOptions takeSessionOptions(QStringList &args);

// The database of one verb. Its included files are written to --files-dir, where they stay, or to
// a temporary folder that is removed at the end.
class Session {
public:
    explicit Session(const SessionOptions &options = {});
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    Database &db() { return m_db; }
    TerminalPrompt &prompt() { return m_prompt; }

    // Opens fileName with every part; throws Error when it is refused or damaged.
    void open(const QString &fileName);
    // Saves the database to fileName (with its own encryption setting).
    void save(const QString &fileName);

private:
    TerminalPrompt m_prompt;
    bool m_keepFiles = false;
    std::optional<QTemporaryDir> m_tempDir; // outlives m_db, which deletes its files first
    Database m_db;
};

} // namespace lexora::cli
