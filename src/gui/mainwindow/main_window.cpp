#include "mainwindow/main_window.h"

#include "browser/browser_view.h"
#include "dialogs/encryption_window.h"
#include "dialogs/progress_window.h"
#include "dialogs/template_choice_window.h"
#include "mainwindow/icons.h"
#include "mainwindow/info_area.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "setup/home_folder.h"
#include "setup/instance_folder.h"
#include "setup/user_name.h"
#include "support/error.h"
#include "support/user_prompt.h"

#include <QAction>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace lexora {

TQZS_LXD_Form::TQZS_LXD_Form(const QString &homeFolder, UserPrompt &prompt,
                             FileDialogs &fileDialogs, QWidget *parent)
    : QMainWindow(parent), m_homeFolder(homeFolder), m_prompt(prompt), m_fileDialogs(fileDialogs)
{
    setObjectName(QStringLiteral("TQZS_LXD_Form"));
    setWindowIcon(applicationIcon());
    UpdateCaption();
    // Database files dropped from the desktop open here.
    setAcceptDrops(true);
    createCommands();
    createMenus();
    createToolBar();
    createCentralArea();
    createTreeMenu();
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(status);
    resize(651, 469);

    m_userName = lexora::userName();
    m_templatesFolder = setUpTemplatesFolder(m_homeFolder);
    m_instance = std::make_unique<InstanceFolder>(m_homeFolder);
    m_db.IncludedFilesFolder = m_instance->includedFilesFolder();

    m_form5 = new TForm5(this);
    m_form8 = new TForm8(this);
    m_form10 = std::make_unique<TForm10>();
    connectCommands();
    connectTree();
}

TQZS_LXD_Form::~TQZS_LXD_Form()
{
    // The view must not read the tree while the database goes.
    TreeView_Items->setModel(nullptr);
}

int TQZS_LXD_Form::instanceNumber() const
{
    return m_instance->number();
}

QString TQZS_LXD_Form::settingsFile() const
{
    return m_homeFolder + QStringLiteral("Settings.ini");
}

void TQZS_LXD_Form::showError(const Error &error)
{
    m_prompt.message(UserPrompt::Icon::Error, QStringLiteral("Lexora"), error.message());
}

QAction *TQZS_LXD_Form::addCommand(const char *objectName, const QString &caption,
                                   const QString &hint, const QKeySequence &shortcut)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QLatin1String(objectName));
    action->setStatusTip(hint);
    action->setToolTip(hint.isEmpty() ? QString(caption).remove(QLatin1Char('&')) : hint);
    action->setShortcut(shortcut);
    return action;
}

