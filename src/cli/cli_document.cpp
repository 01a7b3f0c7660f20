#include "cli_document.h"

#include "setup/user_name.h"
#include "support/error.h"

#include <QDir>

namespace lexora::cli {

CliDocument::CliDocument(const DocumentOptions &options) : m_prompt(options.passwordFile)
{
    QString folder = options.filesDir;
    if (folder.isEmpty()) {
        m_tempDir.emplace();
        if (!m_tempDir->isValid())
            throw Error(QStringLiteral("Es kann kein temporärer Ordner angelegt werden: %1")
                            .arg(m_tempDir->errorString()));
        folder = m_tempDir->path();
    } else if (!QDir().mkpath(folder)) {
        throw Error(QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(folder));
    }
    // Files written to --files-dir stay there for the pages that refer to them.
    m_document.emplace(QDir(folder).absolutePath() + QLatin1Char('/'), userName(), m_prompt,
                       m_progress,
                       options.filesDir.isEmpty() ? Document::FilesAtEnd::Delete
                                                  : Document::FilesAtEnd::Keep);
    // The tree keeps the file's order unless a verb asks for a sort.
    m_document->setSortCriteria({});
}

void CliDocument::open(const QString &fileName)
{
    if (m_document->open(fileName) == Document::OpenResult::Refused)
        throw Error(QStringLiteral("Die Datei \"%1\" wurde nicht geöffnet.").arg(fileName));
}

void CliDocument::save(const QString &fileName)
{
    m_document->saveAs(fileName);
}

} // namespace lexora::cli
