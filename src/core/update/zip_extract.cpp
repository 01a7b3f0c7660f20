#include "update/zip_extract.h"

#include "support/error.h"

#include <QDir>
#include <QFileDevice>
#include <QSaveFile>

#include <zip.h>

#include <memory>
#include <sys/stat.h>

namespace lexora {

namespace {

struct ZipCloser {
    void operator()(zip_t *zip) const { zip_discard(zip); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};

struct Entry {
    zip_uint64_t index = 0;
    QString name; // without folders
    bool executable = false;
};

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// libzip's own texts are English; the user gets the gist in German.
QString reasonFor(int code)
{
    switch (code) {
    case ZIP_ER_NOZIP:
        return QStringLiteral("Die Datei ist kein ZIP-Archiv.");
    case ZIP_ER_NOENT:
        return QStringLiteral("Die Datei ist nicht vorhanden.");
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return QStringLiteral("Das Archiv ist verschlüsselt.");
    case ZIP_ER_COMPNOTSUPP:
        return QStringLiteral("Das Archiv ist mit einem unbekannten Verfahren gepackt.");
    default:
        return QStringLiteral("Das Archiv ist beschädigt.");
    }
}

Error unreadable(const QString &archive, const QString &reason)
{
    return Error(Error::Kind::Corrupt, QStringLiteral("Das Update-Archiv „%1“ konnte nicht gelesen werden: %2")
                     .arg(nativePath(archive), reason));
}

Error refused(const QString &entryName)
{
    return Error(Error::Kind::Corrupt, QStringLiteral("Das Update-Archiv enthält den unzulässigen Eintrag „%1“; es wird "
                                "nicht entpackt.")
                     .arg(entryName));
}

bool isAbsolute(const QString &name)
{
    return name.startsWith(u'/') || name.startsWith(u'\\')
           || (name.size() >= 2 && name[1] == u':' && name[0].isLetter());
}

// Checks every entry and returns the files to write; directories are left out.
std::vector<Entry> listEntries(zip_t *zip, const QString &archive, qint64 maxTotalBytes)
{
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    std::vector<Entry> entries;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(zip, zip_uint64_t(i), 0, &st) != 0)
            throw unreadable(archive, reasonFor(zip_error_code_zip(zip_get_error(zip))));
        const QString name =
            (st.valid & ZIP_STAT_NAME) && st.name ? QString::fromUtf8(st.name) : QString();
        zip_uint8_t opsys = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(zip, zip_uint64_t(i), 0, &opsys, &attributes);
        const mode_t mode = opsys == ZIP_OPSYS_UNIX ? mode_t(attributes >> 16) : 0;

        if (name.isEmpty() || isAbsolute(name) || S_ISLNK(mode))
            throw refused(name);
        if (name.endsWith(u'/') || name.endsWith(u'\\') || S_ISDIR(mode))
            continue;
        const QString base =
            name.mid(std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\')) + 1);
        if (base.isEmpty() || base == u"." || base == u"..")
            throw refused(name);
        if (st.valid & ZIP_STAT_SIZE)
            total += qint64(std::min<zip_uint64_t>(st.size, zip_uint64_t(maxTotalBytes) + 1));
        if (total > maxTotalBytes)
            throw unreadable(archive, QStringLiteral("Das Archiv ist zum Entpacken zu groß."));
        entries.push_back({zip_uint64_t(i), base, (mode & 0111) != 0});
    }
    return entries;
}

// Writes one entry; written counts the bytes of the whole archive, which the sizes in its
// directory could understate.
void extractEntry(zip_t *zip, const Entry &entry, const QString &archive, const QString &folder,
                  qint64 maxTotalBytes, qint64 &written)
{
    std::unique_ptr<zip_file_t, ZipFileCloser> in(zip_fopen_index(zip, entry.index, 0));
    if (!in)
        throw unreadable(archive, reasonFor(zip_error_code_zip(zip_get_error(zip))));
    QSaveFile out(folder + entry.name);
    if (!out.open(QIODevice::WriteOnly))
        throw Error(Error::Kind::IoError, QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2")
                        .arg(nativePath(out.fileName()), out.errorString()));
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t n = zip_fread(in.get(), buffer, sizeof buffer);
        if (n < 0)
            throw unreadable(archive, reasonFor(zip_error_code_zip(zip_file_get_error(in.get()))));
        if (n == 0)
            break;
        written += n;
        if (written > maxTotalBytes)
            throw unreadable(archive, QStringLiteral("Das Archiv ist zum Entpacken zu groß."));
        if (out.write(buffer, n) != n)
            throw Error(Error::Kind::IoError, QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2")
                            .arg(nativePath(out.fileName()), out.errorString()));
    }
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (entry.executable)
        permissions |= QFileDevice::ExeOwner;
    if (!out.setPermissions(permissions) || !out.commit())
        throw Error(Error::Kind::IoError, QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2")
                        .arg(nativePath(out.fileName()), out.errorString()));
}

} // namespace

QStringList extractArchive(const QString &archive, const QString &folder, qint64 maxTotalBytes)
{
    int errorCode = 0;
    ZipArchive zip(
        zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &errorCode));
    if (!zip)
        throw unreadable(archive, reasonFor(errorCode));
    const QString target = folder.endsWith(u'/') ? folder : folder + u'/';
    const std::vector<Entry> entries = listEntries(zip.get(), archive, maxTotalBytes);
    QStringList names;
    qint64 written = 0;
    for (const Entry &entry : entries) {
        extractEntry(zip.get(), entry, archive, target, maxTotalBytes, written);
        names << entry.name;
    }
    return names;
}

} // namespace lexora
