#include "update/batch_template.h"

#include "support/error.h"

#include <QByteArrayList>
#include <QDir>

namespace lexora {

namespace {

Error malformed(qsizetype lineIndex)
{
    return Error(Error::Kind::Corrupt, QStringLiteral("Die Vorlage „Update.bat“ des Updates ist fehlerhaft (Zeile %1).")
                     .arg(lineIndex + 1));
}

// Inside double quotes the shell still expands "$", "`" and "\"; a line break ends the command.
QByteArray shellSafe(const QString &path)
{
    static const QString unsafe = QStringLiteral("\"$`\\\n\r");
    for (QChar c : path) {
        if (unsafe.contains(c))
            throw Error(Error::Kind::InvalidInput, QStringLiteral("Der Pfad „%1“ enthält Zeichen, die im Installationsskript "
                                       "nicht sicher verwendet werden können.")
                            .arg(QDir::toNativeSeparators(path)));
    }
    return path.toUtf8();
}

QByteArray format(const QByteArray &line, qsizetype lineIndex, const QByteArrayList &args)
{
    QByteArray out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != '%') {
            out += line[i];
            continue;
        }
        const char directive = i + 1 < line.size() ? line[i + 1] : '\0';
        if (directive == '%')
            out += '%';
        else if (directive == 's' && next < args.size())
            out += args[next++];
        else
            throw malformed(lineIndex);
        ++i;
    }
    return out;
}

QByteArrayList templateLines(const QByteArray &text)
{
    QByteArrayList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line feed that ends the last line
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace

QByteArray fillBatchTemplate(const QByteArray &templateText, const BatchPaths &paths, bool restart)
{
    const QByteArray program = shellSafe(paths.programFolder);
    const QByteArray temp = shellSafe(paths.tempFolder);
    const QByteArrayList lines = templateLines(templateText);

    QByteArrayList out;
    qsizetype i = 0;
    while (i < lines.size() && !lines[i].startsWith(' ')) {
        if (i + 4 > lines.size())
            throw malformed(lines.size());
        if (lines[i].isEmpty())
            throw malformed(i);
        out << lines[i] << format(lines[i + 1], i + 1, {program})
            << format(lines[i + 2], i + 2, {program})
            << format(lines[i + 3], i + 3, {temp, program});
        i += 4;
    }
    for (; i < lines.size(); ++i)
        out << format(lines[i], i, {temp});

    if (restart)
        out << '"' + shellSafe(paths.programFile) + "\" &";
    out << "rm -f \"" + temp + "Update.bat\"";
    return out.join('\n') + '\n';
}

} // namespace lexora
