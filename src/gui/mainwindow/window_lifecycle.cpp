// The main window's first show (its settings; then the database to start with comes), its close
// (the question about unsaved changes, the settings), its caption, dropped files, and how it
// follows the document.
#include "mainwindow/main_window.h"

#include "browser/page_changes.h"
#include "document/document.h"
#include "mainwindow/command_table.h"
#include "mainwindow/info_area.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "support/error.h"
#include "support/user_prompt.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

#include <memory>

namespace lexora {

namespace {

constexpr int kMinWindowWidth = 200;
constexpr int kMinWindowHeight = 150;

} // namespace

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstShowDone)
        return;
    m_firstShowDone = true;
    LoadSettings();
    Q_EMIT firstShown();
    UpdateCaption();
    ShowSelected();
}

void MainWindow::followDocument()
{
    // While the whole database is replaced the display stands still and forgets every node.
    connect(&m_document, &Document::databaseAboutToBeReplaced, this, [this] {
        m_displaySuspended = true;
        m_lastChangeNode = nullptr;
        m_popupNode = nullptr;
    });
    connect(&m_document, &Document::databaseReplaced, this, [this] {
        m_displaySuspended = false;
        ShowSelected();
    });
    keepTreeStateAcrossMerges();
    connect(&m_document, &Document::nodeAboutToBeRemoved, this, &MainWindow::forgetNode);
    connect(&m_document, &Document::fileNameChanged, this, &MainWindow::UpdateCaption);
    connect(&m_document, &Document::undoStateChanged, this, &MainWindow::showUndoSteps);
    // After the tree model, so that a merge has restored the selection when the page follows.
    auto *pageChanges = new PageChanges(m_document, [this] { return selectedNode(); }, this);
    connect(pageChanges, &PageChanges::pageChanged, this, [this] {
        if (!m_displaySuspended)
            ShowSelected();
    });
}

void MainWindow::keepTreeStateAcrossMerges()
{
    struct TreeState {
        QList<Node *> expanded; // parents before their children
        QList<Node *> selected;
        Node *current = nullptr;
    };
    auto state = std::make_shared<TreeState>();
    // The selection goes and comes back around a merge; the page follows the merge once, after
    // it, and not the selection's coming and going.
    connect(m_model, &TreeModel::mergeAboutToStart, this, [this, state] {
        m_displaySuspended = true;
        *state = {};
        QList<QModelIndex> open{QModelIndex()};
        while (!open.isEmpty()) {
            const QModelIndex parent = open.takeFirst();
            for (int row = 0; row < m_model->rowCount(parent); ++row) {
                const QModelIndex index = m_model->index(row, 0, parent);
                if (TreeView_Items->isExpanded(index)) {
                    state->expanded.append(m_model->nodeOf(index));
                    open.append(index);
                }
            }
        }
        state->selected = selectedNodes();
        state->current = m_model->nodeOf(TreeView_Items->currentIndex());
    });
    // Undoing an import takes away the nodes it brought, which may have been open or selected.
    connect(&m_document, &Document::nodeAboutToBeRemoved, this, [state](Node *node) {
        state->expanded.removeAll(node);
        state->selected.removeAll(node);
        if (state->current == node)
            state->current = nullptr;
    });
    connect(m_model, &TreeModel::mergeDone, this, [this, state] {
        for (const Node *node : std::as_const(state->expanded))
            TreeView_Items->setExpanded(m_model->indexOf(node), true);
        QItemSelectionModel *selection = TreeView_Items->selectionModel();
        if (state->current)
            selection->setCurrentIndex(m_model->indexOf(state->current),
                                       QItemSelectionModel::NoUpdate);
        for (const Node *node : std::as_const(state->selected))
            selection->select(m_model->indexOf(node), QItemSelectionModel::Select);
        *state = {};
        m_displaySuspended = false;
    });
}

