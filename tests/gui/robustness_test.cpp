// The real program under a long run of random user actions: menu commands, tool buttons, keys,
// clicks and drags in the tree, typing, opening and closing every window, saving and opening
// files. Nothing may crash or hang, no window may show a node the database no longer has, and
// every file saved on the way must load again with the same tree.
//
// LEXORA_ROBUST_SEED and LEXORA_ROBUST_ACTIONS choose the run; the seed is printed first, so that
// a failure can be replayed.
#include "app/item_windows.h"
#include "app/window_manager.h"
#include "codefield/code_field.h"
#include "database/open_database.h"
#include "database/win1252.h"
#include "document/document.h"
#include "itemwindow/item_window.h"
#include "mainwindow/main_window.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "search/search_results_model.h"
#include "search/search_scope_model.h"
#include "support/database_fixtures.h"
#include "support/file_dialogs.h"
#include "support/scoped_env.h"
#include "support/progress.h"
#include "support/user_prompt.h"
#include "tray/tray_model.h"
#include "tray/tray_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <iostream>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <thread>

namespace lexora::test {
namespace {

using Random = std::mt19937_64;

int pick(Random &random, int count)
{
    return int(std::uniform_int_distribution<int>(0, count - 1)(random));
}

bool chance(Random &random, int percent)
{
    return pick(random, 100) < percent;
}

// Answers every question at random; passwords are one fixed word or none.
class RandomPrompt : public UserPrompt {
public:
    explicit RandomPrompt(Random &random) : m_random(random) {}

    void message(Icon, const QString &, const QString &) override {}
    Answer question(const QString &, const QString &, Buttons buttons, Icon) override
    {
        const int answers = buttons == Buttons::YesNo ? 2 : 3;
        return Answer(pick(m_random, answers));
    }
    QByteArray password(const QString &, const QString &) override
    {
        return chance(m_random, 80) ? QByteArray("robust") : QByteArray();
    }
    std::optional<QString> input(const QString &, const QString &, const QString &preset) override
    {
        if (chance(m_random, 20))
            return std::nullopt;
        return preset + QString::number(pick(m_random, 100));
    }

private:
    Random &m_random;
};

// The prompt of the check that reads a saved file again: the password it was saved with.
class KnownPasswordPrompt : public UserPrompt {
public:
    explicit KnownPasswordPrompt(QByteArray password) : m_password(std::move(password)) {}
    void message(Icon, const QString &, const QString &text) override { messages.append(text); }
    Answer question(const QString &, const QString &, Buttons, Icon) override { return Answer::No; }
    QByteArray password(const QString &, const QString &) override { return m_password; }

    QStringList messages;

private:
    QByteArray m_password;
};

// File dialogs that answer with files in one temporary folder, or are cancelled now and then.
class TemporaryFolderDialogs : public FileDialogs {
public:
    TemporaryFolderDialogs(Random &random, const QString &folder) : m_random(random), m_folder(folder)
    {
    }

    std::optional<QString> openDatabase(QWidget *) override { return savedFile(); }
    std::optional<QStringList> openDatabases(QWidget *) override
    {
        const std::optional<QString> file = savedFile();
        return file ? std::optional<QStringList>(QStringList{*file}) : std::nullopt;
    }
    std::optional<QString> saveDatabase(QWidget *, const QString &) override
    {
        if (chance(m_random, 10))
            return std::nullopt;
        return m_folder + QStringLiteral("/db%1.lxd").arg(pick(m_random, 4));
    }
    QStringList openIncludedFiles(QWidget *) override
    {
        const QString file = m_folder + QStringLiteral("/bild%1.txt").arg(pick(m_random, 3));
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(QByteArray(pick(m_random, 2000), 'x'));
        return {file};
    }
    std::optional<QString> saveHtml(QWidget *, Overwrite) override
    {
        if (chance(m_random, 10))
            return std::nullopt;
        return m_folder + QStringLiteral("/seite%1.html").arg(pick(m_random, 2));
    }

private:
    std::optional<QString> savedFile()
    {
        const QStringList files = QDir(m_folder).entryList({QStringLiteral("*.lxd")}, QDir::Files);
        if (files.isEmpty() || chance(m_random, 10))
            return std::nullopt;
        return m_folder + QLatin1Char('/') + files[pick(m_random, int(files.size()))];
    }

