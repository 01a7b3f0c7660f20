#pragma once

#include "database/model.h"

#include <QWidget>

#include <functional>

class QTabWidget;
class QToolBar;

namespace lexora {

class BrowserView;
class CodeField;
class CodeFieldSettings;
class Document;

// An item in a small window of its own that stays on top of other windows: the page on
// "Anzeige", the editable code on "Code". Every change of the code goes into the item at once.
// The window follows the document alone: it closes when its node goes, takes a new title as its
// caption, and reloads the code and rebuilds the page when what they show changes.
class ItemWindow : public QWidget {
    Q_OBJECT

public:
    // A tool bar for the code page, made inside the given container (a copy of the editor's).
    using ToolBarFactory = std::function<QToolBar *(QWidget *container)>;

    ItemWindow(Document &document, CodeFieldSettings &look, const ToolBarFactory &toolBar,
               Node *node);

    // The node shown; nullptr once it is gone and the window closes.
    Node *node() const { return m_node; }

    // Loads the item's code into the code page unless it holds it already (the caret and the
    // undo steps stay then). Loading is no change of the database.
    void reloadCode();

    QTabWidget *PageControl = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    BrowserView *WebBrowser = nullptr;
    QToolBar *ToolBar = nullptr;
    CodeField *Memo_Content = nullptr;

Q_SIGNALS:
    // The window is about to close, while it is still visible.
    void closing(lexora::ItemWindow *window);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void followDocument();
    void Memo_ContentChange();
    // The page is built when "Anzeige" is shown.
    void showPageIfShown();
    bool showsDisplay() const;
    void closeForGood();

    Document &m_document;
    Node *m_node;
    bool m_loading = false;
};

} // namespace lexora
