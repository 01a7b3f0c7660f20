#pragma once

#include <QApplication>

#include <memory>

namespace lexora::bench {

// The application object of a benchmark of the desktop program, started as the program starts
// its own: German texts, pages rendered in software. Run as root, Qt WebEngine refuses its
// sandbox, so it is told to do without before anything of it starts.
std::unique_ptr<QApplication> startGuiApplication(int &argc, char **argv);

} // namespace lexora::bench