    Random &m_random;
    QString m_folder;
};

// The last actions, for the report of a failure; shared with the watchdog thread.
class ActionLog {
public:
    void add(std::string action)
    {
        std::lock_guard lock(m_mutex);
        m_last.push_back(std::move(action));
        if (m_last.size() > 20)
            m_last.pop_front();
        m_started = std::chrono::steady_clock::now();
        ++m_count;
    }
    void done()
    {
        std::lock_guard lock(m_mutex);
        m_started.reset();
    }
    std::string report() const
    {
        std::lock_guard lock(m_mutex);
        std::ostringstream out;
        out << "the last actions (up to action " << m_count << "):\n";
        for (const std::string &action : m_last)
            out << "  " << action << '\n';
        return out.str();
    }
    // How long the running action has taken; zero when none runs.
    std::chrono::seconds running() const
    {
        std::lock_guard lock(m_mutex);
        if (!m_started)
            return {};
        return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now()
                                                                - *m_started);
    }

private:
    mutable std::mutex m_mutex;
    std::deque<std::string> m_last;
    std::optional<std::chrono::steady_clock::time_point> m_started;
    long m_count = 0;
};

// Ends the process with the seed and the last actions when one action takes too long.
class Watchdog {
public:
    Watchdog(const ActionLog &log, quint64 seed, std::chrono::seconds limit)
        : m_thread([this, &log, seed, limit] {
              std::unique_lock lock(m_mutex);
              while (!m_stop) {
                  m_wake.wait_for(lock, std::chrono::seconds(1));
                  if (log.running() > limit) {
                      std::cerr << "HANG: an action took longer than " << limit.count()
                                << " s; seed " << seed << '\n'
                                << log.report() << std::flush;
                      std::abort();
                  }
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread; // last: starts once the rest is ready
};

quint64 envNumber(const char *name, quint64 fallback)
{
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

// The tree as text: one line per node with its level, kind, title and code.
void describe(const Node &parent, int level, QByteArray &out)
{
    for (const Node &child : parent.children()) {
        out += QByteArray(level, ' ') + (child.isItem() ? "I " : "K ") + child.name();
        if (child.isItem())
            out += " | " + child.item()->Code;
        out += '\n';
        describe(child, level + 1, out);
    }
}

QByteArray describe(const Database &db)
{
    QByteArray out;
    describe(db.topLevel(), 0, out);
    return out;
}

QList<QWidget *> visibleWindows()
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->isWindow() && !qobject_cast<QMenu *>(widget))
            windows.append(widget);
    return windows;
}

// A visible, enabled control of kind T in any open window that also passes usable, picked at
// random; null when there is none.
template <typename T>
T *anyControl(Random &random, const std::function<bool(const T *)> &usable = {})
{
    QList<T *> controls;
    for (QWidget *window : visibleWindows())
        for (T *control : window->findChildren<T *>())
            if (control->isVisible() && control->isEnabled() && (!usable || usable(control)))
                controls.append(control);
    return controls.isEmpty() ? nullptr : controls[pick(random, int(controls.size()))];
}

class Robustness : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(homeDir.isValid());
        ASSERT_TRUE(saveDir.isValid());
        seed = envNumber("LEXORA_ROBUST_SEED", 20261210);
        actions = envNumber("LEXORA_ROBUST_ACTIONS", 1000);
        std::cout << "robustness run: LEXORA_ROBUST_SEED=" << seed
                  << " LEXORA_ROBUST_ACTIONS=" << actions << std::endl;
        random.seed(seed);
    }

    void TearDown() override
    {
        if (!app)
            return;
        app->document().setModified(false);
        app->mainWindow().close();
        app.reset();
    }

