// The main window's copy commands: the text selected in the display, the selected item's code.
#include "mainwindow/main_window.h"

#include "browser/browser_view.h"
#include "text/code_field_text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace lexora {

void MainWindow::MenuItem_CopyTextClick()
{
    // Nothing selected puts an empty text on the clipboard.
    QGuiApplication::clipboard()->setText(WebBrowser->selectedText());
}

void MainWindow::MenuItem_CopyCodeClick()
{
    const Node *node = selectedNode();
    if (!node || !node->isItem())
        return;
    // With the line ends of the desktop, as the code field shows the code.
    QGuiApplication::clipboard()->setText(codeForField(node->item()->Code));
}

} // namespace lexora
