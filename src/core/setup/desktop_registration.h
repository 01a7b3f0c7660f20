#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lexora {

class UserPrompt;

// The program's registration with the desktop, which stands in for the entry in the system's
// list of installed programs: at every start the desktop entry, the program icon in the user's
// icon theme and the MIME type of database files (so that a file manager opens a ".lxd" file with
// Lexora) are brought up to date below $XDG_DATA_HOME. "lexora /uninstall" removes them again,
// together with the update settings, and leaves everything else of the user's alone.
class TQZSetup {
public:
    // programPath: the absolute path of the program file, run by the desktop entry.
    explicit TQZSetup(QString programPath);

    QString DisplayName;    // the entry's name, also used in the messages
    QString DisplayIcon;    // the icon's name in the icon theme
    QString DisplayVersion; // the program's version
    QString UninstallString; // the command line of the entry's "Uninstall" action
    QString Publisher;
    QString URLInfoAbout;
    QString HelpLink;
    QString UninstallParam; // the first argument that uninstalls
    QString RegKeyName;     // base name of the desktop entry and of the MIME package
    QString QZRegKeyName;   // the update settings: $XDG_CONFIG_HOME/QZ/<QZRegKeyName>.ini
    bool UninstallMessage = true;

    // The MIME type of database files.
    static QString databaseMimeType();

    // True when the first argument (after the program name) is UninstallParam, letter case and
    // all.
    bool isUninstallCall(const QStringList &arguments) const;

    // Writes the desktop entry, the icon and the MIME package where they differ from what they
    // should be, and refreshes the desktop's MIME and application caches when their tools are
    // installed. Throws Error when a file cannot be written.
    void registerProgram() const;

    enum class Outcome { Declined, Removed };
    // Asks, then removes what registerProgram wrote and the update settings, and says so.
    // Throws Error naming the files that could not be removed; the confirmation is then not shown.
    Outcome uninstall(UserPrompt &prompt) const;

    // The files registerProgram writes, and the update settings file.
    QString desktopEntryFile() const;
    QString iconFile() const;
    QString mimePackageFile() const;
    QString updateSettingsFile() const;

    // The contents written.
    QByteArray desktopEntry() const;
    QByteArray mimePackage() const;

private:
    QString m_programPath;
};

// The program icon (SVG), as the desktop and the program's windows show it.
QByteArray programIconSvg();

// One argument of an Exec line of a desktop entry, quoted where the desktop entry rules ask it.
QString desktopExecArgument(const QString &argument);

} // namespace lexora