    // Modal windows are answered as they come, so that no action blocks.
    void answerModalsAtRandom()
    {
        auto *timer = new QTimer(&app->mainWindow());
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                chance(modalRandom, 30) ? dialog->accept() : dialog->reject();
            else
                modal->close();
        });
        timer->start();
    }

    MainWindow &main() { return app->mainWindow(); }
    Document &doc() { return app->document(); }

    std::vector<std::pair<std::string, std::function<void()>>> actionTable();
    void undoAndRedoEverything();
    void checkNodesShown();
    void checkSavedFile();

    QTemporaryDir homeDir;
    QTemporaryDir saveDir;
    // Recovery copies and backups stay in the run's own folder.
    const ScopedEnv stateHome{"XDG_STATE_HOME", homeDir.filePath(QStringLiteral("state"))};
    const ScopedEnv dataHome{"XDG_DATA_HOME", homeDir.filePath(QStringLiteral("data"))};
    quint64 seed = 0;
    quint64 actions = 0;
    Random random;
    Random modalRandom{1};
    std::unique_ptr<RandomPrompt> prompt;
    std::unique_ptr<TemporaryFolderDialogs> dialogs;
    std::unique_ptr<WindowManager> app;
    ActionLog log;
    // The saved file last checked and its time, so that each save is read once.
    QString checkedFile;
    QDateTime checkedTime;
    int filesChecked = 0;
    // The database as it was opened or made, which undoing every step must give back.
    std::string opened;
    int undoneToOpened = 0;
};

// A node picked in tree order, so that a seed repeats its run, as the tree's model hands it to
// the windows.
Node *randomNode(Random &random, const Database &db, const TreeModel &model)
{
    const std::vector<const Node *> nodes = db.preorder();
    if (nodes.empty())
        return nullptr;
    return model.nodeOf(model.indexOf(nodes[std::size_t(pick(random, int(nodes.size())))]));
}

QString randomText(Random &random)
{
    static const QString pieces[] = {QStringLiteral("<b>"), QStringLiteral("äöü"),
                                     QStringLiteral("Text "), QStringLiteral("\n"),
                                     QStringLiteral("[["), QStringLiteral("]]"),
                                     QStringLiteral("<!--"), QStringLiteral("%"), QStringLiteral("\t"),
                                     QStringLiteral("€"), QStringLiteral("x")};
    QString text;
    for (int i = pick(random, 6); i >= 0; --i)
        text += pieces[pick(random, int(std::size(pieces)))];
    return text;
}

// Typing as the keyboard delivers it, umlauts and the euro sign included.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(widget, Qt::Key_Return);
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, c == QLatin1Char('\t') ? Qt::Key_Tab : Qt::Key_unknown,
                        Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

