#pragma once

#include <QLatin1String>

namespace lexora {

// The widget, given the object name by which help texts and tests find it.
template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace lexora
