#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace lexora {

// The program's file dialogs, behind an interface so that tests can answer them: the main
// window's two database dialogs (OpenDialog, SaveDialog), which show the filter "Lexora (*.lxd)",
// add ".lxd" to a name without extension and remember the last file chosen in them, and the
// dialog that chooses files to include in the database.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // OpenDialog: an existing file, or nothing when cancelled.
    virtual std::optional<QString> openDatabase(QWidget *parent) = 0;
    // SaveDialog: asks before overwriting. With a folder it starts there with an empty file name
    // (saving as template); otherwise with the last file chosen.
    virtual std::optional<QString> saveDatabase(QWidget *parent, const QString &folder = {}) = 0;
    // The included files' OpenDialog: existing files of any kind, several at once; none when
    // cancelled.
    virtual QStringList openIncludedFiles(QWidget *parent) = 0;
};

// The dialogs the user sees: Qt's own file dialog, so that it speaks German with the rest of the
// program whatever the desktop's language.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> openDatabase(QWidget *parent) override;
    std::optional<QString> saveDatabase(QWidget *parent, const QString &folder = {}) override;
    QStringList openIncludedFiles(QWidget *parent) override;

private:
    QString m_lastOpened;
    QString m_lastSaved;
};

} // namespace lexora
