#pragma once

#include <QIcon>

namespace lexora {

// The pictures of the main window's image list, drawn by the program itself. The numbers are the
// positions the tool bar, the menus and the tree refer to.
enum ImageIndex {
    ImgKey = 0,
    ImgKeyOpen = 1,
    ImgItem = 2,
    ImgDelete = 3,
    ImgNew = 4,
    ImgOpen = 5,
    ImgSave = 6,
    ImgSearch = 7,
    ImgNewWindow = 8,
    ImgHideMainWindow = 9,
    ImgCopyText = 10,
    ImgCopyCode = 11,
    ImgTray = 12,
    ImgUndo = 13,
    ImgRedo = 14,
};

QIcon imageListIcon(ImageIndex index);

// The program's own icon (window and about box).
QIcon applicationIcon();

} // namespace lexora
