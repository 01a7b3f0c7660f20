#pragma once

#include "search/search_engine.h"
#include "support/tree_drag_source.h"

#include <QFont>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTableView;
class QTabWidget;
class QTextEdit;
class QTreeView;

namespace lexora {

class Document;
class DropDownComboBox;
class SearchResultsModel;
class SearchRun;
class SearchScopeModel;
class WindowRequests;

// What the search window takes from the rest of the program.
struct SearchWindowLinks {
    TreeDragSource tree;                  // the main tree: drags from it and its multi-selection
    std::function<Node *()> selectedNode; // the main tree's selected node
    std::function<QFont()> codeFont;      // the item editor's code font
    std::function<bool()> codeWrap;       // whether the item editor wraps its lines
};

// "Suchen": a tool window on top of the main window that collects a search on its pages,
// checks it, runs it off the window's thread and lists the found keys and items with their hits
// in red. It follows the document: a deleted node leaves the results and the scope, a new
// database empties and hides the window. Each showing starts afresh.
class SearchWindow : public QWidget {
    Q_OBJECT

public:
    SearchWindow(Document &document, WindowRequests &requests, SearchWindowLinks links,
           QWidget *parent = nullptr);
    ~SearchWindow() override;

    // "Bearbeiten > Suchen": shows the window, reset when it was hidden, and brings it forward.
    void showSearch();

    // Checks the query; the first failure brings its page forward and gets the warning
    // balloon. Otherwise the search starts.
    void Button_SearchClick();
    bool isSearching() const;
    SearchRun &searchRun() { return *m_run; }

    bool ListView_KeysDragOver(const QObject *source) const;
    void ListView_KeysDragDrop(const QObject *source);
    void Button_DelKeyClick();
    void ListView_ResultsDblClick();
    // RichEdit_Title and RichEdit_Result for the selected result, highlighted under the keyword
    // box and options as they stand now.
    void ShowResult();

    const SearchScopeModel &scopeModel() const { return *m_scope; }
    const SearchResultsModel &resultsModel() const { return *m_results; }
    // The query as the controls stand.
    SearchQuery currentQuery() const;

    QTabWidget *PageControl = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *TabSheet3 = nullptr;
    QWidget *TabSheet4 = nullptr;
    QWidget *TabSheet5 = nullptr;
    // "Stichwörter"
    QLineEdit *Edit_Words = nullptr;
    QRadioButton *RadioButton_AND = nullptr;
    QRadioButton *RadioButton_OR = nullptr;
    QCheckBox *CheckBox_FullWords = nullptr;
    QCheckBox *CheckBox_ExactSpelling = nullptr;
    QPushButton *Button_Search = nullptr;
    // "Schlüssel"
    QTreeView *ListView_Keys = nullptr;
    QFrame *Panel_TopLevel = nullptr;
    QLabel *Label_TopLevel = nullptr;
    QPushButton *Button_DelKey = nullptr;
    QCheckBox *CheckBox_RecursiveSearch = nullptr;
    // "Suchstellen"
    QCheckBox *CheckBox_KeyNames = nullptr;
    QCheckBox *CheckBox_ItemNames = nullptr;
    QCheckBox *CheckBox_ItemCodes = nullptr;
    QCheckBox *CheckBox_ItemTexts = nullptr;
    // "Bedingungen"
    QCheckBox *CheckBox_Created = nullptr;
    QComboBox *ComboBox_Created = nullptr;
    QDateEdit *DateTimePicker_Created = nullptr;
    QCheckBox *CheckBox_Modified = nullptr;
    QComboBox *ComboBox_Modified = nullptr;
    QDateEdit *DateTimePicker_Modified = nullptr;
    QCheckBox *CheckBox_Creator = nullptr;
    QComboBox *ComboBox_OpCreator = nullptr;
    DropDownComboBox *ComboBox_Creator = nullptr;
    QCheckBox *CheckBox_Modifier = nullptr;
    QComboBox *ComboBox_OpModifier = nullptr;
    DropDownComboBox *ComboBox_Modifier = nullptr;
    QCheckBox *CheckBox_HTMLTemplate = nullptr;
    QComboBox *ComboBox_OpHTMLTemplate = nullptr;
    DropDownComboBox *ComboBox_HTMLTemplate = nullptr;
    QCheckBox *CheckBox_CSSTemplate = nullptr;
    QComboBox *ComboBox_OpCSSTemplate = nullptr;
    DropDownComboBox *ComboBox_CSSTemplate = nullptr;
    QCheckBox *CheckBox_AutoFormat = nullptr;
    QComboBox *ComboBox_AutoFormat = nullptr;
    // "Fundstellen"
    QTextEdit *RichEdit_Title = nullptr;
    QTabBar *TabControl = nullptr;
    QTextEdit *RichEdit_Result = nullptr;
    // Below the pages.
    QTableView *ListView_Results = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createWordsPage();
    void createScopePage();
    void createPlacesPage();
    void createConditionsPage();
    void createResultPage();
    void createResultList();
    void followDocument();
    // The reset of every showing.
    void FormShow();
    void FormActivate();
    void PageControlChange();
    void searchFinished(const std::vector<const Node *> &scope, bool complete, const QString &error);
    void fillUserNames(QComboBox *box, bool creators);
    void fillTemplates(DropDownComboBox *box, int list);
    // The tree changed its order or titles: the lists show it.
    void treeChanged();
    void forgetSubtree(Node *root);
    void clearAll();
    const Node *shownResultNode() const;
    void startTopLevelDrag();

    Document &m_document;
    WindowRequests &m_requests;
    SearchWindowLinks m_links;
    SearchEngine m_engine;
    SearchScopeModel *m_scope = nullptr;
    SearchResultsModel *m_results = nullptr;
    SearchRun *m_run = nullptr;
    // The templates of the two template conditions, apart from their lists.
    const TTemplate *m_chosenTemplate[2] = {nullptr, nullptr};
    QPoint m_dragStart;
    bool m_placed = false;
};

} // namespace lexora
