#pragma once

#include <QByteArray>
#include <QString>

namespace lexora {

// The paths the installation script is filled with; folders end with '/'.
struct BatchPaths {
    QString programFolder;
    QString tempFolder;
    QString programFile; // for the restart line
};

// Fills the script template "Update.bat" from the update archive. Its lines are taken in groups
// of four: the first stays, the second and third get the program folder for "%s", the fourth the
// temporary folder and then the program folder. A line that begins a group with a blank ends the
// groups; it and every line after it get the temporary folder. "%%" is a percent sign. Then come
// the restart line (the program started in the background, when restart is set) and the line
// that deletes the script. Lines end with a line feed (a carriage return before it is dropped,
// since /bin/sh would take it as part of the command); paths are UTF-8.
// Throws Error for a template the rules do not cover (a group cut short by the end, an empty
// group line, more "%s" than paths, another "%" directive) and for a path that cannot stand
// safely between double quotes in a shell script.
QByteArray fillBatchTemplate(const QByteArray &templateText, const BatchPaths &paths, bool restart);

} // namespace lexora
