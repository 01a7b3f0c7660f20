// The search window "Suchen" in the running program: the checks before a search, results and
// hits equal to the engine's, the scope list and its drops, and how the window follows the
// document while it is open.
#include "search/search_window.h"

#include "database/win1252.h"
#include "help/balloon_help.h"
#include "help/balloons.h"
#include "search/drop_down_combo_box.h"
#include "search/highlight.h"
#include "search/search_engine.h"
#include "search/search_results_model.h"
#include "search/search_run.h"
#include "search/search_scope_model.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "support/gui_main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTableView>
#include <QTreeView>

#include <functional>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

class SearchWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
        // The standard database's templates stay, its tree goes.
        QList<Node *> tree;
        const TreeModel &model = *window->treeModel();
        for (int row = 0; row < model.rowCount({}); ++row)
            tree.append(model.nodeOf(model.index(row, 0, {})));
        doc().removeNodes(tree);
        // A (B (Hinweis-Eintrag, Zweiter), Code), Oben
        a = addKey(nullptr, "A");
        b = addKey(a, "B");
        hint = addItem(b, "Hinweis-Eintrag", "Ein <b>Hinweis</b> steht hier.\r\nab cd abc");
        second = addItem(b, "Zweiter", "Hinweis. (Hinweis) und Änderung");
        code = addItem(a, "Code", "x = ab; y = \"cd\"");
        TTipItem values = *code->item();
        values.AutoFormat = false;
        doc().setItem(code, values);
        values = *second->item();
        values.Code = win1252::fromUnicode(u"Hinweis. (Hinweis) und Änderung");
        doc().setItem(second, values);
        top = addItem(nullptr, "Oben", "<p>ABCD</p><p>hinweis</p>");
        form = &app->search();
        form->showSearch();
    }
    void TearDown() override
    {
        finish();
        MainWindowTest::TearDown();
    }
    Balloons &balloons() { return app->balloons(); }
    // "Hinweis" in the key B and on the top level, not below them: three results.
    void searchHintInBAndTheTopLevel()
    {
        select({hint});
        form->hide();
        form->showSearch(); // scope [B]
        form->ListView_KeysDragDrop(form->Label_TopLevel);
        form->CheckBox_RecursiveSearch->setChecked(false);
        form->Edit_Words->setText(QStringLiteral("Hinweis"));
        runSearch();
    }
    void runSearch()
    {
        form->Button_SearchClick();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !form->isSearching(); }, 60000));
    }
    QStringList scopeRows() const
    {
        QStringList rows;
        const QAbstractItemModel *m = form->ListView_Keys->model();
        for (int r = 0; r < m->rowCount(); ++r)
            rows.append(m->index(r, 0).data().toString() + '|' + m->index(r, 1).data().toString());
        return rows;
    }
    QStringList resultRows() const
    {
        QStringList rows;
        const QAbstractItemModel *m = form->ListView_Results->model();
        for (int r = 0; r < m->rowCount(); ++r)
            rows.append(m->index(r, 0).data().toString() + '|' + m->index(r, 1).data().toString());
        return rows;
    }
    void selectResult(int row)
    {
        form->ListView_Results->setCurrentIndex(form->ListView_Results->model()->index(row, 0));
    }

    Node *a = nullptr, *b = nullptr, *hint = nullptr, *second = nullptr, *code = nullptr,
         *top = nullptr;
    SearchWindow *form = nullptr;
};

// The text of an edit with its red bold parts in brackets, adjacent hits as one.
QString marked(const QTextEdit *edit)
{
    QString out;
    bool inHit = false;
    for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next()) {
        if (block != edit->document()->begin()) {
            if (inHit)
                out += ']';
            inHit = false;
            out += '\n';
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const bool hit = f.charFormat().fontWeight() == QFont::Bold
                             && f.charFormat().foreground().color() == QColor(255, 0, 0);
            if (hit != inHit)
                out += hit ? '[' : ']';
            inHit = hit;
            out += f.text();
        }
    }
    if (inHit)
        out += ']';
    return out;
}

