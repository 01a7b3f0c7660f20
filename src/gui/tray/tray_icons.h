#pragma once

#include <QIcon>

namespace lexora {

// The pictures of the tray's own image list, in the order of its tool buttons.
enum TrayImage { TrayImgDelete = 0, TrayImgGoTo = 1, TrayImgClear = 2 };

QIcon trayIcon(TrayImage image);

} // namespace lexora
