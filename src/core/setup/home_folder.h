#pragma once

#include <QString>

namespace lexora {

// Lexora's home folder, which holds "Settings.ini", "Templates" and "Included Files"; the result
// is absolute and ends with '/'. In this order:
// - the environment variable LEXORA_HOME when it is set and not empty (tests, special setups);
// - executableFolder when it already holds "Settings.ini" or "Templates" (portable use);
// - $XDG_DATA_HOME/Lexora, by default ~/.local/share/Lexora.
// The folder is not created here.
QString homeFolder(const QString &executableFolder);

// TemplatesFolder: homeFolder + "Templates/". When that folder does not exist it is created (with
// the home folder) and the built-in default database is written into it as "Default.lxd"; an
// existing folder is left as it is, even without "Default.lxd". Throws Error when creating the
// folder or writing the file fails.
QString setUpTemplatesFolder(const QString &homeFolder);

} // namespace lexora
