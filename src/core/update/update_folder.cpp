#include "update/update_folder.h"

#include "support/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace lexora {

namespace {

Error unsafe(const QString &folder, const QString &reason)
{
    return Error(Error::Kind::IoError, QStringLiteral("Der Ordner „%1“ kann für Updates nicht verwendet werden: %2")
                     .arg(QDir::toNativeSeparators(folder), reason));
}

bool ownedSafely(const struct stat &st)
{
    const bool owner = st.st_uid == geteuid() || st.st_uid == 0;
    const bool othersWrite = (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return owner && (!othersWrite || (st.st_mode & S_ISVTX));
}

} // namespace

QString privateUpdateFolder()
{
    return preparePrivateFolder(
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/Lexora/Update"));
}

QString preparePrivateFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (!QDir().mkpath(path))
        throw unsafe(path, QStringLiteral("Er kann nicht angelegt werden."));
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    // The folder itself is never reached through a link another account might have placed.
    if (lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        throw unsafe(path, QStringLiteral("Er ist kein eigener Ordner des Benutzers."));
    if ((st.st_mode & 07777) != 0700 && chmod(native.constData(), 0700) != 0)
        throw unsafe(path, QStringLiteral("Seine Zugriffsrechte können nicht gesetzt werden."));

    QString above = QFileInfo(path).canonicalPath();
    for (;;) {
        if (stat(QFile::encodeName(above).constData(), &st) != 0 || !ownedSafely(st))
            throw unsafe(path, QStringLiteral("Der Ordner „%1“ darüber gehört einem anderen "
                                              "Benutzer oder ist für andere beschreibbar.")
                                   .arg(QDir::toNativeSeparators(above)));
        if (above == u"/")
            break;
        above = QFileInfo(above).path();
    }
    return path + u'/';
}

} // namespace lexora
