#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace lexora {

// The program's file dialogs, behind an interface so that tests can answer them. The database
// and export dialogs remember the last file chosen in them.
// - OpenDialog and SaveDialog (databases): the filter "Lexora (*.lxd)", ".lxd" added to a name
//   without extension.
// - SaveDialog_ExportHTML (exports): the filter "HTML-Dateien (*.htm *.html)", ".htm" added to a
//   name without extension.
// - The included files' OpenDialog: existing files of any kind, several at once.
class FileDialogs {
public:
    enum class Overwrite { Ask, DoNotAsk };

    virtual ~FileDialogs() = default;

    // OpenDialog: an existing file, or nothing when cancelled.
    virtual std::optional<QString> openDatabase(QWidget *parent) = 0;
    // OpenDialog allowing several files for this run: the chosen files in the dialog's order,
    // or nothing when cancelled.
    virtual std::optional<QStringList> openDatabases(QWidget *parent) = 0;
    // SaveDialog: asks before overwriting. With a folder it starts there with an empty file name
    // (saving as template); otherwise with the last file chosen.
    virtual std::optional<QString> saveDatabase(QWidget *parent, const QString &folder = {}) = 0;
    // The included files' OpenDialog: existing files of any kind, several at once; none when
    // cancelled.
    virtual QStringList openIncludedFiles(QWidget *parent) = 0;
    // SaveDialog_ExportHTML; DoNotAsk for a caller that asks about an existing file itself.
    virtual std::optional<QString> saveHtml(QWidget *parent, Overwrite overwrite) = 0;
};

// The dialogs the user sees: Qt's own file dialog, so that it speaks German with the rest of the
// program whatever the desktop's language.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> openDatabase(QWidget *parent) override;
    std::optional<QStringList> openDatabases(QWidget *parent) override;
    std::optional<QString> saveDatabase(QWidget *parent, const QString &folder = {}) override;
    QStringList openIncludedFiles(QWidget *parent) override;
    std::optional<QString> saveHtml(QWidget *parent, Overwrite overwrite) override;

private:
    QString m_lastOpened;
    QString m_lastSaved;
    QString m_lastHtml;
};

} // namespace lexora
