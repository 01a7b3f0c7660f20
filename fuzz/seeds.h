#pragma once

#include <QByteArray>
#include <QList>

namespace lexora::fuzz {

// The password the fuzz target answers with; the encrypted seeds use it.
inline constexpr char kPassword[] = "pw";

// Database files made by the writer, covering every part of the format: the built-in default
// database, a varied database plain and encrypted, the older section layout, wide strings and
// integer dates.
QList<QByteArray> seedFiles();

} // namespace lexora::fuzz
