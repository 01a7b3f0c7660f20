#include "support/gui_main_window.h"

#include "database/win1252.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"

#include <QAbstractItemModelTester>
#include <QTest>
#include <QWebEnginePage>

namespace lexora::test {

std::optional<QString> ScriptedFileDialogs::openDatabase(QWidget *)
{
    if (opens.isEmpty()) {
        ADD_FAILURE() << "unexpected open dialog";
        return std::nullopt;
    }
    return opens.dequeue();
}

std::optional<QStringList> ScriptedFileDialogs::openDatabases(QWidget *)
{
    if (openMany.isEmpty()) {
        ADD_FAILURE() << "unexpected open dialog for several files";
        return std::nullopt;
    }
    return openMany.dequeue();
}

std::optional<QString> ScriptedFileDialogs::saveDatabase(QWidget *, const QString &folder)
{
    saveFolders.append(folder);
    if (saves.isEmpty()) {
        ADD_FAILURE() << "unexpected save dialog";
        return std::nullopt;
    }
    return saves.dequeue();
}

QStringList ScriptedFileDialogs::openIncludedFiles(QWidget *)
{
    if (includedFiles.isEmpty()) {
        ADD_FAILURE() << "unexpected dialog for included files";
        return {};
    }
    return includedFiles.dequeue();
}

std::optional<QString> ScriptedFileDialogs::saveHtml(QWidget *, Overwrite overwrite)
{
    htmlOverwrites.append(overwrite);
    if (htmlSaves.isEmpty()) {
        ADD_FAILURE() << "unexpected save dialog for an HTML file";
        return std::nullopt;
    }
    return htmlSaves.dequeue();
}

void MainWindowTest::SetUp()
{
    ASSERT_TRUE(homeDir.isValid());
    home = homeDir.path() + QLatin1Char('/');
    stateHome.emplace("XDG_STATE_HOME", home + QStringLiteral("state"));
    dataHome.emplace("XDG_DATA_HOME", home + QStringLiteral("data"));
}

void MainWindowTest::TearDown()
{
    finish();
    EXPECT_TRUE(prompt.allAnswersUsed());
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

MainWindow &MainWindowTest::start(const QString &startFile)
{
    app = std::make_unique<WindowManager>(home, prompt, dialogs);
    app->setStartFile(startFile);
    window = &app->mainWindow();
    // Every change of the tree's shape is checked against the model's contract as it happens.
    new QAbstractItemModelTester(window->treeModel(),
                                 QAbstractItemModelTester::FailureReportingMode::Fatal, window);
    window->show();
    return *window;
}

void MainWindowTest::finish()
{
    if (!app)
        return;
    doc().setModified(false);
    window->close();
    window = nullptr;
    app.reset();
}

namespace {

Node *addNode(Document &doc, Node *parent, const char *title, std::unique_ptr<TTipItem> item)
{
    const bool modified = doc.isModified();
    Node *node = doc.appendNode(parent, win1252::fromUnicode(QString::fromUtf8(title)), std::move(item));
    doc.setModified(modified);
    return node;
}

} // namespace

Node *MainWindowTest::addKey(Node *parent, const char *title)
{
    return addNode(doc(), parent, title, nullptr);
}

Node *MainWindowTest::addItem(Node *parent, const char *title, const char *code)
{
    auto item = std::make_unique<TTipItem>();
    item->Code = code;
    item->HTMLTemplate = db().DefaultHTMLTemplate;
    item->CSSTemplate = db().DefaultCSSTemplate;
    return addNode(doc(), parent, title, std::move(item));
}

void MainWindowTest::select(const QList<const Node *> &nodes)
{
    QItemSelectionModel *selection = window->treeView()->selectionModel();
    selection->clearSelection();
    for (const Node *node : nodes) {
        const QModelIndex index = window->treeModel()->indexOf(node);
        window->treeView()->scrollTo(index);
        selection->setCurrentIndex(index, QItemSelectionModel::Select);
    }
}

QVariant runJavaScript(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 15000)) << script.toStdString();
    return result;
}

QStringList childTitles(const Database &db, const Node *parent)
{
    QStringList titles;
    for (const Node &child : (parent ? *parent : db.topLevel()).children())
        titles.append(win1252::toUnicode(child.name()));
    return titles;
}

} // namespace lexora::test
