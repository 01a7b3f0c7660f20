#pragma once

#include <QString>
#include <exception>

namespace lexora {

// The one error type of the core. It carries the German text the user sees; the GUI shows it in
// its general error display, lexora-cli prints it and exits with status 1.
class Error : public std::exception {
public:
    explicit Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace lexora
