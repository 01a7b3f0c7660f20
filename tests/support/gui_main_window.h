#pragma once

// Driving the real program (the window manager with its document and main window) in a
// temporary home folder, with scripted questions and file dialogs.
#include "app/window_manager.h"
#include "document/document.h"
#include "mainwindow/main_window.h"
#include "support/file_dialogs.h"
#include "support/scoped_env.h"
#include "support/scripted_prompt.h"

#include <QQueue>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

class QWebEnginePage;

namespace lexora::test {

// File dialogs whose answers the test queues; an unexpected dialog fails the test.
class ScriptedFileDialogs : public FileDialogs {
public:
    std::optional<QString> openDatabase(QWidget *) override;
    std::optional<QStringList> openDatabases(QWidget *) override;
    std::optional<QString> saveDatabase(QWidget *, const QString &folder) override;
    QStringList openIncludedFiles(QWidget *) override;
    std::optional<QString> saveHtml(QWidget *, Overwrite overwrite) override;

    QQueue<std::optional<QString>> opens;
    QQueue<std::optional<QStringList>> openMany; // the open dialog with several files
    QQueue<std::optional<QString>> saves;
    QStringList saveFolders; // the folder each save dialog was asked to start in
    QQueue<QStringList> includedFiles;
    QQueue<std::optional<QString>> htmlSaves;
    QList<Overwrite> htmlOverwrites; // whether each HTML save dialog asked before overwriting

    bool allAnswersUsed() const
    {
        return opens.isEmpty() && openMany.isEmpty() && saves.isEmpty() && htmlSaves.isEmpty()
               && includedFiles.isEmpty();
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the windows and shows the main window (its first show loads settings and the
    // database to start with: startFile, else the last one or the standard template database).
    MainWindow &start(const QString &startFile = {});
    // Closes the window without the question about unsaved changes and destroys the windows.
    void finish();

    Document &doc() { return app->document(); }
    const Database &db() { return app->document().database(); }
    // A node added through the document, as a loaded database would have it: the modified flag
    // stays as it was.
    Node *addKey(Node *parent, const char *title);
    Node *addItem(Node *parent, const char *title, const char *code = "");
    void select(const QList<const Node *> &nodes);

    QTemporaryDir homeDir;
    QString home; // ends with '/'
    // Recovery copies and backups go into the home folder, never into the user's.
    std::optional<ScopedEnv> stateHome;
    std::optional<ScopedEnv> dataHome;
    ScriptedPrompt prompt;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<WindowManager> app;
    MainWindow *window = nullptr; // app's main window
};

// Runs a script in the page and waits for its result.
QVariant runJavaScript(QWebEnginePage *page, const QString &script);

// The titles of the children of parent (the top level for nullptr), in order.
QStringList childTitles(const Database &db, const Node *parent);

} // namespace lexora::test
