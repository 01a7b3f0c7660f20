#include "database/open_database.h"

#include "database/file_format.h"
#include "database/model.h"

#include <QFileInfo>

namespace lexora {

bool OpenDatabase(Database &db, const QString &fileName, UserPrompt &prompt, Progress &progress)
{
    db.ClearDatabase();
    // Unnamed from here on: if the file turns out damaged, the part read so far must not be
    // saved over it.
    db.CurrentFileName.clear();
    if (!LoadDatabase(db, fileName, lpAll, prompt, progress)) {
        db.Encrypted = false;
        db.Password.clear();
        return false;
    }
    db.CurrentFileName = QFileInfo(fileName).absoluteFilePath();
    return true;
}

} // namespace lexora