std::vector<std::pair<std::string, std::function<void()>>> Robustness::actionTable()
{
    std::vector<std::pair<std::string, std::function<void()>>> table;
    // Every command of the menus and the tool bar but ending the program and hiding the main
    // window (the run would have no window left to drive).
    for (const char *name :
         {"MenuItem_New", "MenuItem_Open", "MenuItem_Save", "MenuItem_SaveAs",
          "MenuItem_SaveAsTemplate", "MenuItem_ExportBrowserContent", "MenuItem_ExportDatabase",
          "MenuItem_Import", "MenuItem_IncludedFiles", "MenuItem_Search", "MenuItem_CopyText",
          "MenuItem_CopyCode", "MenuItem_SortCriteriums", "MenuItem_ShowInfo", "Editierfelder1",
          "MenuItem_Templates", "MenuItem_LXDTemplates", "MenuItem_Encryption",
          "MenuItem_BalloonHelp", "MenuItem_Info", "ToolButton_NewKey", "ToolButton_NewItem",
          "ToolButton_DelItem", "ToolButton_NewWindow", "ToolButton_Tray", "MenuItem_NewTopKey",
          "MenuItem_NewKey", "MenuItem_NewSubKey", "MenuItem_NewTopItem", "MenuItem_NewItem",
          "MenuItem_NewSubItem", "MenuItem_RenameItem", "MenuItem_DelItem", "MenuItem_Undo",
          "MenuItem_Redo"}) {
        table.emplace_back(std::string("command ") + name, [this, name] {
            QAction *action = main().command(name);
            ASSERT_NE(action, nullptr) << name;
            if (action->isEnabled())
                action->trigger();
        });
    }
    table.emplace_back("key in the tree", [this] {
        static const int keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right,
                                   Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Delete,
                                   Qt::Key_Return, Qt::Key_F2, Qt::Key_Escape, Qt::Key_Insert,
                                   Qt::Key_Space, Qt::Key_A};
        const auto key = Qt::Key(keys[pick(random, int(std::size(keys)))]);
        const auto modifiers = chance(random, 20) ? Qt::ControlModifier : Qt::NoModifier;
        QTest::keyClick(main().treeView(), key, modifiers);
    });
    table.emplace_back("click in the tree", [this] {
        Node *node = randomNode(random, doc().database(), *main().treeModel());
        if (!node)
            return;
        const QModelIndex index = main().treeModel()->indexOf(node);
        main().treeView()->scrollTo(index);
        const QPoint at = main().treeView()->visualRect(index).center();
        const auto modifiers = chance(random, 25) ? Qt::ControlModifier : Qt::NoModifier;
        if (chance(random, 15))
            QTest::mouseDClick(main().treeView()->viewport(), Qt::LeftButton, modifiers, at);
        else
            QTest::mouseClick(main().treeView()->viewport(), Qt::LeftButton, modifiers, at);
    });
    table.emplace_back("select in the tree", [this] {
        QItemSelectionModel *selection = main().treeView()->selectionModel();
        selection->clearSelection();
        for (int i = pick(random, 3); i >= 0; --i)
            if (Node *node = randomNode(random, doc().database(), *main().treeModel()))
                selection->setCurrentIndex(main().treeModel()->indexOf(node),
                                           QItemSelectionModel::Select);
    });
    table.emplace_back("drag in the tree", [this] {
        Node *target = chance(random, 20) ? nullptr : randomNode(random, doc().database(), *main().treeModel());
        if (main().TreeView_ItemsDragOver(target))
            main().TreeView_ItemsDragDrop(target);
    });
    table.emplace_back("drag into the tray", [this] {
        TrayWindow &tray = app->tray();
        if (tray.isVisible() && tray.ListView_TrayDragOver(main().treeView()))
            tray.ListView_TrayDragDrop();
    });
    table.emplace_back("type into a code field", [this] {
        if (CodeField *field = anyControl<CodeField>(random))
            typeText(field, randomText(random));
    });
    table.emplace_back("type into a line", [this] {
        QLineEdit *line =
            anyControl<QLineEdit>(random, [](const QLineEdit *l) { return !l->isReadOnly(); });
        if (!line)
            return;
        typeText(line, randomText(random).remove(QLatin1Char('\n')));
        if (chance(random, 30))
            QTest::keyClick(line, Qt::Key_Return);
    });
    table.emplace_back("press a button", [this] {
        QAbstractButton *button = anyControl<QAbstractButton>(random);
        if (!button)
            return;
        log.add("  button " + button->objectName().toStdString() + " \""
                + button->text().toStdString() + "\" in "
                + button->window()->objectName().toStdString());
        button->click();
    });
    table.emplace_back("close a window", [this] {
        QList<QWidget *> windows = visibleWindows();
        windows.removeAll(&main());
        if (!windows.isEmpty())
            windows[pick(random, int(windows.size()))]->close();
    });
    table.emplace_back("let events run", [] { QTest::qWait(30); });
    table.emplace_back("undo every step, then redo them", [this] { undoAndRedoEverything(); });
    return table;
}

// Undoing every step gives the database as it was opened, and a save of it reads back so;
// redoing them gives the database as it was before.
void Robustness::undoAndRedoEverything()
{
    const std::string before = describeDatabase(doc().database());
    int steps = 0;
    for (; doc().canUndo(); ++steps)
        doc().undo();
    QCoreApplication::processEvents();
    checkNodesShown();
    ASSERT_EQ(describeDatabase(doc().database()), opened) << "after undoing " << steps << " steps";
    if (!doc().currentFileName().isEmpty() && !doc().database().Encrypted) {
        const QString file = saveDir.filePath(QStringLiteral("undone.lxd"));
        doc().saveAs(file);
        QTemporaryDir files;
        Database loaded;
        loaded.IncludedFilesFolder = files.path() + QLatin1Char('/');
        KnownPasswordPrompt passwordPrompt({});
        NoProgress progress;
        ASSERT_EQ(OpenDatabase(loaded, file, passwordPrompt, progress), LoadResult::Read);
        EXPECT_EQ(describe(loaded).toStdString(), describe(doc().database()).toStdString());
    }
    for (int i = 0; i < steps; ++i)
        doc().redo();
    ASSERT_EQ(describeDatabase(doc().database()), before) << "after redoing " << steps << " steps";
    ++undoneToOpened;
}

