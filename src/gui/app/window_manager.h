#pragma once

#include "settings/settings.h"
#include "support/window_requests.h"

#include <QObject>
#include <QString>

#include <memory>

namespace lexora {

class BrowserContentExport;
class CodeFieldSettings;
class CodeMenus;
class Balloons;
class Document;
class FileCommands;
class FileDialogs;
class InstanceFolder;
class ItemWindows;
class OpenFileRecord;
class StatusHints;
class ProgressWindow;
class HtmlExportWindow;
class TrayWindow;
class ItemEditor;
class TemplateManager;
class DisplaySettingsWindow;
class SearchWindow;
class SortCriteriaWindow;
class IncludedFilesWindow;
class ImportWindow;
class AboutBox;
class MainWindow;
class TQZUpdateFile;
class UserPrompt;

// The program's windows and what they share: the Document, the settings, the instance's folder
// and the prompt. It makes each window once, when it is first needed, hands it
// (Document&, Settings&, UserPrompt&, WindowRequests&) and connects it to the main window's
// commands and to the requests of the other windows. No window knows another; only this class
// knows them all.
class WindowManager : public QObject {
    Q_OBJECT

public:
    // Sets up the home folder's "Templates" and this instance's included-files folder. Questions
    // and messages go through prompt, the database file dialogs through fileDialogs. Throws Error
    // when the folders cannot be made.
    WindowManager(const QString &homeFolder, UserPrompt &prompt, FileDialogs &fileDialogs,
                  QObject *parent = nullptr);
    ~WindowManager() override;

    // A database to open at the start instead of the last one (from the command line).
    void setStartFile(const QString &fileName) { m_startFile = fileName; }

    // The start-up work before the main window shows: the invitation to look for updates when
    // it is due. False when the program is to end here, without showing its window or doing its
    // closing work ("OnlyUpdate", or an update prepared by the wizard).
    bool startUp();
    // The update work at the program's very end, after the main window's closing work: the due
    // date, and the prepared installation script, which runs once the process has ended.
    void atProgramEnd();
    // The end the system asks for (a termination signal, the desktop session ending): unsaved
    // changes go into a recovery copy, then the closing work follows without the question
    // about them, which no one is there to answer, and the event loops end.
    void endWithoutQuestions();

    MainWindow &mainWindow() { return *m_mainWindow; }
    Document &document() { return *m_document; }
    Settings &settings() { return m_settings; }
    WindowRequests &requests() { return m_requests; }
    // The help and warning balloons of all windows.
    Balloons &balloons() { return *m_balloons; }
    const QString &templatesFolder() const { return m_templatesFolder; }
    int instanceNumber() const;

    // The item editor; made when first needed.
    ItemEditor &itemEditor();
    // The export window, the import window and the export of the shown page; made when first
    // needed.
    HtmlExportWindow &exportWindow();
    ImportWindow &importWindow();
    BrowserContentExport &browserContentExport();
    // The fonts and the tab-stop distance of every code field.
    CodeFieldSettings &codeFieldSettings() { return *m_codeFieldSettings; }
    // The tag and placeholder menus of every code field's tool bar.
    CodeMenus &codeMenus() { return *m_codeMenus; }
    // The tray "Ablagemappe"; made when first needed.
    TrayWindow &tray();
    // The item windows and hiding the main window.
    ItemWindows &itemWindows() { return *m_itemWindows; }
    // The search window "Suchen"; made when first needed.
    SearchWindow &search();
    // The sort criteria "Sortierreihenfolge"; made when first needed.
    SortCriteriaWindow &sortCriteria();
    // The template manager "HTML- und CSS-Vorlagen"; made when first needed.
    TemplateManager &templateManager();
    // "Eingebundene Dateien"; made when first needed.
    IncludedFilesWindow &includedFiles();

private:
    void connectMainWindow();
    void connectUpdates();
    AboutBox &aboutBox();
    void connectRequests();
    void connectCodeFields();
    // The main window's commands that other windows carry out: one table of names and handlers.
    void connectCommands();
    // "Ansicht > Editierfelder...".
    void showDisplaySettings();
    // The database the program starts with, once the main window has read its settings.
    void start();
    // Asks about each recovery copy with changes its file lacks, newest first; "Ja" opens one.
    void offerRecovery();
    // A save puts the changes into the file: its copy goes.
    void forgetRecoveryCopies(const QString &savedFile);

    QString m_homeFolder;
    UserPrompt &m_prompt;
    FileDialogs &m_fileDialogs;
    QString m_templatesFolder;
    QString m_startFile;
    // In this order, so that the windows go first, then the document with the included files'
    // bytes, and the instance's folder last.
    std::unique_ptr<InstanceFolder> m_instance;
    std::unique_ptr<OpenFileRecord> m_openFile;
    std::unique_ptr<ProgressWindow> m_progress; // a window of its own, centred on the screen
    std::unique_ptr<Balloons> m_balloons;
    std::unique_ptr<StatusHints> m_statusHints;
    Settings m_settings;
    WindowRequests m_requests;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<CodeFieldSettings> m_codeFieldSettings;
    std::unique_ptr<CodeMenus> m_codeMenus;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<ItemWindows> m_itemWindows; // windows of their own, gone before the document
    FileCommands *m_fileCommands = nullptr;
    TrayWindow *m_tray = nullptr; // owned by the main window
    TQZUpdateFile *m_update = nullptr; // a component of the main window
    ItemEditor *m_itemEditor = nullptr;   // owned by the main window
    DisplaySettingsWindow *m_displaySettings = nullptr; // owned by the main window
    AboutBox *m_aboutBox = nullptr;
    SearchWindow *m_search = nullptr;         // owned by the main window
    SortCriteriaWindow *m_sortCriteria = nullptr;  // owned by the main window
    TemplateManager *m_templateManager = nullptr; // owned by the main window
    IncludedFilesWindow *m_includedFiles = nullptr;   // owned by the main window
    HtmlExportWindow *m_exportWindow = nullptr;   // owned by the main window
    ImportWindow *m_importWindow = nullptr;    // owned by the main window
    BrowserContentExport *m_browserContentExport = nullptr; // owned by the main window
};

} // namespace lexora
