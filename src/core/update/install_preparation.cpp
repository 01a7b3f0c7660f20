#include "update/install_preparation.h"

#include "support/error.h"
#include "update/zip_extract.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace lexora {

namespace {

const QString kScriptName = QStringLiteral("Update.bat");

} // namespace

InstallPreparation prepareInstallation(const BatchPaths &paths, const QString &zipFileName,
                                       bool restart)
{
    const QString archive = paths.tempFolder + zipFileName;
    if (!QFile::exists(archive))
        return InstallPreparation::ArchiveMissing;

    // A script left from an earlier update must not pass for this archive's.
    const QString script = paths.tempFolder + kScriptName;
    QFile::remove(script);
    extractArchive(archive, paths.tempFolder);

    QFile in(script);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(Error::Kind::Corrupt, QStringLiteral("Das Update-Archiv enthält keine Datei „Update.bat“."));
    const QByteArray filled = fillBatchTemplate(in.readAll(), paths, restart);
    in.close();

    QSaveFile out(script);
    if (!out.open(QIODevice::WriteOnly) || out.write(filled) != filled.size()
        || !out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || !out.commit())
        throw Error(Error::Kind::IoError, QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2")
                        .arg(QDir::toNativeSeparators(script), out.errorString()));
    QFile::remove(archive);
    return InstallPreparation::Prepared;
}

} // namespace lexora