void TQZS_LXD_Form::createCommands()
{
    MenuItem_New = addCommand("MenuItem_New", QStringLiteral("&Neu"),
                              QStringLiteral("Neue Datenbank erstellen"), Qt::CTRL | Qt::Key_N);
    MenuItem_New->setIcon(imageListIcon(ImgNew));
    MenuItem_Open = addCommand("MenuItem_Open", QStringLiteral("Ö&ffnen"),
                               QStringLiteral("Vorhandene Datenbank öffnen"), Qt::CTRL | Qt::Key_O);
    MenuItem_Open->setIcon(imageListIcon(ImgOpen));
    MenuItem_Save = addCommand("MenuItem_Save", QStringLiteral("&Speichern"),
                               QStringLiteral("Datenbank speichern"), Qt::CTRL | Qt::Key_S);
    MenuItem_Save->setIcon(imageListIcon(ImgSave));
    MenuItem_SaveAs = addCommand("MenuItem_SaveAs", QStringLiteral("Speichern &unter"),
                                 QStringLiteral("Datenbank unter neuem Namen speichern"),
                                 Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    MenuItem_SaveAsTemplate = addCommand("MenuItem_SaveAsTemplate",
                                         QStringLiteral("Als &Vorlage speichern"),
                                         QStringLiteral("Datenbank als Vorlage speichern"));
    MenuItem_ExportBrowserContent = addCommand("MenuItem_ExportBrowserContent",
                                               QStringLiteral("Browser-Inhalt exportieren"), {});
    MenuItem_ExportDatabase = addCommand("MenuItem_ExportDatabase",
                                         QStringLiteral("Gesamte Datenbank exportieren"), {});
    MenuItem_Import = addCommand("MenuItem_Import", QStringLiteral("Datenbank importieren"), {});
    MenuItem_Exit = addCommand("MenuItem_Exit", QStringLiteral("Be&enden"),
                               QStringLiteral("Programm beenden"), Qt::ALT | Qt::Key_F4);

    MenuItem_IncludedFiles = addCommand("MenuItem_IncludedFiles",
                                        QStringLiteral("Eingebundene Dateien"), {});
    MenuItem_Search = addCommand("MenuItem_Search", QStringLiteral("Suchen"),
                                 QStringLiteral("Nach Einträgen und Schlüsseln suchen"),
                                 Qt::CTRL | Qt::Key_F);
    MenuItem_Search->setIcon(imageListIcon(ImgSearch));
    MenuItem_CopyText = addCommand(
        "MenuItem_CopyText", QStringLiteral("Markierten Text kopieren"),
        QStringLiteral("Im Anzeigebereich markierten Text in die Zwischenablage kopieren"),
        Qt::CTRL | Qt::Key_C);
    MenuItem_CopyText->setIcon(imageListIcon(ImgCopyText));
    MenuItem_CopyCode = addCommand(
        "MenuItem_CopyCode", QStringLiteral("Code kopieren"),
        QStringLiteral("Code des markierten Eintrags in die Zwischenablage kopieren"),
        Qt::CTRL | Qt::ALT | Qt::Key_C);
    MenuItem_CopyCode->setIcon(imageListIcon(ImgCopyCode));

    MenuItem_SortCriteriums = addCommand("MenuItem_SortCriteriums",
                                         QStringLiteral("Sortierkriterien..."), {});
    MenuItem_ShowInfo = addCommand("MenuItem_ShowInfo", QStringLiteral("Informationen anzeigen"),
                                   QStringLiteral("Informationen zum markierten Eintrag "
                                                  "anzeigen/verbergen"));
    MenuItem_ShowInfo->setCheckable(true);
    MenuItem_ShowInfo->setChecked(true);
    Editierfelder1 = addCommand("Editierfelder1", QStringLiteral("Editierfelder..."), {});

    MenuItem_Templates = addCommand("MenuItem_Templates", QStringLiteral("Vorlagen (HTML, CSS)"),
                                    {});
    MenuItem_LXDTemplates = addCommand("MenuItem_LXDTemplates", QStringLiteral("Standard-Vorlage"),
                                       QStringLiteral("Standard-Datenbank-Vorlage auswählen"));
    MenuItem_OpenLast = addCommand("MenuItem_OpenLast",
                                   QStringLiteral("Letzte Datenbank beim Start laden"),
                                   QStringLiteral("Automatisch beim Starten des Programms die "
                                                  "zuletzt geöffnete Datei laden"));
    MenuItem_OpenLast->setCheckable(true);
    MenuItem_OpenLast->setChecked(true);
    MenuItem_Encryption = addCommand("MenuItem_Encryption", QStringLiteral("Verschlüsselung"),
                                     QStringLiteral("Verschlüsselung aktivieren oder deaktivieren "
                                                    "und Passwort festlegen"));
    MenuItem_BalloonHelp = addCommand("MenuItem_BalloonHelp", QStringLiteral("Ballon-Hilfe..."),
                                      {});
    MenuItem_Info = addCommand("MenuItem_Info", QStringLiteral("Info"),
                               QStringLiteral("Programminformationen"));

    ToolButton_NewKey = addCommand("ToolButton_NewKey", QStringLiteral("Neuer Schlüssel"),
                                   QStringLiteral("Neuen Schlüssel erstellen"));
    ToolButton_NewKey->setIcon(imageListIcon(ImgKey));
    ToolButton_NewItem = addCommand("ToolButton_NewItem", QStringLiteral("Neuer Eintrag"),
                                    QStringLiteral("Neuen Eintrag erstellen"));
    ToolButton_NewItem->setIcon(imageListIcon(ImgItem));
    ToolButton_DelItem = addCommand("ToolButton_DelItem", QStringLiteral("Eintrag löschen"),
                                    QStringLiteral("Eintrag löschen"));
    ToolButton_DelItem->setIcon(imageListIcon(ImgDelete));
    ToolButton_NewWindow = addCommand("ToolButton_NewWindow",
                                      QStringLiteral("Eintrag in eigenem Fenster"),
                                      QStringLiteral("Eintrag in eigenem Fenster anzeigen"));
    ToolButton_NewWindow->setIcon(imageListIcon(ImgNewWindow));
    ToolButton_Tray = addCommand("ToolButton_Tray", QStringLiteral("Ablagemappe"),
                                 QStringLiteral("Ablagemappe anzeigen/verbergen"));
    ToolButton_Tray->setIcon(imageListIcon(ImgTray));
    ToolButton_HideMainWindow = addCommand("ToolButton_HideMainWindow",
                                           QStringLiteral("Hauptfenster verbergen"),
                                           QStringLiteral("Hauptfenster verbergen (F3)"));
    ToolButton_HideMainWindow->setIcon(imageListIcon(ImgHideMainWindow));

    // Disabled at start: they need a selection or an open item window.
    for (QAction *a : {ToolButton_DelItem, ToolButton_NewWindow, MenuItem_CopyText,
                       MenuItem_CopyCode, ToolButton_HideMainWindow})
        a->setEnabled(false);
    // Their windows are not part of the program yet.
    for (QAction *a : {MenuItem_ExportBrowserContent, MenuItem_ExportDatabase, MenuItem_Import,
                       MenuItem_IncludedFiles, MenuItem_Search, MenuItem_CopyText,
                       MenuItem_CopyCode, MenuItem_SortCriteriums, Editierfelder1,
                       MenuItem_Templates, MenuItem_BalloonHelp, MenuItem_Info,
                       ToolButton_NewWindow, ToolButton_Tray, ToolButton_HideMainWindow}) {
        m_unavailable.insert(a);
        a->setEnabled(false);
    }
}

void TQZS_LXD_Form::makeAvailable(QAction *command)
{
    m_unavailable.remove(command);
}

void TQZS_LXD_Form::setCommandEnabled(QAction *command, bool enabled)
{
    command->setEnabled(enabled && !m_unavailable.contains(command));
}

void TQZS_LXD_Form::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    const auto menu = [bar](const char *name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    QMenu *file = menu("Datei1", QStringLiteral("&Datei"));
    file->addActions({MenuItem_New, MenuItem_Open, MenuItem_Save, MenuItem_SaveAs,
                      MenuItem_SaveAsTemplate});
    file->addSeparator();
    file->addActions({MenuItem_ExportBrowserContent, MenuItem_ExportDatabase});
    file->addSeparator();
    file->addAction(MenuItem_Import);
    file->addSeparator();
    file->addAction(MenuItem_Exit);

    QMenu *edit = menu("Bearbeiten1", QStringLiteral("Bearbeiten"));
    edit->addActions({MenuItem_IncludedFiles, MenuItem_Search});
    edit->addSeparator();
    edit->addActions({MenuItem_CopyText, MenuItem_CopyCode});

    Ansicht1 = menu("Ansicht1", QStringLiteral("Ansicht"));
    Ansicht1->addActions({MenuItem_SortCriteriums, MenuItem_ShowInfo, Editierfelder1});

    QMenu *options = menu("Optionen1", QStringLiteral("Optionen"));
    options->addActions({MenuItem_Templates, MenuItem_LXDTemplates, MenuItem_OpenLast});
    options->addSeparator();
    options->addAction(MenuItem_Encryption);

    QMenu *help = menu("Hilfe1", QStringLiteral("?"));
    help->addAction(MenuItem_BalloonHelp);
    help->addSeparator();
    help->addAction(MenuItem_Info);
}

void TQZS_LXD_Form::createToolBar()
{
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, ToolBar);
    const auto button = [this](QAction *action, const char *name) {
        ToolBar->addAction(action);
        ToolBar->widgetForAction(action)->setObjectName(QLatin1String(name));
    };
    button(MenuItem_New, "ToolButton_New");
    button(MenuItem_Open, "ToolButton_Open");
    button(MenuItem_Save, "ToolButton_Save");
    ToolBar->addSeparator();
    button(ToolButton_NewKey, "ToolButton_NewKey");
    button(ToolButton_NewItem, "ToolButton_NewItem");
    button(ToolButton_DelItem, "ToolButton_DelItem");
    button(ToolButton_NewWindow, "ToolButton_NewWindow");
    button(MenuItem_CopyText, "ToolButton_CopyText");
    button(MenuItem_CopyCode, "ToolButton_CopyCode");
    ToolBar->addSeparator();
    button(MenuItem_Search, "ToolButton_Search");
    ToolBar->addSeparator();
    button(ToolButton_Tray, "ToolButton_Tray");
    ToolBar->addSeparator();
    button(ToolButton_HideMainWindow, "ToolButton_HideMainWindow");
}

