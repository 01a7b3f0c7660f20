#include "app/window_manager.h"

#include "about/about_box.h"
#include "app/file_commands.h"
#include "app/item_windows.h"
#include "codefield/code_field_settings.h"
#include "codefield/code_tool_bar.h"
#include "dialogs/progress_window.h"
#include "document/document.h"
#include "document/recovery_copies.h"
#include "editor/display_settings_window.h"
#include "editor/item_editor.h"
#include "exchange/browser_content_export.h"
#include "exchange/html_export_window.h"
#include "exchange/import_window.h"
#include "files/included_files_window.h"
#include "help/balloons.h"
#include "mainwindow/main_window.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "search/search_window.h"
#include "settings/sort_settings.h"
#include "setup/home_folder.h"
#include "setup/instance_folder.h"
#include "setup/open_file_record.h"
#include "setup/user_name.h"
#include "sorting/sort_criteria_window.h"
#include "support/error.h"
#include "support/failure_report.h"
#include "support/status_hints.h"
#include "support/user_prompt.h"
#include "templates/template_manager.h"
#include "tray/tray_window.h"
#include "update/update_file.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QToolBar>

#include <cstdio>
#include <functional>
#include <utility>

namespace lexora {

WindowManager::WindowManager(const QString &homeFolder, UserPrompt &prompt,
                             FileDialogs &fileDialogs, QObject *parent)
    : QObject(parent), m_homeFolder(homeFolder), m_prompt(prompt), m_fileDialogs(fileDialogs)
{
    m_templatesFolder = setUpTemplatesFolder(m_homeFolder);
    m_instance = std::make_unique<InstanceFolder>(m_homeFolder);
    m_openFile = std::make_unique<OpenFileRecord>(*m_instance);
    m_progress = std::make_unique<ProgressWindow>();
    m_balloons = std::make_unique<Balloons>();
    m_statusHints = std::make_unique<StatusHints>();
    m_document = std::make_unique<Document>(m_instance->includedFilesFolder(), userName(),
                                            m_prompt, *m_progress);
    m_document->setOpenFileRecord(m_openFile.get());
    connect(m_document.get(), &Document::saved, this, &WindowManager::forgetRecoveryCopies);
    m_codeFieldSettings = std::make_unique<CodeFieldSettings>();
    m_codeMenus = std::make_unique<CodeMenus>(
        [this]() -> const Database & { return m_document->database(); });
    m_mainWindow = std::make_unique<MainWindow>(*m_document, m_settings, m_prompt, m_requests,
                                                   m_homeFolder + QStringLiteral("Settings.ini"));
    connectCodeFields();
    connectMainWindow();
    connectRequests();
    connectUpdates();
    m_itemWindows = std::make_unique<ItemWindows>(
        *m_document, *m_mainWindow, *m_codeFieldSettings, *m_codeMenus,
        [this]() -> const QToolBar & { return itemEditor().toolBar(); });
    connectCommands();
}

WindowManager::~WindowManager() = default;

int WindowManager::instanceNumber() const
{
    return m_instance->number();
}

void WindowManager::connectMainWindow()
{
    MainWindow &window = *m_mainWindow;
    m_fileCommands = new FileCommands(*m_document, m_settings, m_prompt, m_fileDialogs,
                                      m_templatesFolder, &window);
    connect(&window, &MainWindow::databaseFileDropped, m_fileCommands,
            [this](const QString &file) { m_fileCommands->OpenDatabase(file, false); });
    window.setCloseQuery([this] { return m_fileCommands->ConfirmSaveChanges(); });
    connect(&window, &MainWindow::firstShown, this, &WindowManager::start);
}

void WindowManager::connectUpdates()
{
    m_update = new TQZUpdateFile(m_prompt, m_mainWindow.get());
    m_mainWindow->addAction(m_update->action());
    // The wizard's last step on Ctrl+U: the program ends as usual, with the question about
    // unsaved changes; the script runs only after that.
    connect(m_update, &TQZUpdateFile::programEndRequested, m_mainWindow.get(), &QWidget::close);
}

bool WindowManager::startUp()
{
    return !m_update->AutomaticUpdate({}, false, 0);
}

void WindowManager::atProgramEnd()
{
    m_update->finish();
}

void WindowManager::endWithoutQuestions()
{
    if (m_document->isModified()) {
        try {
            RecoveryCopies(RecoveryCopies::standardFolder()).write(*m_document, instanceNumber());
        } catch (const Error &e) {
            std::fprintf(stderr, "lexora: %s\n", qUtf8Printable(e.message()));
        }
    }
    m_mainWindow->setCloseQuery({});
    // The close event writes the settings, also of a hidden main window.
    m_mainWindow->close();
    QCoreApplication::quit();
}

void WindowManager::connectCodeFields()
{
    // The main window reads "Settings.ini" at its first show and writes these values back at the
    // end, so they are kept up to date here whenever they change.
    connect(m_mainWindow.get(), &MainWindow::firstShown, this, [this] {
        m_codeFieldSettings->load(m_settings);
        if (m_itemEditor)
            m_itemEditor->applySettings(m_settings);
        if (m_templateManager)
            m_templateManager->applySettings(m_settings);
    });
    connect(m_codeFieldSettings.get(), &CodeFieldSettings::changed, this,
            [this] { m_codeFieldSettings->store(m_settings); });
}

void WindowManager::connectCommands()
{
    FileCommands &files = *m_fileCommands;
    ItemWindows &windows = *m_itemWindows;
    auto *toolBar = m_mainWindow->findChild<QToolBar *>(QStringLiteral("ToolBar"));
    const std::pair<const char *, std::function<void()>> commands[] = {
        {"MenuItem_New", [&files] { files.MenuItem_NewClick(); }},
        {"MenuItem_Open", [&files] { files.MenuItem_OpenClick(); }},
        {"MenuItem_Save", [&files] { files.MenuItem_SaveClick(); }},
        {"MenuItem_SaveAs", [&files] { files.MenuItem_SaveAsClick(); }},
        {"MenuItem_SaveAsTemplate", [&files] { files.MenuItem_SaveAsTemplateClick(); }},
        {"MenuItem_LXDTemplates", [&files] { files.MenuItem_LXDTemplatesClick(); }},
        {"MenuItem_Encryption", [&files] { files.MenuItem_EncryptionClick(); }},
        {"MenuItem_ExportBrowserContent",
         [this] { browserContentExport().MenuItem_ExportBrowserContentClick(*m_mainWindow->browser()); }},
        {"MenuItem_ExportDatabase", [this] { exportWindow().exec(); }},
        {"MenuItem_Import", [this] { importWindow().exec(); }},
        {"MenuItem_IncludedFiles", [this] { includedFiles().exec(); }},
        {"MenuItem_Search", [this] { search().showSearch(); }},
        {"MenuItem_SortCriteriums", [this] { sortCriteria().execute(); }},
        {"Editierfelder1", [this] { showDisplaySettings(); }},
        {"MenuItem_Templates", [this] { templateManager().exec(); }},
        {"MenuItem_BalloonHelp", [this, toolBar] { m_balloons->MenuItem_BalloonHelpClick(toolBar); }},
        {"MenuItem_Info",
         [this] {
             aboutBox().showAbout(QStringLiteral("Lexora"), QStringLiteral("2005"),
                                  m_mainWindow->windowIcon());
         }},
        {"ToolButton_NewWindow", [&windows] { windows.ToolButton_NewWindowClick(); }},
        {"ToolButton_HideMainWindow", [&windows] { windows.ToolButton_HideMainWindowClick(); }},
        {"ToolButton_Tray", [this] { tray().setVisible(!tray().isVisible()); }},
    };
    for (const auto &[name, handler] : commands)
        connect(m_mainWindow->command(name), &QAction::triggered, this, handler);
}

ItemEditor &WindowManager::itemEditor()
{
    if (!m_itemEditor) {
        m_itemEditor = new ItemEditor(*m_document, *m_codeMenus, *m_codeFieldSettings,
                                  m_mainWindow.get());
        m_itemEditor->applySettings(m_settings);
        connect(m_itemEditor, &QDialog::finished, this,
                [this] { m_itemEditor->storeSettings(m_settings); });
    }
    return *m_itemEditor;
}

void WindowManager::showDisplaySettings()
{
    if (!m_displaySettings)
        m_displaySettings = new DisplaySettingsWindow(*m_codeFieldSettings, m_mainWindow.get());
    m_displaySettings->exec();
}

AboutBox &WindowManager::aboutBox()
{
    if (!m_aboutBox)
        m_aboutBox = new AboutBox(m_mainWindow.get());
    return *m_aboutBox;
}

HtmlExportWindow &WindowManager::exportWindow()
{
    if (!m_exportWindow)
        m_exportWindow = new HtmlExportWindow(*m_document, m_prompt, *m_progress, m_fileDialogs,
                                     m_mainWindow.get());
    return *m_exportWindow;
}

ImportWindow &WindowManager::importWindow()
{
    if (!m_importWindow)
        m_importWindow = new ImportWindow(*m_document, m_prompt, m_fileDialogs, m_mainWindow.get());
    return *m_importWindow;
}

BrowserContentExport &WindowManager::browserContentExport()
{
    if (!m_browserContentExport)
        m_browserContentExport = new BrowserContentExport(*m_document, m_prompt, m_fileDialogs,
                                                          m_mainWindow.get());
    return *m_browserContentExport;
}

void WindowManager::connectRequests()
{
    // What the editor changes reaches every window through the document.
    connect(&m_requests, &WindowRequests::editItem, this,
            [this](Node *node) { itemEditor().EditItem(node); });
    connect(&m_requests, &WindowRequests::showNode, m_mainWindow.get(), [this](const Node *node) {
        m_mainWindow->selectNode(node);
        m_mainWindow->ShowSelected();
    });
}

TrayWindow &WindowManager::tray()
{
    if (!m_tray) {
        MainWindow &window = *m_mainWindow;
        // The tree's selection in the order in which it was made.
        const auto selection = [&window] {
            QList<Node *> nodes;
            for (const QModelIndex &index : window.treeView()->selectionModel()->selectedIndexes())
                nodes.append(window.treeModel()->nodeOf(index));
            return nodes;
        };
        m_tray = new TrayWindow(*m_document, m_requests, {window.treeView(), selection}, &window);
    }
    return *m_tray;
}

SearchWindow &WindowManager::search()
{
    if (!m_search) {
        MainWindow &window = *m_mainWindow;
        const auto selection = [&window] { return window.selectedNodes(); };
        SearchWindowLinks links{
            {window.treeView(), selection},
            [&window] { return window.selectedNode(); },
            [this] { return m_codeFieldSettings->font(CodeFieldSettings::ItemEditorFont); },
            // The item editor's wrap button, stored whenever the editor closes.
            [this] { return m_settings.F2_Wrap; },
        };
        m_search = new SearchWindow(*m_document, m_requests, std::move(links), &window);
    }
    return *m_search;
}

SortCriteriaWindow &WindowManager::sortCriteria()
{
    if (!m_sortCriteria)
        m_sortCriteria = new SortCriteriaWindow(*m_document, m_settings, m_mainWindow.get());
    return *m_sortCriteria;
}

void WindowManager::start()
{
    m_document->setSortCriteria(sortCriteriaFromSettings(m_settings));
    m_document->setBackups(Backups(Backups::standardFolder(), m_settings.BackupCount));
    m_document->start({m_startFile, m_settings.OpenLast ? m_settings.LastFile : QString(),
                       m_settings.DefTemplate.isEmpty()
                           ? QString()
                           : m_templatesFolder + m_settings.DefTemplate});
    offerRecovery();
}

void WindowManager::offerRecovery()
{
    const RecoveryCopies copies(RecoveryCopies::standardFolder());
    // A copy that is not taken stays: it is never removed without a word.
    for (const RecoveryCopies::Copy &copy : copies.pending()) {
        const QString which = copy.fileName.isEmpty()
                                  ? QStringLiteral("Für eine unbenannte Datenbank")
                                  : QStringLiteral("Für die Datei „%1“")
                                        .arg(QDir::toNativeSeparators(copy.fileName));
        const QString question =
            QStringLiteral("%1 gibt es ungespeicherte Änderungen vom %2. Sollen sie "
                           "wiederhergestellt werden?")
                .arg(which, copy.written.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
        if (m_prompt.question(QStringLiteral("Lexora"), question, UserPrompt::Buttons::YesNo)
            != UserPrompt::Answer::Yes)
            continue;
        try {
            m_document->recover(copy.path, copy.fileName);
        } catch (const Error &e) {
            reportFailure(m_prompt, e);
        }
        return;
    }
}

void WindowManager::forgetRecoveryCopies(const QString &savedFile)
{
    // The file now has the changes; so has the database that was unnamed until this save.
    const RecoveryCopies copies(RecoveryCopies::standardFolder());
    copies.remove(savedFile, instanceNumber());
    copies.remove({}, instanceNumber());
}

TemplateManager &WindowManager::templateManager()
{
    if (!m_templateManager) {
        m_templateManager = new TemplateManager(
            *m_document, *m_codeFieldSettings,
            [this](QWidget *panel) {
                return CopyEditorToolBar(*m_codeMenus, itemEditor().toolBar(), panel);
            },
            m_mainWindow.get());
        m_templateManager->applySettings(m_settings);
        connect(m_templateManager, &QDialog::finished, this,
                [this] { m_templateManager->storeSettings(m_settings); });
    }
    return *m_templateManager;
}

IncludedFilesWindow &WindowManager::includedFiles()
{
    if (!m_includedFiles)
        m_includedFiles = new IncludedFilesWindow(*m_document, m_fileDialogs, m_mainWindow.get());
    return *m_includedFiles;
}

} // namespace lexora
