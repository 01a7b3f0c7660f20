#include "mainwindow/main_window.h"

#include "browser/browser_view.h"
#include "document/document.h"
#include "mainwindow/command_table.h"
#include "mainwindow/icons.h"
#include "mainwindow/info_area.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"

#include <QAction>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace lexora {

MainWindow::MainWindow(Document &document, Settings &settings, UserPrompt &prompt,
                             WindowRequests &requests, QString settingsFile, QWidget *parent)
    : QMainWindow(parent),
      m_document(document),
      m_settings(settings),
      m_prompt(prompt),
      m_requests(requests),
      m_settingsFile(std::move(settingsFile))
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
    connectCommands();
    connectTree();
    followDocument();
}

MainWindow::~MainWindow()
{
    // The view must not read the tree while the database goes.
    TreeView_Items->setModel(nullptr);
}

QAction *MainWindow::command(const char *name) const
{
    return findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

void MainWindow::createCommands()
{
    for (const Command &c : mainWindowCommands()) {
        const QString caption = QString::fromUtf16(c.caption);
        const QString hint = c.hint ? QString::fromUtf16(c.hint) : QString();
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(c.name));
        action->setStatusTip(hint);
        action->setToolTip(hint.isEmpty() ? QString(caption).remove(QLatin1Char('&')) : hint);
        if (c.shortcut.key() != Qt::Key_unknown)
            action->setShortcut(QKeySequence(c.shortcut));
        if (c.icon >= 0)
            action->setIcon(imageListIcon(ImageIndex(c.icon)));
        if (c.flags & Command::Checkable) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (c.flags & Command::DisabledAtStart)
            action->setEnabled(false);
    }
    // Both keys that desktops use for redo.
    command("MenuItem_Redo")->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
}

void MainWindow::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    // nullptr stands for a separator line.
    const auto menu = [this, bar](const char *name, const QString &caption,
                                  std::initializer_list<const char *> entries) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        for (const char *entry : entries) {
            if (entry)
                m->addAction(command(entry));
            else
                m->addSeparator();
        }
        return m;
    };
    menu("Datei1", QStringLiteral("&Datei"),
         {"MenuItem_New", "MenuItem_Open", "MenuItem_Save", "MenuItem_SaveAs",
          "MenuItem_SaveAsTemplate", nullptr, "MenuItem_ExportBrowserContent",
          "MenuItem_ExportDatabase", nullptr, "MenuItem_Import", nullptr, "MenuItem_Exit"});
    menu("Bearbeiten1", QStringLiteral("Bearbeiten"),
         {"MenuItem_Undo", "MenuItem_Redo", nullptr, "MenuItem_IncludedFiles", "MenuItem_Search", nullptr, "MenuItem_CopyText",
          "MenuItem_CopyCode"});
    Ansicht1 = menu("Ansicht1", QStringLiteral("Ansicht"),
                    {"MenuItem_SortCriteriums", "MenuItem_ShowInfo", "Editierfelder1"});
    menu("Optionen1", QStringLiteral("Optionen"),
         {"MenuItem_Templates", "MenuItem_LXDTemplates", "MenuItem_OpenLast", nullptr,
          "MenuItem_Encryption"});
    menu("Hilfe1", QStringLiteral("?"), {"MenuItem_BalloonHelp", nullptr, "MenuItem_Info"});
}