void MainWindow::showUndoSteps()
{
    // The caption of the table followed by the step's name; without a step, as the table has it.
    const auto show = [this](const char *name, const QString &step) {
        QAction *action = command(name);
        const Command &entry = mainWindowCommand(name);
        const QString caption = QString::fromUtf16(entry.caption);
        action->setEnabled(!step.isEmpty());
        if (step.isEmpty()) {
            action->setText(caption);
            action->setToolTip(QString::fromUtf16(entry.hint));
            return;
        }
        QString shown = step;
        action->setText(caption + QStringLiteral(": ") + shown.replace(QLatin1Char('&'), QLatin1String("&&")));
        action->setToolTip(QString(caption).remove(QLatin1Char('&')) + QStringLiteral(": ") + step);
    };
    show("MenuItem_Undo", m_document.undoName());
    show("MenuItem_Redo", m_document.redoName());
}

void MainWindow::UpdateCaption()
{
    const QString title = QStringLiteral("Lexora");
    const QString &file = m_document.currentFileName();
    setWindowTitle(file.isEmpty() ? title : title + QStringLiteral(" - [") + file + QLatin1Char(']'));
}

void MainWindow::LoadSettings()
{
    Settings current = m_settings;
    current.F1_Info = !PaintBox_Info->isHidden();
    current.F1_Width = width();
    current.F1_Height = height();
    current.OpenLast = command("MenuItem_OpenLast")->isChecked();
    m_settings = loadSettings(m_settingsFile, current);

    PaintBox_Info->setVisible(m_settings.F1_Info);
    command("MenuItem_ShowInfo")->setChecked(m_settings.F1_Info);
    applyWindowSettings();
    command("MenuItem_OpenLast")->setChecked(m_settings.OpenLast);
}

void MainWindow::applyWindowSettings()
{
    const QRect screenArea = screen()->availableGeometry();
    if (m_settings.F1_Maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        // A size that would make the window unusable or larger than the screen is brought
        // within bounds.
        resize(std::clamp(m_settings.F1_Width, kMinWindowWidth,
                          std::max(kMinWindowWidth, screenArea.width())),
               std::clamp(m_settings.F1_Height, kMinWindowHeight,
                          std::max(kMinWindowHeight, screenArea.height())));
        const QRect screenRect = screen()->geometry();
        move(screenRect.left() + (screenRect.width() - width()) / 2,
             screenRect.top() + (screenRect.height() - height()) / 2);
    }
    const int treeWidth = std::max(0, m_settings.F1_LeftArea);
    Splitter->setSizes({treeWidth, std::max(1, width() - treeWidth)});
}

void MainWindow::SaveSettings()
{
    // Before the first show nothing was read: what the window holds would overwrite the user's
    // settings with the defaults (an end the system asked for may come that early).
    if (!m_firstShowDone)
        return;
    m_settings.F1_Info = !PaintBox_Info->isHidden();
    m_settings.F1_LeftArea = TreeView_Items->width();
    m_settings.F1_Width = width();
    m_settings.F1_Height = height();
    m_settings.F1_Maximized = isMaximized();
    m_settings.OpenLast = command("MenuItem_OpenLast")->isChecked();
    m_settings.LastFile = m_document.currentFileName();
    try {
        saveSettings(m_settingsFile, m_settings);
    } catch (const Error &e) {
        m_prompt.message(UserPrompt::Icon::Error, QStringLiteral("Lexora"), e.message());
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_mayClose && !m_mayClose()) {
        event->ignore();
        return;
    }
    SaveSettings();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    const QList<QUrl> urls = event->mimeData()->urls();
    // Opened once the drop has ended, so that the desktop's file manager is not kept waiting
    // while questions are asked.
    QTimer::singleShot(0, this, [this, urls] { FilesDropped(urls); });
}

void MainWindow::FilesDropped(const QList<QUrl> &urls)
{
    // Exactly one existing file opens; any other drop is ignored.
    if (urls.size() != 1)
        return;
    const QString file = urls.first().toLocalFile();
    if (!file.isEmpty() && QFileInfo(file).isFile())
        Q_EMIT databaseFileDropped(file);
}

} // namespace lexora
