#include "app/file_commands.h"

#include "dialogs/encryption_window.h"
#include "dialogs/template_choice_window.h"
#include "document/document.h"
#include "settings/settings.h"
#include "support/error.h"
#include "support/file_dialogs.h"
#include "support/user_prompt.h"

namespace lexora {

FileCommands::FileCommands(Document &document, Settings &settings, UserPrompt &prompt,
                           FileDialogs &dialogs, QString templatesFolder, QWidget *parent)
    : QObject(parent),
      m_document(document),
      m_settings(settings),
      m_prompt(prompt),
      m_dialogs(dialogs),
      m_templatesFolder(std::move(templatesFolder)),
      m_parent(parent)
{
}

FileCommands::~FileCommands() = default;

bool FileCommands::run(const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const Error &e) {
        m_prompt.message(UserPrompt::Icon::Error, QStringLiteral("Lexora"), e.message());
        return false;
    }
}

std::optional<QString> FileCommands::chooseSaveFile()
{
    return m_dialogs.saveDatabase(m_parent);
}

TemplateChoiceWindow &FileCommands::form5()
{
    if (!m_form5)
        m_form5 = new TemplateChoiceWindow(m_parent);
    return *m_form5;
}

bool FileCommands::ConfirmSaveChanges()
{
    bool mayGoOn = false;
    return run([&] { mayGoOn = m_document.confirmSaveChanges([this] { return chooseSaveFile(); }); })
           && mayGoOn;
}

void FileCommands::OpenDatabase(const QString &fileName, bool askForFile)
{
    if (!ConfirmSaveChanges())
        return;
    QString file = fileName;
    if (askForFile) {
        const std::optional<QString> chosen = m_dialogs.openDatabase(m_parent);
        if (!chosen)
            return;
        file = *chosen;
    }
    Document::OpenResult result = Document::OpenResult::Opened;
    run([&] { result = m_document.open(file); });
    // A refused file leaves an empty database; the user chooses what to start from.
    if (result == Document::OpenResult::Refused)
        MenuItem_NewClick();
}

void FileCommands::MenuItem_NewClick()
{
    if (!ConfirmSaveChanges())
        return;
    const std::optional<QString> chosen =
        form5().choose(QStringLiteral("Neue Datenbank"), m_templatesFolder, m_settings.DefTemplate);
    if (!chosen)
        return;
    run([&] { m_document.newDatabase(chosen->isEmpty() ? QString() : m_templatesFolder + *chosen); });
}

void FileCommands::MenuItem_SaveClick()
{
    run([this] { m_document.save([this] { return chooseSaveFile(); }); });
}

void FileCommands::MenuItem_SaveAsClick()
{
    if (const std::optional<QString> chosen = chooseSaveFile())
        run([&] { m_document.saveAs(*chosen); });
}

void FileCommands::MenuItem_SaveAsTemplateClick()
{
    if (const std::optional<QString> chosen = m_dialogs.saveDatabase(m_parent, m_templatesFolder))
        run([&] { m_document.saveAsTemplate(*chosen, m_templatesFolder); });
}

void FileCommands::MenuItem_LXDTemplatesClick()
{
    if (const std::optional<QString> chosen = form5().choose(
            QStringLiteral("Standard-Vorlage"), m_templatesFolder, m_settings.DefTemplate))
        m_settings.DefTemplate = *chosen;
}

void FileCommands::MenuItem_EncryptionClick()
{
    if (!m_form8)
        m_form8 = new EncryptionWindow(m_parent);
    m_form8->editEncryption(m_document);
}

} // namespace lexora
