#pragma once

#include "text/text_edit.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class QWidget;

namespace lexora {

class Database;

// The HTML tag menu `PopupMenu_Tags` and the placeholder menu `PopupMenu_Keywords` with their
// actions, shared by the tool bar of every code field. An action works on the `Memo_Content`
// and the drop-down button of the window whose tool bar button opened the menu, so the item
// editor, the template manager and every item window use the same menus.
class CodeMenus : public QObject {
    Q_OBJECT

public:
    // database gives the open database: the submenus list its templates and included files.
    explicit CodeMenus(std::function<const Database &()> database, QObject *parent = nullptr);
    ~CodeMenus() override;

    QMenu *PopupMenu_Tags() const { return m_tags; }
    QMenu *PopupMenu_Keywords() const { return m_keywords; }

    // A tool bar for the code field of target's window: `ToolButton_Tag` ("<b>" at first),
    // `ToolButton_Keyword` ("%css%"), a separator and the check button `ToolButton_WantWrap`
    // ("Zeilenumbruch"), which wraps that window's code field.
    QToolBar *createToolBar(QWidget *target);

    // The drop-down button shows the entry's caption, or its parent's for an entry that names a
    // template or a file, and takes the entry's tag: a click on its body repeats the choice.
    static void SetDropDownButton(QToolButton *button, const QAction *entry);

private:
    void buildTagMenu();
    void buildKeywordMenu();
    void refillSubmenu(QMenu *submenu, int row);
    QToolButton *addDropDownButton(QToolBar *bar, const char *name, const QString &hint,
                                   QMenu *menu, int tag);
    // What a button inserts for its tag at the selection of the code field.
    using Insertion = std::function<TextEdit(int tag, Selection selection, QStringView selected)>;
    // A choice from a menu (entry set) or a click on a button's body (entry null).
    void insertChosen(QToolButton *button, const QAction *entry, const Insertion &insertion);

    std::function<const Database &()> m_database;
    QMenu *m_tags = nullptr;
    QMenu *m_keywords = nullptr;
};

// A tool bar like the editor's inside target (the template manager, an item window): the same
// buttons with the same menus, the drop-down buttons starting from the editor's last choices.
QToolBar *CopyEditorToolBar(CodeMenus &menus, const QToolBar &editorToolBar, QWidget *target);

} // namespace lexora
