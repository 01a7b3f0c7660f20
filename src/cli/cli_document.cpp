#include "cli_document.h"

#include "setup/home_folder.h"
#include "setup/instance_folder.h"
#include "setup/user_name.h"
#include "support/error.h"

#include <QCoreApplication>
#include <QDir>

namespace lexora::cli {

CliDocument::CliDocument(const DocumentOptions &options) : m_prompt(options.passwordFile)
{
    QString folder = options.filesDir;
    if (folder.isEmpty()) {
        m_instance = std::make_unique<InstanceFolder>(
            homeFolder(QCoreApplication::applicationDirPath()));
        folder = m_instance->includedFilesFolder();
    } else if (!QDir().mkpath(folder)) {
        throw Error(Error::Kind::IoError, QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(folder));
    }
    // Files written to --files-dir stay there for the pages that refer to them.
    m_document.emplace(QDir(folder).absolutePath() + QLatin1Char('/'), userName(), m_prompt,
                       m_progress,
                       options.filesDir.isEmpty() ? Document::FilesAtEnd::Delete
                                                  : Document::FilesAtEnd::Keep);
    // The tree keeps the file's order unless a verb asks for a sort.
    m_document->setSortCriteria({});
}

CliDocument::~CliDocument() = default;

void CliDocument::open(const QString &fileName)
{
    if (m_document->open(fileName) == Document::OpenResult::Refused)
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Die Datei \"%1\" wurde nicht geöffnet.").arg(fileName));
}

void CliDocument::save(const QString &fileName)
{
    m_document->saveAs(fileName);
}

} // namespace lexora::cli
