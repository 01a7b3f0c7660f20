#include "setup/home_folder.h"

#include "database/default_database.h"
#include "support/error.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lexora {

namespace {

QString withSeparator(const QString &folder)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    return path.endsWith(u'/') ? path : path + u'/';
}

} // namespace

QString homeFolder(const QString &executableFolder)
{
    const QString overridden = qEnvironmentVariable("LEXORA_HOME");
    if (!overridden.isEmpty())
        return withSeparator(overridden);
    const QDir program(executableFolder);
    if (program.exists(QStringLiteral("Settings.ini")) || program.exists(QStringLiteral("Templates")))
        return withSeparator(executableFolder);
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                         + QStringLiteral("/Lexora"));
}

QString setUpTemplatesFolder(const QString &homeFolder)
{
    const QString folder = withSeparator(homeFolder + QStringLiteral("/Templates"));
    if (QFileInfo::exists(folder))
        return folder;
    if (!QDir().mkpath(folder))
        throw Error(Error::Kind::IoError, QStringLiteral("Der Ordner \"%1\" konnte nicht erstellt werden.")
                        .arg(QDir::toNativeSeparators(folder)));
    try {
        WriteDefaultDatabase(folder + QStringLiteral("Default.lxd"));
    } catch (const Error &) {
        // Without the file the folder must not stay: the next start would not write it again.
        QDir(folder).removeRecursively();
        throw;
    }
    return folder;
}

} // namespace lexora
