// The main window's file commands: new, open, save, save as, save as template, the standard
// template, the encryption setting, the question about unsaved changes and dropped files.
#include "mainwindow/main_window.h"

#include "database/file_format.h"
#include "database/open_database.h"
#include "dialogs/encryption_window.h"
#include "dialogs/progress_window.h"
#include "dialogs/template_choice_window.h"
#include "mainwindow/tree_model.h"
#include "support/error.h"
#include "support/file_dialogs.h"
#include "support/user_prompt.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>

namespace lexora {

bool TQZS_LXD_Form::ConfirmSaveChanges()
{
    if (!m_db.DatabaseModified)
        return true;
    switch (m_prompt.question(QStringLiteral("Lexora"),
                              QStringLiteral("Wollen Sie die aktuelle Datei vor dem Schließen "
                                             "speichern?"),
                              UserPrompt::Buttons::YesNoCancel)) {
    case UserPrompt::Answer::Cancel:
        return false;
    case UserPrompt::Answer::Yes:
        // Whether or not a file was written, the caller goes on.
        MenuItem_SaveClick();
        return true;
    case UserPrompt::Answer::No:
        return true;
    }
    return false;
}

void TQZS_LXD_Form::UpdateCaption()
{
    const QString title = QStringLiteral("Lexora");
    setWindowTitle(m_db.CurrentFileName.isEmpty()
                       ? title
                       : title + QStringLiteral(" - [") + m_db.CurrentFileName + QLatin1Char(']'));
}

void TQZS_LXD_Form::changeDatabase(const std::function<void()> &change)
{
    m_displaySuspended = true;
    m_lastChangeNode = nullptr;
    m_popupNode = nullptr;
    m_model->beginDatabaseChange();
    try {
        change();
    } catch (...) {
        m_model->endDatabaseChange();
        m_displaySuspended = false;
        throw;
    }
    m_model->endDatabaseChange();
    m_displaySuspended = false;
}

void TQZS_LXD_Form::clearDatabase()
{
    Q_EMIT databaseClearing();
    m_db.ClearDatabase();
}

TQZS_LXD_Form::LoadResult TQZS_LXD_Form::loadFile(const QString &fileName)
{
    bool opened = false;
    try {
        changeDatabase([&] {
            Q_EMIT databaseClearing();
            opened = lexora::OpenDatabase(m_db, fileName, m_prompt, *m_form10);
            if (opened)
                m_model->sortTree(sortCriteria());
        });
    } catch (const Error &e) {
        showError(e);
        return LoadResult::Damaged;
    }
    return opened ? LoadResult::Opened : LoadResult::Refused;
}

void TQZS_LXD_Form::OpenDatabase(const QString &fileName, bool askForFile)
{
    if (!ConfirmSaveChanges())
        return;
    QString file = fileName;
    if (askForFile) {
        const std::optional<QString> chosen = m_fileDialogs.openDatabase(this);
        if (!chosen)
            return;
        file = *chosen;
    }
    const LoadResult result = loadFile(file);
    UpdateCaption();
    ShowSelected();
    // A refused file leaves an empty database; the user chooses what to start from.
    if (result == LoadResult::Refused)
        MenuItem_NewClick();
}

void TQZS_LXD_Form::MenuItem_OpenClick()
{
    OpenDatabase(QString(), true);
}

void TQZS_LXD_Form::MenuItem_NewClick()
{
    if (!ConfirmSaveChanges())
        return;
    const std::optional<QString> chosen = m_form5->choose(QStringLiteral("Neue Datenbank"),
                                                          m_templatesFolder,
                                                          m_settings.DefTemplate);
    if (!chosen)
        return;
    try {
        changeDatabase([&] {
            clearDatabase();
            if (chosen->isEmpty())
                m_db.DatabaseModified = false;
            else
                LoadDatabase(m_db, m_templatesFolder + *chosen, lpAll, m_prompt, *m_form10);
        });
    } catch (const Error &e) {
        showError(e);
    }
    m_db.CurrentFileName.clear();
    UpdateCaption();
    ShowSelected();
}

void TQZS_LXD_Form::saveTo(const QString &fileName, bool asTemplate)
{
    try {
        SaveDatabase(m_db, fileName, asTemplate, *m_form10);
    } catch (const Error &e) {
        showError(e);
    }
}

void TQZS_LXD_Form::MenuItem_SaveClick()
{
    if (m_db.CurrentFileName.isEmpty())
        MenuItem_SaveAsClick();
    else
        saveTo(m_db.CurrentFileName, false);
}

void TQZS_LXD_Form::MenuItem_SaveAsClick()
{
    const std::optional<QString> chosen = m_fileDialogs.saveDatabase(this);
    if (!chosen)
        return;
    m_db.CurrentFileName = QFileInfo(*chosen).absoluteFilePath();
    UpdateCaption();
    saveTo(m_db.CurrentFileName, false);
    // Pages may show the file's name and folder.
    ShowSelected();
}

void TQZS_LXD_Form::MenuItem_SaveAsTemplateClick()
{
    const std::optional<QString> chosen = m_fileDialogs.saveDatabase(this, m_templatesFolder);
    if (!chosen)
        return;
    if (QFileInfo(*chosen).absolutePath() + QLatin1Char('/') != m_templatesFolder) {
        m_prompt.message(UserPrompt::Icon::Warning, QStringLiteral("Speichern nicht möglich"),
                         QStringLiteral("Vorlagen müssen im Vorlagen-Ordner gespeichert werden."));
        return;
    }
    saveTo(*chosen, true);
}

void TQZS_LXD_Form::MenuItem_LXDTemplatesClick()
{
    if (const std::optional<QString> chosen = m_form5->choose(
            QStringLiteral("Standard-Vorlage"), m_templatesFolder, m_settings.DefTemplate))
        m_settings.DefTemplate = *chosen;
}

void TQZS_LXD_Form::MenuItem_EncryptionClick()
{
    m_form8->editEncryption(m_db);
}

void TQZS_LXD_Form::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TQZS_LXD_Form::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    const QList<QUrl> urls = event->mimeData()->urls();
    // Opened once the drop has ended, so that the desktop's file manager is not kept waiting
    // while questions are asked.
    QTimer::singleShot(0, this, [this, urls] { FilesDropped(urls); });
}

void TQZS_LXD_Form::FilesDropped(const QList<QUrl> &urls)
{
    // Exactly one existing file opens; any other drop is ignored.
    if (urls.size() != 1)
        return;
    const QString file = urls.first().toLocalFile();
    if (!file.isEmpty() && QFileInfo(file).isFile())
        OpenDatabase(file, false);
}

} // namespace lexora