// The same form for the engine's pieces: line ends as the edit shows them.
QString marked(const std::vector<HighlightPiece> &pieces)
{
    QString out;
    bool inHit = false;
    for (const HighlightPiece &p : pieces) {
        QString text = win1252::toUnicode(p.text).remove('\r');
        if (text.isEmpty())
            continue;
        if (p.hit != inHit)
            out += p.hit ? '[' : ']';
        inHit = p.hit;
        // A hit across a line end shows as two hits, one on each line.
        if (p.hit)
            text.replace('\n', QStringLiteral("]\n["));
        out += text;
    }
    if (inHit)
        out += ']';
    return out.replace(QStringLiteral("[]"), QString());
}

TEST_F(SearchWindowTest, EachFailingCheckPointsAtItsControlOnItsPageAndSearchesNothing)
{
    using F = SearchWindow;
    // Every check before the failing one passes: each case adds its failure to a good query.
    const struct {
        const char *what;
        std::function<void(F &)> setUp;
        QWidget *F::*page;
        const char *control;
        const char *message;
    } cases[] = {
        {"no keywords", [](F &f) { f.Edit_Words->clear(); }, &F::TabSheet1, "Edit_Words",
         "Sie haben keine Stichwörter definiert."},
        {"no scope",
         [](F &f) {
             f.ListView_Keys->setCurrentIndex(f.ListView_Keys->model()->index(0, 0));
             f.Button_DelKeyClick();
         },
         &F::TabSheet2, "ListView_Keys",
         "Sie haben keine Schlüssel definiert, in denen gesucht werden soll."},
        {"no place",
         [](F &f) {
             for (QCheckBox *c : {f.CheckBox_KeyNames, f.CheckBox_ItemNames, f.CheckBox_ItemCodes,
                                  f.CheckBox_ItemTexts})
                 c->setChecked(false);
         },
         &F::TabSheet3, "CheckBox_ItemTexts",
         "Sie müssen mindestens eine Stelle (Schlüsselname, Eintragsname, Eintragscode oder "
         "Eintragstext) angeben, die durchsucht werden soll."},
        {"created", [](F &f) { f.CheckBox_Created->setChecked(true); }, &F::TabSheet4,
         "ComboBox_Created",
         "Sie müssen einen Operator für die Bedingung \"Erstellungsdatum\" angeben."},
        {"modified", [](F &f) { f.CheckBox_Modified->setChecked(true); }, &F::TabSheet4,
         "ComboBox_Modified",
         "Sie müssen einen Operator für die Bedingung \"Änderungsdatum\" angeben."},
        {"creator operator", [](F &f) { f.CheckBox_Creator->setChecked(true); }, &F::TabSheet4,
         "ComboBox_OpCreator", "Sie müssen einen Operator für die Bedingung \"Ersteller\" angeben."},
        {"creator name",
         [](F &f) {
             f.CheckBox_Creator->setChecked(true);
             f.ComboBox_OpCreator->setCurrentIndex(0);
         },
         &F::TabSheet4, "ComboBox_Creator",
         "Sie müssen einen Benutzernamen für die Bedingung \"Ersteller\" angeben."},
        {"editor operator", [](F &f) { f.CheckBox_Modifier->setChecked(true); }, &F::TabSheet4,
         "ComboBox_OpModifier",
         "Sie müssen einen Operator für die Bedingung \"Bearbeiter\" angeben."},
        {"editor name",
         [](F &f) {
             f.CheckBox_Modifier->setChecked(true);
             f.ComboBox_OpModifier->setCurrentIndex(1);
         },
         &F::TabSheet4, "ComboBox_Modifier",
         "Sie müssen einen Benutzernamen für die Bedingung \"Bearbeiter\" angeben."},
        {"HTML operator", [](F &f) { f.CheckBox_HTMLTemplate->setChecked(true); }, &F::TabSheet4,
         "ComboBox_OpHTMLTemplate",
         "Sie müssen einen Operator für die Bedingung \"HTML-Vorlage\" angeben."},
        {"HTML template never chosen",
         [](F &f) {
             f.CheckBox_HTMLTemplate->setChecked(true);
             f.ComboBox_OpHTMLTemplate->setCurrentIndex(0);
         },
         &F::TabSheet4, "ComboBox_HTMLTemplate",
         "Sie müssen eine HTML-Vorlage für die Bedingung \"HTML-Vorlage\" angeben."},
        {"CSS operator", [](F &f) { f.CheckBox_CSSTemplate->setChecked(true); }, &F::TabSheet4,
         "ComboBox_OpCSSTemplate",
         "Sie müssen einen Operator für die Bedingung \"CSS-Vorlage\" angeben."},
        {"CSS template never chosen",
         [](F &f) {
             f.CheckBox_CSSTemplate->setChecked(true);
             f.ComboBox_OpCSSTemplate->setCurrentIndex(1);
         },
         &F::TabSheet4, "ComboBox_CSSTemplate",
         "Sie müssen eine CSS-Vorlage für die Bedingung \"CSS-Vorlage\" angeben."},
        {"line breaks", [](F &f) { f.CheckBox_AutoFormat->setChecked(true); }, &F::TabSheet4,
         "ComboBox_AutoFormat",
         "Sie müssen einen Wert für die Bedingung \"Zeilenumbruch = '<br>'\" angeben."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        form->hide();
        form->showSearch(); // every showing starts afresh
        form->Edit_Words->setText(QStringLiteral("Hinweis"));
        c.setUp(*form);
        form->Button_SearchClick();
        EXPECT_FALSE(form->isSearching());
        EXPECT_EQ(form->PageControl->currentWidget(), form->*c.page);
        EXPECT_TRUE(balloons().BalloonWarning->isVisible());
        EXPECT_EQ(balloons().BalloonWarning->tipControl()->objectName(), QLatin1String(c.control));
        EXPECT_EQ(balloons().BalloonWarning->Text, QString::fromUtf8(c.message));
        EXPECT_EQ(form->ListView_Results->model()->rowCount(), 0);
    }
    // Opening a template list chooses "Keine Vorlage": the search passes and keeps the items
    // without an HTML template.
    form->hide();
    form->showSearch();
    TTipItem values = *hint->item();
    values.HTMLTemplate = nullptr;
    doc().setItem(hint, values);
    form->Edit_Words->setText(QStringLiteral("Hinweis"));
    form->CheckBox_HTMLTemplate->setChecked(true);
    form->ComboBox_OpHTMLTemplate->setCurrentIndex(0);
    form->ComboBox_HTMLTemplate->showPopup();
    form->ComboBox_HTMLTemplate->hidePopup();
    EXPECT_EQ(form->ComboBox_HTMLTemplate->currentText(), QStringLiteral("Keine Vorlage"));
    form->PageControl->setCurrentWidget(form->TabSheet2);
    form->ListView_Keys->setCurrentIndex({});
    runSearch();
    EXPECT_EQ(form->PageControl->currentWidget(), form->TabSheet5);
    EXPECT_EQ(resultRows(), QStringList{QStringLiteral("A\\B\\Hinweis-Eintrag|Eintragsname, Quellcode")});
}

TEST_F(SearchWindowTest, ResultsAndHighlightedHitsAreTheEnginesForTheSameQuery)
{
    const struct {
        const char *words;
        bool any, wholeWords, exactCase, texts;
    } queries[] = {
        {"Hinweis", false, true, false, true},
        {"ab, cd", true, false, false, false},
        {"ab cd", false, false, false, true},
        {"ÄNDERUNG", false, false, false, false},
        {"\"Ein <b>\" abc", true, false, true, false},
        {"*", false, false, false, true},
    };
    SearchEngine engine(db());
    for (const auto &q : queries) {
        SCOPED_TRACE(q.words);
        form->hide();
        form->showSearch();
        form->Edit_Words->setText(QString::fromUtf8(q.words));
        (q.any ? form->RadioButton_OR : form->RadioButton_AND)->setChecked(true);
        form->CheckBox_FullWords->setChecked(q.wholeWords);
        form->CheckBox_ExactSpelling->setChecked(q.exactCase);
        form->CheckBox_ItemTexts->setChecked(q.texts);
        SearchQuery query = form->currentQuery();
        runSearch();
        std::vector<SearchResult> expected;
        engine.RunSearch(query, expected);
        ASSERT_EQ(form->resultsModel().results(), expected);
        ASSERT_FALSE(expected.empty());
        for (int row = 0; row < int(expected.size()); ++row) {
            const Node &node = *expected[std::size_t(row)].node;
            SCOPED_TRACE(node.name().toStdString());
            selectResult(row);
            EXPECT_EQ(marked(form->RichEdit_Title), marked(HighlightHits(node.name(), query)));
            if (!node.isItem()) {
                EXPECT_TRUE(form->RichEdit_Result->toPlainText().isEmpty());
                continue;
            }
            form->TabControl->setCurrentIndex(0);
            EXPECT_EQ(marked(form->RichEdit_Result), marked(HighlightHits(node.item()->Code, query)));
            form->TabControl->setCurrentIndex(1);
            EXPECT_EQ(marked(form->RichEdit_Result),
                      marked(HighlightHits(engine.DisplayedText(node), query)));
        }
    }
    // The keywords as they stand now are highlighted, not those of the search.
    const auto &found = form->resultsModel().results();
    const auto oben = std::find_if(found.begin(), found.end(),
                                   [this](const SearchResult &r) { return r.node == top; });
    ASSERT_NE(oben, found.end());
    selectResult(int(oben - found.begin()));
    form->Edit_Words->setText(QStringLiteral("Oben"));
    form->ShowResult();
    EXPECT_EQ(marked(form->RichEdit_Title), QStringLiteral("[Oben]"));
}

TEST_F(SearchWindowTest, ResultRowsShowPathAndPlacesAndLeadBackIntoTheTree)
{
    form->Edit_Words->setText(QStringLiteral("Hinweis"));
    form->CheckBox_ItemTexts->setChecked(true);
    runSearch();
    EXPECT_EQ(resultRows(), (QStringList{
                                QStringLiteral("A\\B\\Hinweis-Eintrag|Eintragsname, Quellcode, Anzeigetext"),
                                QStringLiteral("A\\B\\Zweiter|Quellcode, Anzeigetext"),
                                QStringLiteral("Oben|Quellcode, Anzeigetext"),
                            }));
    selectResult(1);
    form->ListView_ResultsDblClick();
    EXPECT_EQ(window->selectedNode(), second);
}

TEST_F(SearchWindowTest, ScopeTakesKeysDroppedFromTheTreeAndTheTopLevelOnce)
{
    // Shown with nothing selected: the top level.
    EXPECT_EQ(scopeRows(), QStringList{QStringLiteral("[Höchste Ebene]|")});
    select({top});
    form->hide();
    form->showSearch();
    EXPECT_EQ(scopeRows(), QStringList{QStringLiteral("[Höchste Ebene]|")});
    select({hint});
    form->hide();
    form->showSearch();
    EXPECT_EQ(scopeRows(), QStringList{QStringLiteral("B|A\\")});

    // Only keys come in, in tree order after the top level; items are skipped.
    Node *c = addKey(nullptr, "C");
    select({c, top});
    EXPECT_FALSE(form->ListView_KeysDragOver(window->treeView())) << "an item is selected first";
    select({c, a});
    ASSERT_TRUE(form->ListView_KeysDragOver(window->treeView()));
    form->ListView_KeysDragDrop(window->treeView());
    ASSERT_TRUE(form->ListView_KeysDragOver(form->Label_TopLevel));
    form->ListView_KeysDragDrop(form->Label_TopLevel);
    form->ListView_KeysDragDrop(form->Label_TopLevel);
    EXPECT_FALSE(form->ListView_KeysDragOver(form->Edit_Words));
    EXPECT_EQ(scopeRows(), (QStringList{QStringLiteral("[Höchste Ebene]|"), QStringLiteral("A|"),
                                        QStringLiteral("B|A\\"), QStringLiteral("C|")}));

    // Recursive: the entries below the top level go with the search.
    form->Edit_Words->setText(QStringLiteral("Zweiter"));
    runSearch();
    EXPECT_EQ(scopeRows(), QStringList{QStringLiteral("[Höchste Ebene]|")});
    EXPECT_EQ(resultRows(), QStringList{QStringLiteral("A\\B\\Zweiter|Eintragsname")});

    form->ListView_Keys->setCurrentIndex(form->ListView_Keys->model()->index(0, 0));
    EXPECT_TRUE(form->Button_DelKey->isEnabled());
    form->Button_DelKeyClick();
    EXPECT_TRUE(scopeRows().isEmpty());
    EXPECT_FALSE(form->Button_DelKey->isEnabled());
}

TEST_F(SearchWindowTest, FollowsDeletedRenamedAndSortedNodesAndANewDatabase)
{
    searchHintInBAndTheTopLevel();
    ASSERT_EQ(resultRows().size(), 3);
    selectResult(1);

    // A renamed key shows its new name in the scope and in the paths of the results.
    form->PageControl->setCurrentWidget(form->TabSheet2);
    doc().renameNode(b, "Bb");
    EXPECT_EQ(scopeRows(), (QStringList{QStringLiteral("[Höchste Ebene]|"), QStringLiteral("Bb|A\\")}));
    EXPECT_EQ(resultRows(), (QStringList{QStringLiteral("Oben|Quellcode"),
                                         QStringLiteral("A\\Bb\\Hinweis-Eintrag|Eintragsname, Quellcode"),
                                         QStringLiteral("A\\Bb\\Zweiter|Quellcode")}));

    // A deleted result leaves the list and the display.
    doc().removeNode(hint);
    EXPECT_EQ(resultRows(), (QStringList{QStringLiteral("Oben|Quellcode"),
                                         QStringLiteral("A\\Bb\\Zweiter|Quellcode")}));
    // A deleted key leaves the scope with its results.
    doc().removeNode(a);
    EXPECT_EQ(scopeRows(), QStringList{QStringLiteral("[Höchste Ebene]|")});
    EXPECT_EQ(resultRows(), QStringList{QStringLiteral("Oben|Quellcode")});
    for (const SearchResult &r : form->resultsModel().results())
        EXPECT_NE(db().absoluteIndex(r.node), -1);

    // A new database hides and empties the window.
    doc().newDatabase({});
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(scopeRows().isEmpty());
    EXPECT_TRUE(resultRows().isEmpty());
}

TEST_F(SearchWindowTest, UndoneDeletionsBringBackTheirScopeAndResultRows)
{
    searchHintInBAndTheTopLevel();
    const QStringList scope = scopeRows();
    const QStringList results = resultRows();
    ASSERT_EQ(results.size(), 3);
    doc().removeNode(hint);
    doc().removeNode(a);
    ASSERT_EQ(resultRows().size(), 1);

    doc().undo();
    EXPECT_EQ(scopeRows(), scope) << "the key is in the scope again";
    EXPECT_EQ(resultRows(), (QStringList{QStringLiteral("Oben|Quellcode"),
                                         QStringLiteral("A\\B\\Zweiter|Quellcode")}));
    doc().undo();
    EXPECT_EQ(resultRows(), results) << "in their places";
    doc().redo();
    EXPECT_EQ(resultRows().size(), 2);

    // After a new search, an undone deletion brings nothing of the old one back.
    form->Edit_Words->setText(QStringLiteral("Zweiter"));
    runSearch();
    const QStringList newResults = resultRows();
    doc().undo();
    EXPECT_EQ(resultRows(), newResults);
}

TEST_F(SearchWindowTest, EscapeEndsALongSearchWithTheResultsFoundUntilThen)
{
    for (int i = 0; i < 3000; ++i)
        addItem(b, "Eintrag", "<p>Ein Hinweis im Text</p>");
    form->Edit_Words->setText(QStringLiteral("Hinweis"));
    form->CheckBox_ItemTexts->setChecked(true);
    SearchEngine engine(db());
    SearchQuery query = form->currentQuery();
    std::vector<SearchResult> all;
    engine.RunSearch(query, all);

    form->Button_SearchClick();
    ASSERT_TRUE(form->isSearching());
    // Input goes nowhere while the search runs; Escape ends it.
    form->Edit_Words->setFocus();
    QTest::keyClick(form->Edit_Words, Qt::Key_A);
    QTest::keyClick(form->Edit_Words, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->isSearching(); }, 60000));
    EXPECT_EQ(form->Edit_Words->text(), QStringLiteral("Hinweis"));
    const std::vector<SearchResult> &found = form->resultsModel().results();
    ASSERT_LE(found.size(), all.size());
    EXPECT_LT(found.size(), all.size()) << "the search was not ended early";
    EXPECT_TRUE(std::equal(found.begin(), found.end(), all.begin()));
}

// "Bearbeiten > Suchen" (Ctrl+F) and the tool button show the window; a second Ctrl+F keeps
// what was entered.
TEST_F(SearchWindowTest, CommandAndKeyShowTheWindow)
{
    QAction *command = window->command("MenuItem_Search");
    ASSERT_TRUE(command->isEnabled());
    EXPECT_EQ(command->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    form->hide();
    command->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->testAttribute(Qt::WA_WState_Visible));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    form->Edit_Words->setText(QStringLiteral("kept"));
    command->trigger();
    EXPECT_EQ(form->Edit_Words->text(), QStringLiteral("kept"));
}

} // namespace
