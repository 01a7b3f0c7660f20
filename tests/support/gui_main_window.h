#pragma once

// Driving the real main window in a temporary home folder, with scripted questions and file
// dialogs.
#include "mainwindow/main_window.h"
#include "support/file_dialogs.h"
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
    std::optional<QString> saveDatabase(QWidget *, const QString &folder) override;

    QQueue<std::optional<QString>> opens;
    QQueue<std::optional<QString>> saves;
    QStringList saveFolders; // the folder each save dialog was asked to start in
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the main window (its first show loads settings and databases).
    TQZS_LXD_Form &start();
    // Closes the window without the question about unsaved changes and destroys it.
    void finish();

    Database &db() { return window->database(); }
    // A node added through the tree's model, as a loaded database would have it.
    Node *addKey(Node *parent, const char *title);
    Node *addItem(Node *parent, const char *title, const char *code = "");
    void select(const QList<Node *> &nodes);

    QTemporaryDir homeDir;
    QString home; // ends with '/'
    ScriptedPrompt prompt;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<TQZS_LXD_Form> window;
};

// Runs a script in the page and waits for its result.
QVariant runJavaScript(QWebEnginePage *page, const QString &script);

// The titles of the children of parent (the top level for nullptr), in order.
QStringList childTitles(Database &db, Node *parent);

} // namespace lexora::test
