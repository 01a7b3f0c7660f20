#include "database/open_database.h"

#include "database/model.h"

#include <QFileInfo>

namespace lexora {

LoadResult OpenDatabase(Database &db, const QString &fileName, UserPrompt &prompt,
                        Progress &progress)
{
    // Cleared, also of its encryption, which a refused file then leaves as it is.
    db.ClearDatabase();
    // Unnamed from here on: if the file turns out damaged, the part read so far must not be
    // saved over it.
    db.CurrentFileName.clear();
    const LoadResult result = LoadDatabase(db, fileName, lpAll, prompt, progress);
    if (result == LoadResult::Read)
        db.CurrentFileName = QFileInfo(fileName).absoluteFilePath();
    return result;
}

} // namespace lexora
