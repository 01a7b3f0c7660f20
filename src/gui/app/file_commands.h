#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace lexora {

class Document;
class Error;
class FileDialogs;
class TemplateChoiceWindow;
class EncryptionWindow;
class UserPrompt;
struct Settings;

// The commands of the menu "Datei" and the two file settings of "Optionen": the user's side of
// the document's open, new and save policies (file dialogs, the template-database choice, error
// messages). The window manager connects them to the main window's commands.
class FileCommands : public QObject {
    Q_OBJECT

public:
    // Dialogs open over parent; the template-database window and the encryption window are made
    // when they are first needed.
    FileCommands(Document &document, Settings &settings, UserPrompt &prompt, FileDialogs &dialogs,
                 QString templatesFolder, QWidget *parent);
    ~FileCommands() override;

    // Whether the caller may go on; a failed save has been reported and says no.
    bool ConfirmSaveChanges();
    void OpenDatabase(const QString &fileName, bool askForFile);
    void MenuItem_NewClick();
    void MenuItem_OpenClick() { OpenDatabase(QString(), true); }
    void MenuItem_SaveClick();
    void MenuItem_SaveAsClick();
    void MenuItem_SaveAsTemplateClick();
    void MenuItem_LXDTemplatesClick();
    void MenuItem_EncryptionClick();

private:
    // Runs a command; an error of the file system or of a damaged file is shown and ends it.
    // Returns whether it ran to its end.
    bool run(const std::function<void()> &command);
    std::optional<QString> chooseSaveFile();
    TemplateChoiceWindow &form5();

    Document &m_document;
    Settings &m_settings;
    UserPrompt &m_prompt;
    FileDialogs &m_dialogs;
    QString m_templatesFolder;
    QWidget *m_parent;
    TemplateChoiceWindow *m_form5 = nullptr;
    EncryptionWindow *m_form8 = nullptr;
};

} // namespace lexora
