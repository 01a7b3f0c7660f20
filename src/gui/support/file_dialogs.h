#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace lexora {

// The main window's two database file dialogs (OpenDialog, SaveDialog), behind an interface so
// that tests can answer them. Both show the filter "Lexora (*.lxd)" and add ".lxd" to a name
// without extension, and each remembers the last file chosen in it.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // OpenDialog: an existing file, or nothing when cancelled.
    virtual std::optional<QString> openDatabase(QWidget *parent) = 0;
    // SaveDialog: asks before overwriting. With a folder it starts there with an empty file name
    // (saving as template); otherwise with the last file chosen.
    virtual std::optional<QString> saveDatabase(QWidget *parent, const QString &folder = {}) = 0;
};

// The dialogs the user sees: Qt's own file dialog, so that it speaks German with the rest of the
// program whatever the desktop's language.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> openDatabase(QWidget *parent) override;
    std::optional<QString> saveDatabase(QWidget *parent, const QString &folder = {}) override;

private:
    QString m_lastOpened;
    QString m_lastSaved;
};

} // namespace lexora