// Every view of nodes refers only to nodes of the database.
void Robustness::checkNodesShown()
{
    const std::vector<const Node *> all = doc().database().preorder();
    const std::set<const Node *> nodes(all.begin(), all.end());
    const auto known = [&](const Node *node) { return node && nodes.count(node) > 0; };

    TreeModel *tree = main().treeModel();
    std::function<void(const QModelIndex &)> walk = [&](const QModelIndex &parent) {
        for (int row = 0; row < tree->rowCount(parent); ++row) {
            const QModelIndex index = tree->index(row, 0, parent);
            ASSERT_TRUE(known(tree->nodeOf(index))) << "the tree shows a node that is gone";
            walk(index);
        }
    };
    walk({});
    for (Node *node : main().selectedNodes())
        ASSERT_TRUE(known(node)) << "the tree's selection holds a node that is gone";

    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *itemWindow = qobject_cast<ItemWindow *>(widget)) {
            ASSERT_TRUE(known(itemWindow->node())) << "an item window shows a node that is gone";
        }
        for (TrayModel *tray : widget->findChildren<TrayModel *>())
            for (int row = 0; row < tray->rowCount(); ++row)
                ASSERT_TRUE(known(tray->nodeOf(tray->index(row, 0))))
                    << "the tray lists a node that is gone";
        for (SearchScopeModel *scope : widget->findChildren<SearchScopeModel *>())
            for (const Node *node : scope->entries()) // nullptr: the top level
                ASSERT_TRUE(!node || known(node)) << "the search scope holds a node that is gone";
        for (SearchResultsModel *results : widget->findChildren<SearchResultsModel *>())
            for (const SearchResult &result : results->results())
                ASSERT_TRUE(known(result.node)) << "a search result is a node that is gone";
    }
    for (Node *node : doc().database().TrayNodes)
        ASSERT_TRUE(known(node)) << "the database's tray holds a node that is gone";
}

// A file saved since the last check loads again with the tree that was saved.
void Robustness::checkSavedFile()
{
    const Database &db = doc().database();
    if (doc().isModified() || db.CurrentFileName.isEmpty()
        || !db.CurrentFileName.startsWith(saveDir.path()))
        return;
    const QDateTime time = QFileInfo(db.CurrentFileName).lastModified();
    if (db.CurrentFileName == checkedFile && time == checkedTime)
        return;
    checkedFile = db.CurrentFileName;
    checkedTime = time;

    QTemporaryDir files;
    Database loaded;
    loaded.IncludedFilesFolder = files.path() + QLatin1Char('/');
    KnownPasswordPrompt passwordPrompt(db.Password.exposed());
    NoProgress progress;
    ASSERT_EQ(OpenDatabase(loaded, db.CurrentFileName, passwordPrompt, progress), LoadResult::Read)
        << db.CurrentFileName.toStdString() << ": " << passwordPrompt.messages.join(' ').toStdString();
    ASSERT_EQ(describe(loaded).toStdString(), describe(db).toStdString())
        << "the saved file " << db.CurrentFileName.toStdString() << " reads back differently";
    ++filesChecked;
}

TEST_F(Robustness, RandomUserActionsKeepTheProgramWhole)
{
    prompt = std::make_unique<RandomPrompt>(random);
    dialogs = std::make_unique<TemporaryFolderDialogs>(random, saveDir.path());
    app = std::make_unique<WindowManager>(homeDir.path() + QLatin1Char('/'), *prompt, *dialogs);
    // Every step stays, so that undoing all of them reaches the database as it was opened.
    doc().setUndoLimits(1 << 30, qint64(1) << 40);
    QObject::connect(&doc(), &Document::databaseReplaced,
                     [this] { opened = describeDatabase(doc().database()); });
    main().show();
    answerModalsAtRandom();
    const auto table = actionTable();

    Watchdog watchdog(log, seed, std::chrono::seconds(60));
    const auto started = std::chrono::steady_clock::now();
    for (quint64 i = 0; i < actions; ++i) {
        const auto &[name, act] = table[std::size_t(pick(random, int(table.size())))];
        log.add(std::to_string(i) + ": " + name);
        act();
        QCoreApplication::processEvents();
        log.done();
        if (!main().isVisible())
            main().show();
        checkNodesShown();
        checkSavedFile();
        if (HasFailure()) {
            ADD_FAILURE() << "seed " << seed << ", " << log.report();
            return;
        }
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::steady_clock::now() - started)
                             .count();
    std::cout << actions << " actions in " << seconds << " s, " << filesChecked
              << " saved files read back, " << undoneToOpened << " times undone to the opened state"
              << std::endl;
}

} // namespace
} // namespace lexora::test
