#include "document/backups.h"

#include "support/error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include <unistd.h>

namespace lexora {

namespace {

const QString kFileNote = QStringLiteral("Datei.txt");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH-mm-ss-zzz");

bool makePrivateFolder(const QString &folder)
{
    return QDir().mkpath(folder)
           && QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

Backups::Backups(QString folder, int keep) : m_folder(std::move(folder)), m_keep(std::max(1, keep)) {}

QString Backups::standardFolder()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/Lexora/Backups/");
}

QString Backups::folderOf(const QString &fileName) const
{
    const QFileInfo file(fileName);
    const QByteArray hash =
        QCryptographicHash::hash(file.absoluteFilePath().toUtf8(), QCryptographicHash::Sha256).toHex();
    return m_folder + file.completeBaseName() + QLatin1Char('-') + QString::fromLatin1(hash.left(8))
           + QLatin1Char('/');
}

void Backups::keep(const QString &fileName) const
{
    const QString folder = folderOf(fileName);
    const auto failed = [&](const QString &why) {
        return Error(Error::Kind::IoError,
                     QStringLiteral("Von der Datei „%1“ konnte keine Sicherungskopie angelegt werden: %2")
                         .arg(QDir::toNativeSeparators(fileName), why));
    };
    if (!makePrivateFolder(m_folder) || !makePrivateFolder(folder))
        throw failed(QStringLiteral("Der Ordner „%1“ kann nicht angelegt werden.")
                         .arg(QDir::toNativeSeparators(folder)));
    QSaveFile note(folder + kFileNote);
    if (!note.open(QIODevice::WriteOnly) || note.write(QFileInfo(fileName).absoluteFilePath().toUtf8()) < 0
        || !note.commit())
        throw failed(note.errorString());
    const QString backup = folder + QDateTime::currentDateTime().toString(kTimeFormat)
                           + QStringLiteral(".lxd");
    if (::link(QFile::encodeName(fileName).constData(), QFile::encodeName(backup).constData()) != 0) {
        // Another file system (or one without links): the bytes are copied, completely or not at all.
        QFile::remove(backup + QStringLiteral(".part"));
        if (!QFile::copy(fileName, backup + QStringLiteral(".part"))
            || !QFile::rename(backup + QStringLiteral(".part"), backup)) {
            QFile::remove(backup + QStringLiteral(".part"));
            throw failed(QStringLiteral("Sie kann nicht kopiert werden."));
        }
    }
    QStringList backups = QDir(folder).entryList({QStringLiteral("*.lxd")}, QDir::Files, QDir::Name);
    // The names sort by time: the oldest come first.
    while (backups.size() > m_keep)
        QFile::remove(folder + backups.takeFirst());
}

std::vector<Backups::Backup> Backups::all() const
{
    std::vector<Backup> found;
    for (const QFileInfo &database : QDir(m_folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile note(database.absoluteFilePath() + QLatin1Char('/') + kFileNote);
        if (!note.open(QIODevice::ReadOnly))
            continue;
        const QString fileName = QString::fromUtf8(note.readAll());
        for (const QFileInfo &backup :
             QDir(database.absoluteFilePath()).entryInfoList({QStringLiteral("*.lxd")}, QDir::Files)) {
            const QDateTime taken = QDateTime::fromString(backup.completeBaseName(), kTimeFormat);
            found.push_back({backup.absoluteFilePath(), fileName,
                             taken.isValid() ? taken : backup.lastModified(), backup.size()});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Backup &a, const Backup &b) { return a.taken > b.taken; });
    return found;
}

} // namespace lexora
