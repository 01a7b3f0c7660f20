#pragma once

#include <QString>

namespace lexora {

// The private folder where the wizard keeps the description file, the archive, the unpacked
// files and the installation script: $XDG_CACHE_HOME/Lexora/Update/ (by default
// ~/.cache/Lexora/Update/), with a trailing '/'. It is created when missing and made 0700. No
// other account may be able to swap the script between its writing and its run, so the folder
// must be a real folder of this user and every folder above it must belong to this user or to
// root and be writable by no one else unless it is sticky (as /tmp is). Throws Error otherwise.
QString privateUpdateFolder();

// The same checks for a given folder (created when missing); for tests and special setups.
QString preparePrivateFolder(const QString &folder);

} // namespace lexora
