#pragma once

#include "database/strong_container.h"

#include <QByteArray>
#include <QList>

namespace lexora::fuzz {

// The password the fuzz target answers with; the encrypted seeds use it.
inline constexpr char kPassword[] = "pw";

// The cheapest key derivation, for strongly encrypted seeds and inputs.
inline constexpr KdfParams kCheapKdf{1, 8};

// Database files made by the writer, covering every part of the format: the built-in default
// database, a varied database plain, compatibly and strongly encrypted (in small chunks and in
// one), the older section layout, wide strings and integer dates.
QList<QByteArray> seedFiles();

} // namespace lexora::fuzz
