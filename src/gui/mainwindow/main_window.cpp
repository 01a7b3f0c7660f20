#include "mainwindow/main_window.h"

#include "browser/browser_view.h"
#include "mainwindow/icons.h"

#include <QAction>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace lexora::gui {

TQZS_LXD_Form::TQZS_LXD_Form(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TQZS_LXD_Form"));
    setWindowTitle(QStringLiteral("Lexora"));
    setWindowIcon(applicationIcon());
    createCommands();
    createMenus();
    createToolBar();
    createCentralArea();
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(status);
    resize(651, 469);
}

TQZS_LXD_Form::~TQZS_LXD_Form() = default;

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

    auto *tree = new QTreeView(Splitter);
    tree->setObjectName(QStringLiteral("TreeView_Items"));

    Panel1 = new QWidget(Splitter);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    WebBrowser = new BrowserView(Panel1);
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    layout->addWidget(WebBrowser, 1);

    Splitter->addWidget(tree);
    Splitter->addWidget(Panel1);
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    Splitter->setSizes({280, 371});
    setCentralWidget(Splitter);
}

} // namespace lexora::gui
