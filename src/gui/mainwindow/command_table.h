#pragma once

#include "mainwindow/icons.h"

#include <QKeySequence>
#include <QString>

#include <span>

namespace lexora {

// One command of the main window: a QAction named name, shown in the menus, the tool bar and the
// tree's context menu. Handlers are connected by name: the main window's own (tree, view) by the
// main window, those of other windows by the window manager.
struct Command {
    enum Flag {
        None = 0,
        Checkable = 1,       // a check item, checked at start
        DisabledAtStart = 2, // until there is a selection, an open item window or a step to
                             // undo or redo
    };
    const char *name;
    const char16_t *caption;
    const char16_t *hint; // nullptr: none (the tool tip is the caption)
    QKeyCombination shortcut;
    int icon; // an ImageIndex, -1 for none
    int flags;
};

// Every command of the main window, in no particular order (menus and tool bar place them).
std::span<const Command> mainWindowCommands();
// The command of that name, which must exist.
const Command &mainWindowCommand(const char *name);

} // namespace lexora
