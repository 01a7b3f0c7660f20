#pragma once

#include "database/model.h"

#include <QString>

namespace lexora {

class UserPrompt;

// The folder name for the included files of an exported page: the file name cut at the first
// occurrence of its extension text, followed by "-Dateien" ("seite.htm" gives "seite-Dateien",
// "a.htm.htm" gives "a-Dateien").
QString exportFilesFolderName(const QString &fileName);

// Saves the page shown in a browser as fileName. innerHtml is the text of the page's
// documentElement.innerHTML; a null string means the browser has no document. Every reference
// into the included-files folder is rewritten to the relative folder of exportFilesFolderName,
// and the included files it names are copied there once (an existing copy is kept). On failure
// the user is told through prompt and false is returned.
bool ExportBrowserContent(const Database &db, const QString &fileName, const QString &innerHtml,
                          UserPrompt &prompt);

} // namespace lexora
