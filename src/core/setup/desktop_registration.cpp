#include "setup/desktop_registration.h"

#include "setup/maker.h"
#include "support/error.h"
#include "support/user_prompt.h"
#include "update/update_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstddef>

namespace lexora {

namespace embedded {
extern const unsigned char program_icon[];
extern const std::size_t program_icon_size;
} // namespace embedded

namespace {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// A string value of a desktop entry: its escapes for backslash and control characters.
QString escapeValue(const QString &value)
{
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

// Writes bytes to path unless the file holds them already; true when it wrote.
bool writeIfChanged(const QString &path, const QByteArray &bytes)
{
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes)
        return false;
    current.close();
    const auto fail = [&path](const QString &reason) {
        return Error(Error::Kind::IoError, QStringLiteral("Lexora konnte nicht beim Desktop angemeldet werden: Die Datei "
                                    "\"%1\" konnte nicht geschrieben werden (%2).")
                         .arg(QDir::toNativeSeparators(path), reason));
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw fail(QStringLiteral("der Ordner fehlt"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw fail(file.errorString());
    return true;
}

// Runs a desktop cache tool on folder when it is installed; the registration works without it,
// only the desktop learns of the change later.
void refreshCache(const char *tool, const QString &folder)
{
    const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
    if (program.isEmpty() || !QFileInfo::exists(folder))
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, {folder});
    if (!process.waitForFinished(30000))
        process.kill();
}

void refreshCaches()
{
    refreshCache("update-mime-database", dataFolder() + QStringLiteral("/mime"));
    refreshCache("update-desktop-database", dataFolder() + QStringLiteral("/applications"));
}

} // namespace

TQZSetup::TQZSetup(QString programPath)
    : DisplayName(QStringLiteral("Lexora")),
      DisplayIcon(QStringLiteral("lexora")),
      DisplayVersion(QStringLiteral(LEXORA_VERSION)),
      Publisher(QLatin1String(maker::kName)),
      URLInfoAbout(QLatin1String(maker::kProgramsPage)),
      HelpLink(QStringLiteral("http://") + QLatin1String(maker::kWebAddress)),
      UninstallParam(QStringLiteral("/uninstall")),
      RegKeyName(QStringLiteral("lexora")),
      QZRegKeyName(QStringLiteral("Lexora")),
      m_programPath(std::move(programPath))
{
    UninstallString = desktopExecArgument(m_programPath) + u' ' + UninstallParam;
}

QString TQZSetup::databaseMimeType()
{
    return QStringLiteral("application/x-lexora-database");
}

bool TQZSetup::isUninstallCall(const QStringList &arguments) const
{
    return !arguments.isEmpty() && arguments.first() == UninstallParam;
}

QString TQZSetup::desktopEntryFile() const
{
    return dataFolder() + QStringLiteral("/applications/") + RegKeyName + QStringLiteral(".desktop");
}

QString TQZSetup::iconFile() const
{
    return dataFolder() + QStringLiteral("/icons/hicolor/scalable/apps/") + DisplayIcon
           + QStringLiteral(".svg");
}

QString TQZSetup::mimePackageFile() const
{
    return dataFolder() + QStringLiteral("/mime/packages/") + RegKeyName + QStringLiteral(".xml");
}

QString TQZSetup::updateSettingsFile() const
{
    return lexora::updateSettingsFile(QZRegKeyName);
}

QByteArray TQZSetup::desktopEntry() const
{
    const QString program = desktopExecArgument(m_programPath);
    QString text;
    const auto line = [&text](const char *key, const QString &value) {
        if (!value.isEmpty())
            text += QLatin1String(key) + u'=' + escapeValue(value) + u'\n';
    };
    text += QStringLiteral("[Desktop Entry]\n");
    line("Type", QStringLiteral("Application"));
    line("Version", QStringLiteral("1.4"));
    line("Name", DisplayName);
    line("GenericName", QStringLiteral("Wissensdatenbank"));
    line("Comment", QStringLiteral("Notizen, Tipps und Code-Schnipsel in einer Datenbank sammeln"));
    line("Exec", program + QStringLiteral(" %f"));
    line("Icon", DisplayIcon);
    line("Terminal", QStringLiteral("false"));
    line("Categories", QStringLiteral("Office;"));
    line("MimeType", databaseMimeType() + u';');
    line("StartupNotify", QStringLiteral("true"));
    line("Actions", QStringLiteral("Uninstall;"));
    line("X-QZ-DisplayVersion", DisplayVersion);
    line("X-QZ-Publisher", Publisher);
    line("X-QZ-URLInfoAbout", URLInfoAbout);
    line("X-QZ-HelpLink", HelpLink);
    text += QStringLiteral("\n[Desktop Action Uninstall]\n");
    line("Name", DisplayName + QStringLiteral(" deinstallieren"));
    line("Exec", UninstallString);
    return text.toUtf8();
}

QByteArray TQZSetup::mimePackage() const
{
    // The magic is the four bytes every database file starts with.
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>%2 database</comment>\n"
               "    <comment xml:lang=\"de\">%2-Datenbank</comment>\n"
               "    <icon name=\"%3\"/>\n"
               "    <magic priority=\"60\">\n"
               "      <match type=\"big32\" offset=\"0\" value=\"0xbd9494f1\"/>\n"
               "    </magic>\n"
               "    <glob pattern=\"*.lxd\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n")
        .arg(databaseMimeType(), DisplayName.toHtmlEscaped(), DisplayIcon.toHtmlEscaped())
        .toUtf8();
}

void TQZSetup::registerProgram() const
{
    writeIfChanged(desktopEntryFile(), desktopEntry());
    writeIfChanged(iconFile(), programIconSvg());
    // Rebuilding the caches takes a moment, so only when something changed or they are missing.
    const bool mimeChanged = writeIfChanged(mimePackageFile(), mimePackage());
    if (mimeChanged || !QFileInfo::exists(dataFolder() + QStringLiteral("/mime/mime.cache")))
        refreshCaches();
}

TQZSetup::Outcome TQZSetup::uninstall(UserPrompt &prompt) const
{
    if (prompt.question(DisplayName,
                        QStringLiteral("Soll %1 wirklich deinstalliert werden?").arg(DisplayName),
                        UserPrompt::Buttons::YesNo, UserPrompt::Icon::Warning)
        != UserPrompt::Answer::Yes)
        return Outcome::Declined;

    QStringList failed;
    for (const QString &file :
         {desktopEntryFile(), iconFile(), mimePackageFile(), updateSettingsFile()}) {
        QFile f(file);
        if (f.exists() && !f.remove())
            failed << QDir::toNativeSeparators(file) + QStringLiteral(" (") + f.errorString()
                          + u')';
    }
    // The folder of the maker's settings goes when Lexora's were all it held.
    QDir().rmdir(QFileInfo(updateSettingsFile()).absolutePath());
    refreshCaches();
    if (!failed.isEmpty())
        throw Error(Error::Kind::IoError, QStringLiteral("%1 konnte nicht vollständig entfernt werden. Diese Dateien "
                                   "konnten nicht gelöscht werden:\n%2")
                        .arg(DisplayName, failed.join(u'\n')));
    if (UninstallMessage)
        prompt.message(UserPrompt::Icon::Information, QStringLiteral("Deinstallation abgeschlossen"),
                       QStringLiteral("%1 wurde erfolgreich entfernt. Die Programmdatei und evtl. "
                                      "mit diesem Programm erstellte Dateien müssen manuell "
                                      "gelöscht werden.")
                           .arg(DisplayName));
    return Outcome::Removed;
}

QByteArray programIconSvg()
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(embedded::program_icon),
                                   qsizetype(embedded::program_icon_size));
}

QString desktopExecArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString arg = argument;
    arg.replace(u'%', QStringLiteral("%%"));
    bool needsQuotes = arg.isEmpty();
    for (const QChar c : std::as_const(arg))
        needsQuotes = needsQuotes || reserved.contains(c);
    if (!needsQuotes)
        return arg;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : std::as_const(arg)) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

} // namespace lexora
