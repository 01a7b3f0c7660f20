#pragma once

#include "database/model.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lexora {

// The program's section of the server's description file "Updates.ini".
struct UpdateDescription {
    bool sectionFound = false;
    DateTime date = 0; // "Date", the release day at 00:00; today when missing or unreadable
    QString file;      // "File", the archive's name under "/Updates/"
    QStringList news;  // "News" split as a comma text; "keine Angaben gefunden" when missing
};

// Reads the section named programName of the description file's bytes (UTF-8, or Windows-1252
// when they are not UTF-8). today is the value a missing or unreadable date takes.
UpdateDescription readUpdateDescription(const QByteArray &iniBytes, const QString &programName,
                                        DateTime today);

// An update is available when the section exists, names its archive and is not older than the
// program: full date values are compared, so an update of the program's own day counts as older
// than a program file written later that day.
bool updateAvailable(const UpdateDescription &description, DateTime programDate);

// The lines "- " + entry of the news entries not from a day before the program's, in their
// order, each ended by a line break. An entry whose text before its first colon is no date is
// listed too: it tells something, and only a date can make it old.
QString changeList(const QStringList &news, DateTime programDate);

} // namespace lexora
