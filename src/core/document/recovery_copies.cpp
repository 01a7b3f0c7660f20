#include "document/recovery_copies.h"

#include "document/document.h"
#include "support/error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace lexora {

namespace {

const QString kCopySuffix = QStringLiteral(".lxd");
const QString kNameSuffix = QStringLiteral(".file");

} // namespace

RecoveryCopies::RecoveryCopies(QString folder) : m_folder(std::move(folder)) {}

QString RecoveryCopies::standardFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Lexora/Recovery/");
}

QString RecoveryCopies::key(const QString &fileName, int instance) const
{
    if (fileName.isEmpty())
        return QStringLiteral("unbenannt-%1").arg(instance);
    return QString::fromLatin1(
        QCryptographicHash::hash(fileName.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
}

void RecoveryCopies::write(Document &document, int instance) const
{
    // Private: the copy of a plain database is as readable as its changes are secret.
    if (!QDir().mkpath(m_folder)
        || !QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        throw Error(Error::Kind::IoError, QStringLiteral("Der Ordner \"%1\" für Wiederherstellungskopien "
                                                         "konnte nicht angelegt werden.")
                                              .arg(QDir::toNativeSeparators(m_folder)));
    const QString fileName = document.currentFileName();
    const QString base = m_folder + key(fileName, instance);
    QSaveFile name(base + kNameSuffix);
    if (!name.open(QIODevice::WriteOnly) || name.write(fileName.toUtf8()) < 0 || !name.commit())
        throw Error(Error::Kind::IoError, QStringLiteral("Die Wiederherstellungskopie konnte nicht "
                                                         "geschrieben werden: %1")
                                              .arg(name.errorString()));
    document.writeCopy(base + kCopySuffix);
}

void RecoveryCopies::remove(const QString &fileName, int instance) const
{
    const QString base = m_folder + key(fileName, instance);
    QFile::remove(base + kCopySuffix);
    QFile::remove(base + kNameSuffix);
}

std::vector<RecoveryCopies::Copy> RecoveryCopies::pending() const
{
    std::vector<Copy> copies;
    const QDir folder(m_folder);
    for (const QFileInfo &copy : folder.entryInfoList({QStringLiteral("*") + kCopySuffix}, QDir::Files)) {
        QFile name(m_folder + copy.completeBaseName() + kNameSuffix);
        if (!name.open(QIODevice::ReadOnly))
            continue; // not one of ours, or half written
        const QString fileName = QString::fromUtf8(name.readAll());
        const QFileInfo file(fileName);
        if (!fileName.isEmpty() && file.exists() && file.lastModified() >= copy.lastModified())
            continue;
        copies.push_back({copy.absoluteFilePath(), fileName, copy.lastModified()});
    }
    std::sort(copies.begin(), copies.end(),
              [](const Copy &a, const Copy &b) { return a.written > b.written; });
    return copies;
}

} // namespace lexora
