#pragma once

#include <QIcon>

#include <functional>

class QPainter;

namespace lexora {

// A picture drawn by the program on a 16 x 16 grid, rendered at several sizes so that it stays
// sharp on screens with a higher pixel density.
QIcon drawnIcon(const std::function<void(QPainter &)> &draw);

} // namespace lexora
