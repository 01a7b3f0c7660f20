// The main window's first show (settings, the last or the given database, the standard template
// database) and its close (the question about unsaved changes, the settings).
#include "mainwindow/main_window.h"

#include "database/file_format.h"
#include "dialogs/progress_window.h"
#include "mainwindow/info_area.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "support/error.h"
#include "support/user_prompt.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QSplitter>

namespace lexora {

namespace {

constexpr int kMinWindowWidth = 200;
constexpr int kMinWindowHeight = 150;

} // namespace

void TQZS_LXD_Form::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstShowDone)
        return;
    m_firstShowDone = true;
    firstShow();
}

void TQZS_LXD_Form::firstShow()
{
    LoadSettings();
    loadStandardTemplate();
    UpdateCaption();
    ShowSelected();
}

void TQZS_LXD_Form::LoadSettings()
{
    Settings current = m_settings;
    current.F1_Info = !PaintBox_Info->isHidden();
    current.F1_Width = width();
    current.F1_Height = height();
    current.OpenLast = MenuItem_OpenLast->isChecked();
    m_settings = loadSettings(settingsFile(), current);

    PaintBox_Info->setVisible(m_settings.F1_Info);
    MenuItem_ShowInfo->setChecked(m_settings.F1_Info);
    applyWindowSettings();
    MenuItem_OpenLast->setChecked(m_settings.OpenLast);
    openLastFile();
}

void TQZS_LXD_Form::applyWindowSettings()
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

void TQZS_LXD_Form::openLastFile()
{
    if (!m_startFile.isEmpty()) {
        if (QFileInfo(m_startFile).isFile()) {
            if (loadFile(m_startFile) == LoadResult::Damaged)
                changeDatabase([this] { clearDatabase(); });
        } else {
            m_prompt.message(UserPrompt::Icon::Error, QStringLiteral("Lexora"),
                             QStringLiteral("Die Datei „%1“ wurde nicht gefunden.")
                                 .arg(QDir::toNativeSeparators(m_startFile)));
        }
        return;
    }
    const QString last = m_settings.LastFile;
    if (MenuItem_OpenLast->isChecked() && !last.isEmpty() && QFileInfo(last).isFile()) {
        // What a damaged file let read is not kept: the standard template database comes into an
        // empty database, as after a refused file.
        if (loadFile(last) == LoadResult::Damaged)
            changeDatabase([this] { clearDatabase(); });
        UpdateCaption();
    } else {
        m_db.CurrentFileName.clear();
    }
}

void TQZS_LXD_Form::loadStandardTemplate()
{
    if (m_settings.DefTemplate.isEmpty() || !m_db.CurrentFileName.isEmpty())
        return;
    const QString file = m_templatesFolder + m_settings.DefTemplate;
    if (!QFileInfo(file).isFile())
        return;
    try {
        changeDatabase([&] { LoadDatabase(m_db, file, lpAll, m_prompt, *m_form10); });
    } catch (const Error &e) {
        showError(e);
    }
}

void TQZS_LXD_Form::SaveSettings()
{
    m_settings.F1_Info = !PaintBox_Info->isHidden();
    m_settings.F1_LeftArea = TreeView_Items->width();
    m_settings.F1_Width = width();
    m_settings.F1_Height = height();
    m_settings.F1_Maximized = isMaximized();
    m_settings.OpenLast = MenuItem_OpenLast->isChecked();
    m_settings.LastFile = m_db.CurrentFileName;
    try {
        saveSettings(settingsFile(), m_settings);
    } catch (const Error &e) {
        showError(e);
    }
}

void TQZS_LXD_Form::closeEvent(QCloseEvent *event)
{
    if (!ConfirmSaveChanges()) {
        event->ignore();
        return;
    }
    SaveSettings();
    event->accept();
}

} // namespace lexora
