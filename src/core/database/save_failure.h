#pragma once

#include <QString>

namespace lexora {

// The message when a database file cannot be opened for saving. A save writes the new file
// beside the old one and renames it over it at the end, so a folder that takes no new files
// refuses the save even when the file itself may be written: then the message names the folder
// and says why, instead of reading as if the file were protected.
QString saveOpenFailureMessage(const QString &fileName, const QString &systemError,
                               bool folderTakesNewFiles);

// Whether new files can be made in the folder of fileName, as far as its permissions tell.
bool folderTakesNewFiles(const QString &fileName);

} // namespace lexora
