#pragma once

#include <QString>
#include <exception>

namespace lexora {

// The one error type of the core (docs/failures.md). A failure that stops an operation throws
// it; it carries the German text the user sees and a kind, by which a caller that goes on after
// some failures (an import after a refused file) tells them apart. The GUI shows the text in its
// general error display, lexora-cli prints it and exits with status 1.
class Error : public std::exception {
public:
    enum class Kind {
        IoError,       // the system refused a file, folder, lock or memory
        Corrupt,       // a file's content is damaged; what was read before the damage stays
        NotADatabase,  // a file to load is no Lexora database; nothing of it was taken
        WrongPassword, // the password given for a file is wrong; nothing of it was taken
        Tampered,      // a strongly encrypted file is damaged or altered; nothing of it was taken
        InvalidInput,  // a value the caller gave cannot be used (an option, a size, a path)
    };

    Error(Kind kind, QString message)
        : m_kind(kind), m_message(std::move(message)), m_utf8(m_message.toUtf8())
    {
    }
    Kind kind() const noexcept { return m_kind; }
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }
    // Whether a file to load was refused as a whole, leaving the database as it was.
    bool refusesFile() const noexcept
    {
        return m_kind == Kind::NotADatabase || m_kind == Kind::WrongPassword
               || m_kind == Kind::Tampered;
    }

private:
    Kind m_kind;
    QString m_message;
    QByteArray m_utf8;
};

} // namespace lexora
