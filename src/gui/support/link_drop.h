#pragma once

#include <functional>

class QObject;
class QWidget;

namespace lexora {

// Drops onto target link what they carry instead of moving it: a list of references (the tray,
// the search scope) takes tree nodes and leaves them where they are. accepts tells by the drag's
// source whether a drop is taken; dropped takes it.
void acceptLinkDrops(QWidget *target, std::function<bool(const QObject *source)> accepts,
                     std::function<void(const QObject *source)> dropped);

} // namespace lexora
