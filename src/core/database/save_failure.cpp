#include "database/save_failure.h"

#include <QDir>
#include <QFileInfo>

namespace lexora {

QString saveOpenFailureMessage(const QString &fileName, const QString &systemError,
                               bool folderTakesNewFiles)
{
    const QString file = QDir::toNativeSeparators(fileName);
    if (folderTakesNewFiles)
        return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(file, systemError);
    return QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden, weil im Ordner \"%2\" "
                          "keine neuen Dateien angelegt werden dürfen. Lexora schreibt beim "
                          "Speichern zuerst eine neue Datei neben die alte und ersetzt die alte "
                          "erst, wenn die neue vollständig ist, damit bei einem Fehler nichts "
                          "verloren geht. Speichern Sie die Datenbank in einen Ordner, in dem Sie "
                          "Dateien anlegen dürfen.")
        .arg(file, QDir::toNativeSeparators(QFileInfo(fileName).absolutePath()));
}

bool folderTakesNewFiles(const QString &fileName)
{
    const QFileInfo folder(QFileInfo(fileName).absolutePath());
    return !folder.isDir() || folder.isWritable();
}

} // namespace lexora
