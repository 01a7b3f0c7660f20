// The document's included-file edits: add (a copy into the included-files folder), rename and
// remove, keeping the list and the folder in step: an entry exists exactly when its file does.
#include "document/document.h"

#include "database/file_format.h"
#include "database/win1252.h"
#include "document/undo_parts.h"
#include "support/user_prompt.h"
#include "text/collation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <limits>

namespace lexora {

namespace {

const QString kCopyFailedCaption = QStringLiteral("Kopiervorgang fehlgeschlagen");

// Copies source into folder under name, replacing a file of that name there; the bytes go to a
// new file beside it first, which one rename puts in place (also over a link, never through it).
// The size of the copy, or -1 when the copy failed.
qint64 copyIntoFolder(const QString &source, const QString &folder, const QString &name)
{
    QFile in(source);
    if (!QDir().mkpath(folder) || !in.open(QIODevice::ReadOnly))
        return -1;
    QTemporaryFile out(folder + QStringLiteral(".incoming-XXXXXX"));
    if (!out.open())
        return -1;
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        const qint64 n = in.read(block.data(), block.size());
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        if (out.write(block.constData(), n) != n)
            return -1;
        size += n;
    }
    if (!out.flush())
        return -1;
    if (std::rename(QFile::encodeName(out.fileName()).constData(),
                    QFile::encodeName(folder + name).constData())
        != 0)
        return -1;
    out.setAutoRemove(false);
    return size;
}

} // namespace

bool Document::checkFileName(const Text &name) const
{
    if (isSafeFileName(name))
        return true;
    QString shown = win1252::toUnicode(name);
    shown.replace(QChar(0), QLatin1String("\\0"));
    m_prompt.message(UserPrompt::Icon::Warning, QStringLiteral("Ungültiger Dateiname"),
                     QStringLiteral("Der Name \"%1\" kann nicht verwendet werden. Ein Dateiname "
                                    "darf nicht leer sein, nicht \".\" oder \"..\" lauten und "
                                    "die Zeichen \"/\" und \"\\\" nicht enthalten.")
                         .arg(shown));
    return false;
}

TInclFile *Document::addIncludedFile(const QString &sourcePath)
{
    Text name = win1252::fromUnicode(QFileInfo(sourcePath).fileName());
    while (m_db.FindIncludedFile(name)) {
        const std::optional<QString> answer = m_prompt.input(
            QStringLiteral("Name bereits belegt"),
            QStringLiteral("Eine Datei mit dem Namen \"%1\" ist bereits vorhanden. Geben Sie "
                           "einen anderen Namen ein.")
                .arg(win1252::toUnicode(name)),
            win1252::toUnicode(name));
        if (!answer)
            return nullptr;
        name = win1252::fromUnicode(*answer);
    }
    if (!checkFileName(name))
        return nullptr;
    // The database keeps a file's size in 32 bits.
    if (QFileInfo(sourcePath).size() > std::numeric_limits<qint32>::max()) {
        m_prompt.message(UserPrompt::Icon::Warning, kCopyFailedCaption,
                         QStringLiteral("Die Datei \"%1\" ist zu groß. Eine eingebundene Datei "
                                        "darf höchstens 2 GB groß sein.")
                             .arg(win1252::toUnicode(name)));
        return nullptr;
    }
    const qint64 size = copyIntoFolder(sourcePath, m_db.IncludedFilesFolder, win1252::toUnicode(name));
    if (size < 0 || size > std::numeric_limits<qint32>::max()) {
        if (size >= 0)
            QFile::remove(m_db.includedFilePath(name));
        m_prompt.message(UserPrompt::Icon::Warning, kCopyFailedCaption,
                         QStringLiteral("Die Datei konnte nicht kopiert werden."));
        return nullptr;
    }
    m_db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{name, qint32(size)}));
    return m_db.IncludedFiles.back().get();
}

QList<TInclFile *> Document::addIncludedFiles(const QStringList &sourcePaths)
{
    Recording recording(*this, QString());
    auto listBefore = std::make_unique<FileListPart>(m_db);
    QList<TInclFile *> added;
    for (const QString &path : sourcePaths) {
        if (TInclFile *file = addIncludedFile(path)) {
            added.append(file);
            record(std::make_unique<FileBytesPart>(file, std::nullopt));
        }
    }
    if (!added.isEmpty())
        recording.step().setName(stepName(QStringLiteral("Einbinden von »%1«"),
                                          QStringLiteral("Einbinden von %1 Dateien"),
                                          added.front()->Name, added.size()));
    SortByName(m_db.IncludedFiles);
    if (!listBefore->matches(m_db))
        record(std::move(listBefore));
    Q_EMIT includedFilesChanged();
    setModified();
    return added;
}

bool Document::renameIncludedFile(TInclFile *file, const Text &name)
{
    if (name.isEmpty() || m_db.FindIncludedFile(name) || !checkFileName(name))
        return false;
    // QFile::rename never replaces an existing file, so a stray file of that name stays too.
    if (!QFile::rename(m_db.includedFilePath(file->Name), m_db.includedFilePath(name)))
        return false;
    Recording recording(*this, stepName(QStringLiteral("Umbenennen der Datei »%1«"), {}, file->Name, 1));
    auto listBefore = std::make_unique<FileListPart>(m_db);
    record(std::make_unique<FileNamePart>(file, file->Name));
    file->Name = name;
    SortByName(m_db.IncludedFiles);
    if (!listBefore->matches(m_db))
        record(std::move(listBefore));
    Q_EMIT includedFilesChanged();
    setModified();
    return true;
}

void Document::removeIncludedFiles(const QList<TInclFile *> &files)
{
    Recording recording(*this, stepName(QStringLiteral("Entfernen von »%1«"),
                                        QStringLiteral("Entfernen von %1 Dateien"),
                                        files.isEmpty() ? Text() : files.front()->Name, files.size()));
    auto listBefore = std::make_unique<FileListPart>(m_db);
    auto &list = m_db.IncludedFiles;
    for (auto i = qsizetype(list.size()) - 1; i >= 0; --i) {
        TInclFile *file = list[std::size_t(i)].get();
        if (!files.contains(file))
            continue;
        const QString path = m_db.includedFilePath(file->Name);
        // The bytes stay with the step; a stored file that is gone already has none to keep.
        std::optional<QByteArray> bytes = FileBytesPart::read(m_db, *file);
        if (!QFile::remove(path) && QFileInfo::exists(path)) {
            m_prompt.message(UserPrompt::Icon::Warning, QStringLiteral("Löschvorgang fehlgeschlagen"),
                             QStringLiteral("Die Datei \"%1\" konnte nicht gelöscht werden.")
                                 .arg(win1252::toUnicode(file->Name)));
            continue;
        }
        record(std::make_unique<FileBytesPart>(file, std::move(bytes)));
        listBefore->hold(std::move(list[std::size_t(i)]));
        list.erase(list.begin() + i);
    }
    if (!listBefore->matches(m_db))
        record(std::move(listBefore));
    Q_EMIT includedFilesChanged();
    setModified();
}

} // namespace lexora
