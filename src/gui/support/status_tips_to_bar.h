#pragma once

class QStatusBar;
class QWidget;

namespace lexora {

// The hints of the window's controls go to bar, a status bar of the window's own: a dialog has
// none that Qt would fill by itself.
void showStatusTipsIn(QWidget *window, QStatusBar *bar);

} // namespace lexora
