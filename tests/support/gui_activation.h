#pragma once

// Making a window the program's active one in GUI tests. All GUI tests share one X display, and
// the window system may hand the focus around for a moment after a window appears.
#include <gtest/gtest.h>

class QWidget;

namespace lexora::test {

// Raises and activates window until QApplication names it the active window (asking again every
// second, for at most timeoutMs). On failure the message names the window that is active instead.
testing::AssertionResult activate(QWidget *window, int timeoutMs = 20000);

} // namespace lexora::test