void TQZS_LXD_Form::createCentralArea()
{
    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);

    TreeView_Items = new TreeView(Splitter);
    TreeView_Items->setObjectName(QStringLiteral("TreeView_Items"));
    m_model = new TreeModel(m_db, this);
    TreeView_Items->setModel(m_model);

    Panel1 = new QWidget(Splitter);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    WebBrowser = new BrowserView(Panel1);
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    // A file dropped on the page opens as a database, not inside the display.
    WebBrowser->setAcceptDrops(false);
    layout->addWidget(WebBrowser, 1);
    PaintBox_Info = new InfoArea(Panel1);
    layout->addWidget(PaintBox_Info);

    Splitter->addWidget(TreeView_Items);
    Splitter->addWidget(Panel1);
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    Splitter->setSizes({280, 371});
    setCentralWidget(Splitter);
}

void TQZS_LXD_Form::createTreeMenu()
{
    PopupMenu_Items = new QMenu(this);
    PopupMenu_Items->setObjectName(QStringLiteral("PopupMenu_Items"));
    const auto entry = [this](const char *name, const QString &caption) {
        QAction *a = addCommand(name, caption, {});
        PopupMenu_Items->addAction(a);
        return a;
    };
    MenuItem_NewTopKey = entry("MenuItem_NewTopKey",
                               QStringLiteral("Neuer Schlüssel auf der höchsten Ebene"));
    MenuItem_NewKey = entry("MenuItem_NewKey", QStringLiteral("Neuer Schlüssel auf dieser Ebene"));
    MenuItem_NewSubKey = entry("MenuItem_NewSubKey",
                               QStringLiteral("Neuer untergeordneter Schlüssel"));
    PopupMenu_Items->addSeparator()->setObjectName(QStringLiteral("N1"));
    MenuItem_NewTopItem = entry("MenuItem_NewTopItem",
                                QStringLiteral("Neuer Eintrag auf der höchsten Ebene"));
    MenuItem_NewItem = entry("MenuItem_NewItem", QStringLiteral("Neuer Eintrag auf dieser Ebene"));
    MenuItem_NewSubItem = entry("MenuItem_NewSubItem",
                                QStringLiteral("Neuer untergeordneter Eintrag"));
    PopupMenu_Items->addSeparator()->setObjectName(QStringLiteral("N2"));
    MenuItem_RenameItem = entry("MenuItem_RenameItem", QStringLiteral("Eintrag umbenennen"));
    MenuItem_DelItem = entry("MenuItem_DelItem", QStringLiteral("Eintrag löschen"));
    MenuItem_NewTopKey->setIcon(imageListIcon(ImgKey));
    MenuItem_NewKey->setIcon(imageListIcon(ImgKey));
    MenuItem_NewSubKey->setIcon(imageListIcon(ImgKey));
    MenuItem_NewTopItem->setIcon(imageListIcon(ImgItem));
    MenuItem_NewItem->setIcon(imageListIcon(ImgItem));
    MenuItem_NewSubItem->setIcon(imageListIcon(ImgItem));
    MenuItem_DelItem->setIcon(imageListIcon(ImgDelete));
}