void MainWindow::createToolBar()
{
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, ToolBar);
    // Button name and command; an empty pair is a gap.
    const std::pair<const char *, const char *> buttons[] = {
        {"ToolButton_New", "MenuItem_New"}, {"ToolButton_Open", "MenuItem_Open"},
        {"ToolButton_Save", "MenuItem_Save"}, {},
        {"ToolButton_Undo", "MenuItem_Undo"}, {"ToolButton_Redo", "MenuItem_Redo"}, {},
        {"ToolButton_NewKey", "ToolButton_NewKey"}, {"ToolButton_NewItem", "ToolButton_NewItem"},
        {"ToolButton_DelItem", "ToolButton_DelItem"}, {"ToolButton_NewWindow", "ToolButton_NewWindow"},
        {"ToolButton_CopyText", "MenuItem_CopyText"}, {"ToolButton_CopyCode", "MenuItem_CopyCode"}, {},
        {"ToolButton_Search", "MenuItem_Search"}, {},
        {"ToolButton_Tray", "ToolButton_Tray"}, {},
        {"ToolButton_HideMainWindow", "ToolButton_HideMainWindow"},
    };
    for (const auto &[name, commandName] : buttons) {
        if (!name) {
            ToolBar->addSeparator();
            continue;
        }
        QAction *action = command(commandName);
        ToolBar->addAction(action);
        ToolBar->widgetForAction(action)->setObjectName(QLatin1String(name));
    }
}

void MainWindow::createCentralArea()
{
    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);

    TreeView_Items = new TreeView(Splitter);
    TreeView_Items->setObjectName(QStringLiteral("TreeView_Items"));
    m_model = new TreeModel(m_document, this);
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

void MainWindow::createTreeMenu()
{
    PopupMenu_Items = new QMenu(this);
    PopupMenu_Items->setObjectName(QStringLiteral("PopupMenu_Items"));
    PopupMenu_Items->addActions({command("MenuItem_NewTopKey"), command("MenuItem_NewKey"),
                                 command("MenuItem_NewSubKey")});
    PopupMenu_Items->addSeparator()->setObjectName(QStringLiteral("N1"));
    PopupMenu_Items->addActions({command("MenuItem_NewTopItem"), command("MenuItem_NewItem"),
                                 command("MenuItem_NewSubItem")});
    PopupMenu_Items->addSeparator()->setObjectName(QStringLiteral("N2"));
    PopupMenu_Items->addActions({command("MenuItem_RenameItem"), command("MenuItem_DelItem")});
}

void MainWindow::connectCommands()
{
    const auto parentOfPopupNode = [this] { return m_popupNode ? m_popupNode->parent() : nullptr; };
    const std::pair<const char *, std::function<void()>> handlers[] = {
        {"MenuItem_Exit", [this] { close(); }},
        {"ToolButton_NewKey", [this] { ToolButton_NewItemClick(false); }},
        {"ToolButton_NewItem", [this] { ToolButton_NewItemClick(true); }},
        {"ToolButton_DelItem", [this] { DeleteSelected(); }},
        {"MenuItem_NewTopKey", [this] { NewKey(nullptr); }},
        {"MenuItem_NewTopItem", [this] { NewItem(nullptr); }},
        {"MenuItem_NewKey", [=, this] { NewKey(parentOfPopupNode()); }},
        {"MenuItem_NewItem", [=, this] { NewItem(parentOfPopupNode()); }},
        {"MenuItem_NewSubKey", [this] { NewKey(m_popupNode); }},
        {"MenuItem_NewSubItem", [this] { NewItem(m_popupNode); }},
        {"MenuItem_RenameItem", [this] { MenuItem_RenameItemClick(); }},
        {"MenuItem_DelItem", [this] { DeleteSelected(); }},
        {"MenuItem_CopyText", [this] { MenuItem_CopyTextClick(); }},
        {"MenuItem_CopyCode", [this] { MenuItem_CopyCodeClick(); }},
        {"MenuItem_Undo", [this] { m_document.undo(); }},
        {"MenuItem_Redo", [this] { m_document.redo(); }},
    };
    for (const auto &[name, handler] : handlers)
        connect(command(name), &QAction::triggered, this, handler);
    connect(command("MenuItem_ShowInfo"), &QAction::toggled, PaintBox_Info, &QWidget::setVisible);
    connect(Ansicht1, &QMenu::aboutToShow, this,
            [this] { command("MenuItem_ShowInfo")->setChecked(!PaintBox_Info->isHidden()); });
}

} // namespace lexora
