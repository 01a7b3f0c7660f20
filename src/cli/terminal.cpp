#include "terminal.h"

#include "database/win1252.h"
#include "support/error.h"
#include "support/system_error.h"

#include <QFile>

#include <cstdio>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace lexora::cli {
namespace {

void printErr(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

// One line from stdin without its line end; nullopt at the end of the input.
std::optional<std::string> readLine()
{
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        line.push_back(char(c));
    if (c == EOF && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// Reads a line from the terminal with echo switched off.
std::optional<std::string> readHiddenLine()
{
    termios saved{};
    tcgetattr(STDIN_FILENO, &saved);
    termios silent = saved;
    silent.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    std::optional<std::string> line = readLine();
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    printErr(QStringLiteral("\n"));
    return line;
}

} // namespace

void TerminalPrompt::message(Icon, const QString &caption, const QString &text)
{
    printErr(caption + QStringLiteral(": ") + text + QLatin1Char('\n'));
}

UserPrompt::Answer TerminalPrompt::question(const QString &caption, const QString &text,
                                            Buttons buttons, Icon)
{
    const bool withCancel = buttons == Buttons::YesNoCancel;
    for (;;) {
        printErr(caption + QStringLiteral(": ") + text
                 + (withCancel ? QStringLiteral(" [j/n/a] ") : QStringLiteral(" [j/n] ")));
        const std::optional<std::string> line = readLine();
        if (!line)
            return withCancel ? Answer::Cancel : Answer::No;
        const QString answer = QString::fromStdString(*line).trimmed().toLower();
        if (answer == QLatin1String("j") || answer == QLatin1String("ja"))
            return Answer::Yes;
        if (answer == QLatin1String("n") || answer == QLatin1String("nein"))
            return Answer::No;
        if (withCancel && (answer == QLatin1String("a") || answer == QLatin1String("abbrechen")))
            return Answer::Cancel;
    }
}

QByteArray TerminalPrompt::password(const QString &caption, const QString &prompt)
{
    if (!m_passwordFile.isEmpty()) {
        QFile file(m_passwordFile);
        if (!file.open(QIODevice::ReadOnly))
            throw Error(Error::Kind::IoError, QStringLiteral("Die Passwortdatei \"%1\" kann nicht gelesen werden: %2")
                            .arg(m_passwordFile, fileErrorText(file)));
        if (file.size() == 0)
            throw Error(Error::Kind::InvalidInput, QStringLiteral("Die Passwortdatei \"%1\" ist leer.").arg(m_passwordFile));
        QByteArray line = file.readLine();
        // Editors that write UTF-8 may put a byte order mark first; it is no part of the password.
        if (line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            throw Error(Error::Kind::InvalidInput, QStringLiteral("Die erste Zeile der Passwortdatei \"%1\" ist leer; das "
                                       "Passwort muss in der ersten Zeile stehen.")
                            .arg(m_passwordFile));
        return win1252::fromUtf8(line);
    }
    if (!isatty(STDIN_FILENO))
        throw Error(Error::Kind::InvalidInput, QStringLiteral("%1 Ohne Terminal kann das Passwort nicht abgefragt werden; "
                                   "geben Sie es mit --password-file DATEI an.").arg(prompt));
    printErr(caption + QStringLiteral(": ") + prompt + QLatin1Char(' '));
    const std::optional<std::string> line = readHiddenLine();
    return line ? win1252::fromUtf8(QByteArray::fromStdString(*line)) : QByteArray();
}

QString takeOption(QStringList &args, const QString &name)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return {};
    if (at + 1 >= args.size())
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Der Option %1 fehlt ihr Wert.").arg(name));
    const QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

void requireArguments(const QStringList &args, qsizetype count, const QString &usage)
{
    bool fits = args.size() == count;
    for (const QString &arg : args)
        fits = fits && !arg.startsWith(QLatin1String("--"));
    if (!fits)
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Aufruf: lexora-cli %1").arg(usage));
}

DocumentOptions takeDocumentOptions(QStringList &args)
{
    DocumentOptions options;
    options.passwordFile = takeOption(args, QStringLiteral("--password-file"));
    options.filesDir = takeOption(args, QStringLiteral("--files-dir"));
    return options;
}

} // namespace lexora::cli