void TQZS_LXD_Form::connectCommands()
{
    connect(MenuItem_New, &QAction::triggered, this, &TQZS_LXD_Form::MenuItem_NewClick);
    connect(MenuItem_Open, &QAction::triggered, this, &TQZS_LXD_Form::MenuItem_OpenClick);
    connect(MenuItem_Save, &QAction::triggered, this, &TQZS_LXD_Form::MenuItem_SaveClick);
    connect(MenuItem_SaveAs, &QAction::triggered, this, &TQZS_LXD_Form::MenuItem_SaveAsClick);
    connect(MenuItem_SaveAsTemplate, &QAction::triggered, this,
            &TQZS_LXD_Form::MenuItem_SaveAsTemplateClick);
    connect(MenuItem_Exit, &QAction::triggered, this, &QWidget::close);
    connect(MenuItem_LXDTemplates, &QAction::triggered, this,
            &TQZS_LXD_Form::MenuItem_LXDTemplatesClick);
    connect(MenuItem_Encryption, &QAction::triggered, this,
            &TQZS_LXD_Form::MenuItem_EncryptionClick);
    connect(MenuItem_ShowInfo, &QAction::toggled, PaintBox_Info, &QWidget::setVisible);
    connect(Ansicht1, &QMenu::aboutToShow, this,
            [this] { MenuItem_ShowInfo->setChecked(!PaintBox_Info->isHidden()); });

    connect(ToolButton_NewKey, &QAction::triggered, this, [this] { ToolButton_NewItemClick(false); });
    connect(ToolButton_NewItem, &QAction::triggered, this, [this] { ToolButton_NewItemClick(true); });
    connect(ToolButton_DelItem, &QAction::triggered, this, &TQZS_LXD_Form::DeleteSelected);

    connect(MenuItem_NewTopKey, &QAction::triggered, this, [this] { NewKey(nullptr); });
    connect(MenuItem_NewTopItem, &QAction::triggered, this, [this] { NewItem(nullptr); });
    connect(MenuItem_NewKey, &QAction::triggered, this,
            [this] { NewKey(m_popupNode ? m_popupNode->parent() : nullptr); });
    connect(MenuItem_NewItem, &QAction::triggered, this,
            [this] { NewItem(m_popupNode ? m_popupNode->parent() : nullptr); });
    connect(MenuItem_NewSubKey, &QAction::triggered, this, [this] { NewKey(m_popupNode); });
    connect(MenuItem_NewSubItem, &QAction::triggered, this, [this] { NewItem(m_popupNode); });
    connect(MenuItem_RenameItem, &QAction::triggered, this,
            &TQZS_LXD_Form::MenuItem_RenameItemClick);
    connect(MenuItem_DelItem, &QAction::triggered, this, &TQZS_LXD_Form::DeleteSelected);
}

} // namespace lexora
